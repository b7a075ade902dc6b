// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

#include "ui/settings_dialog.h"

class QLabel;
class QLineEdit;

namespace corvanel {

// SetUp -> "Remote Monitoring": the dialog laid out from the status page's settings, the
// listening as two radio buttons, with a button that makes a new access token and the
// address to type into a phone under them, and on the network as a QR code to scan. The network
// needs a token: choosing it, or OK on it, makes one when there is none.
class Remote_Monitoring_Window : public Settings_Dialog {
  public:
    // `form` over Remote_Setting_List(); `host` is this computer's address on the studio
    // network, for the page's address.
    Remote_Monitoring_Window(Settings_Form& form, std::string host, QWidget* parent = nullptr);

    // Reads the settings and shows the dialog modally; QDialog::Accepted when OK saved them.
    int Open();

    QLineEdit* Address;
    QLabel* Who_Can_Open;
    QLabel* Address_Code;  // the address as a QR code, on the network only

  private:
    Settings_Field& Field(const Setting& setting);
    void Token_For_The_Network();
    void Show_Address();

    Settings_Form& Form_;
    std::string Host_;
    std::string Listen_Shown_;
};

}  // namespace corvanel
