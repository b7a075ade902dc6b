// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/no_log_warning.h"

#include "language/setting_complaint.h"
#include "language/translate.h"
#include "setup/on_off_setting.h"

namespace corvanel {

std::vector<std::string> No_Log_File_Messages(const Program_Paths& paths,
                                              const std::string& log_file) {
    if (!log_file.empty()) return {};
    std::vector<std::string> lines;
    On_Off_Setting warn = Read_On_Off_Setting(paths.Setup_File(No_Log_Warning_File), true);
    if (!warn.Understood) lines.push_back(Setting_Complaint(No_Log_Warning_File, warn));
    if (warn.On) lines.push_back(TranslateText("No log file: this firing is not being logged"));
    return lines;
}

}  // namespace corvanel
