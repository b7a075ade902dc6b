// SPDX-License-Identifier: GPL-3.0-or-later
#include "language/setting_complaint.h"

#include "language/translate.h"

namespace corvanel {

std::string Setting_Complaint(const std::string& file_name, const On_Off_Setting& setting) {
    return "Setup/" + file_name + " = \"" + setting.Value +
           "\": " + TranslateText("not checked or unchecked, the default is used") + " (" +
           (setting.On ? "checked" : "unchecked") + ")";
}

}  // namespace corvanel
