// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/no_log_warning.h"

#include "language/setting_complaint.h"
#include "language/translate.h"
#include "setup/program_settings.h"
#include "setup/settings_store.h"

namespace corvanel {

std::vector<std::string> No_Log_File_Messages(const Program_Paths& paths,
                                              const std::string& log_file) {
    if (!log_file.empty()) return {};
    std::vector<std::string> lines;
    // Read where a firing starts, observed by no one: a store of its own over the folder.
    Settings_Store settings(paths);
    const Setting& warn = Program_Setting::WarnWithoutLogFile;
    Settings_Store::Reading reading = settings.Read(warn);
    if (reading.Problem) lines.push_back(Setting_Complaint(paths, warn, reading.Value));
    if (reading.Value == warn.On_Word)
        lines.push_back(TranslateText("No log file: this firing is not being logged"));
    return lines;
}

}  // namespace corvanel
