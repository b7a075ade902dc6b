// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

#include "remote/remote_settings.h"

namespace corvanel {

// The "Remote Monitoring" dialog's rules: what it shows and what OK stores.
class Remote_Monitoring_Model {
  public:
    // `host` is this computer's address on the studio network, for the page's address.
    Remote_Monitoring_Model(Program_Paths paths, std::string host);

    // Reads the settings into the controls.
    void Form_Load();
    void Listen_Changed(bool on_network);
    void New_Token_Click();
    // Checks and stores; false (with Message saying why) when a value is bad.
    bool OK_Click();

    // The address to type into a phone for what the controls show now.
    std::string Address() const;

    bool Enabled = false;
    std::string Port_Text;
    bool On_Network = false;
    std::string Token;
    std::string Message;

  private:
    Program_Paths Paths_;
    std::string Host_;
};

}  // namespace corvanel
