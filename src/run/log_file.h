// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "common/clock.h"

namespace corvanel {

// One log record: 21 bytes, the elapsed time (9), the set value (5) and the measured
// temperature (5), each left-aligned, blank-padded and cut to its field, then CR LF.
inline constexpr std::size_t Log_Record_Length = 21;
std::string Log_Record(const std::string& elapsed_text, std::int16_t desired_temp,
                       std::int16_t measured_temp);

// Writes the record at the last whole-record boundary of the file (a torn record left
// by a power cut is overwritten; nothing before it ever is), creating a missing file,
// and flushes it to the disk. False when the file cannot be written.
bool Append_Log_Record(const std::string& path, const std::string& record);

// The elapsed time of the file's last whole record; 0 when there is none or it is not a
// number. A missing file is created empty, as the program expects to find it.
double Last_Logged_Elapsed_Time(const std::string& path);

// One record as read back: the elapsed time and the two temperatures in controller units.
struct Log_Entry {
    double Elapsed = 0;
    double Set_Value = 0, Measured = 0;
};

// Every whole record of the file in order, skipping any whose fields are not numbers (a
// torn or foreign line); nothing for a missing file, which is left as it is.
std::vector<Log_Entry> Read_Log_Records(const std::string& path);

// The name a reset gives the log: the profile's name up to its last ".", "_", the date
// and time as mm_dd_yyyy_hh_mm, ".txt".
std::string Reset_Log_Name(const std::string& profile_name, const Date_Time& now);

}  // namespace corvanel
