// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <vector>

#include "run/safety_settings.h"

namespace corvanel {

// The "Safety Settings" dialog without its widgets: one text per setting row (a
// switch reads "1" or "0") and the dialog's message area.
class Safety_Settings_Form {
  public:
    // The texts of the settings in force.
    void Form_Load(const Safety_Settings& in_force);

    // OK: every valid text is taken; a bad one keeps the value in force, shows it again
    // and says why. True when every text was taken, so the dialog may close.
    bool OK_Click();

    std::vector<std::string> Texts;  // in the order of Safety_Setting_Rows()
    std::string Messages;
    Safety_Settings Settings;  // the values after the last OK
};

}  // namespace corvanel
