// SPDX-License-Identifier: GPL-3.0-or-later
// The kiln run's log record of each tick and its e-mail alerts.

#include <filesystem>

#include "run/kiln_run.h"
#include "run/log_file.h"

namespace corvanel {

void Kiln_Run::Append_Log_Record() {
    if (Log_File_.empty()) return;
    // A record the disk refuses (full) waits in memory and goes out, in order, when it
    // takes records again: the tick goes on, and the operator hears of it once.
    Held_Files_.Write(Services_.Paths.Logfile(Log_File_),
                      Log_Record(View_.Elapsed_Text(), Engine_.Set_Value(), Measured_Temp_),
                      [](const std::string& path, const std::string& record) {
                          std::error_code ignored;
                          std::filesystem::create_directories(
                              std::filesystem::path(path).parent_path(), ignored);
                          return corvanel::Append_Log_Record(path, record);
                      });
}

void Kiln_Run::Send_Email_Alert() {
    Alerts_.Send(View_.Alert_Addresses(), Engine_.Set_Value(), Measured_Temp_);
}

void Kiln_Run::Message_Timer() {
    Alerts_.Timer_Tick(View_.Alert_Addresses(), Engine_.Set_Value(), Measured_Temp_);
}

void Kiln_Run::Arm_Email_Alert() {
    if (!View_.Alerts_On()) return;
    const auto segment = static_cast<std::size_t>(Engine_.Current_Segment() - 1);
    Alerts_.Arm(Engine_.Set_Value(), Measured_Temp_,
                Profile_.Tables().Seg_Error_Limit[segment % 256]);
}

}  // namespace corvanel
