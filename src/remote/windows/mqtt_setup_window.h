// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

#include "ui/settings_dialog.h"

namespace corvanel {

// SetUp -> "MQTT": the dialog laid out from the MQTT settings. The CA file is greyed
// while TLS is off and must exist while it is on; a topic prefix equal to the kiln's
// default is stored empty, so it follows a new kiln name.
class Mqtt_Setup_Window : public Settings_Dialog {
  public:
    // `form` over Mqtt_Setting_List().
    explicit Mqtt_Setup_Window(Settings_Form& form, QWidget* parent = nullptr);

    // Reads the settings and shows the dialog modally, the empty topic prefix showing
    // `default_prefix`; QDialog::Accepted when OK saved them.
    int Open(const std::string& default_prefix);

  private:
    Settings_Form& Form_;
    std::string Default_Prefix_;
};

}  // namespace corvanel
