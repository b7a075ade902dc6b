// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

#include "remote/mqtt_settings.h"

namespace corvanel {

// The "MQTT" dialog's rules: what it shows and what OK stores.
class Mqtt_Setup_Model {
  public:
    explicit Mqtt_Setup_Model(Program_Paths paths);

    // Reads the settings into the controls; `default_prefix` is what an empty topic
    // prefix stands for.
    void Form_Load(const std::string& default_prefix);
    // Checks and stores; false (with Message saying why) when a value is bad.
    bool OK_Click();

    bool Enabled = false;
    std::string Host, Port_Text, User_Name, Password;
    bool Tls = false;
    std::string Ca_File, Topic_Prefix, Default_Prefix;
    bool Discovery = true;
    std::string Message;

  private:
    Program_Paths Paths_;
};

}  // namespace corvanel
