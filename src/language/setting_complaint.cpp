// SPDX-License-Identifier: GPL-3.0-or-later
#include "language/setting_complaint.h"

#include "language/translate.h"
#include "setup/program_settings.h"

namespace corvanel {

std::string Setting_Complaint(const Program_Paths& paths, const Setting& setting,
                              const std::string& used) {
    return "Setup/" + setting.File + " = \"" + Setting_Line_Found(paths, setting) +
           "\": " + TranslateText("not checked or unchecked, the default is used") + " (" + used +
           ")";
}

}  // namespace corvanel
