// SPDX-License-Identifier: GPL-3.0-or-later
#include "run/no_log_warning.h"

#include "language/setting_complaint.h"
#include "language/translate.h"
#include "setup/program_settings.h"

namespace corvanel {

std::vector<std::string> No_Log_File_Messages(Settings_Store& settings,
                                              const std::string& log_file) {
    if (!log_file.empty()) return {};
    std::vector<std::string> lines;
    Check_Mark_Reading warn = Read_Check_Mark(settings, Program_Setting::WarnWithoutLogFile);
    if (!warn.Complaint.empty()) lines.push_back(warn.Complaint);
    if (warn.On) lines.push_back(TranslateText("No log file: this firing is not being logged"));
    return lines;
}

}  // namespace corvanel
