// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "run/firing_status.h"

namespace corvanel {

// What the program tells its kiln guard at every tick of a run: a small file in the
// program folder, written whole and renamed into place, so the guard never reads half of
// one. A beat that has moved on is the sign of life; the rest is what the guard needs to
// stop the firing as the program would and to write it into the firing record.
struct Guard_Heartbeat {
    long long Beat = 0;  // one more at every tick
    long Program_Pid = 0;
    std::string Record_Path;  // the firing record; "" when the run keeps no log
    // The controller's device as the program opened it, by its stable name (the
    // /dev/serial/by-id one when there is one); "" when the program has no port open.
    std::string Device;
    std::string Profile_Name, Sensor_Type, Temp_Scale = "F", Time_Unit = "M";
    double Elapsed = 0;
    int Segment = 0;
    double Measured = 0;  // the last reading, degrees of the profile's scale

    // A platinum sensor's controller counts tenths of a degree.
    double Controller_Units_Per_Degree() const { return Sensor_Type.starts_with("Pt") ? 10 : 1; }
};

// The firing's part of a beat, from the status the program publishes; and back, as the
// guard publishes it once it has acted: the run ended and the kiln watched, read now.
Guard_Heartbeat Heartbeat_Of(const Firing_Status& status);
Firing_Status Watched_Status_Of(const Guard_Heartbeat& beat, const Date_Time& now, double set_value,
                                double measured);

inline constexpr const char* Heartbeat_File_Name = "corvanel.heartbeat";
// The guard's own lock: held while it runs, so the program finds it and takes the kiln back.
// It says the guard's process id, and "acted" after it once it has stopped a firing.
inline constexpr const char* Guard_Lock_File_Name = "corvanel-guard.lock";
inline constexpr const char* Guard_Acted_Word = "acted";

// One "key=value" line each; a backslash, a line end or a carriage return in a value is
// written escaped, so that a profile's name cannot add lines of its own.
std::string Heartbeat_Text(const Guard_Heartbeat& beat);
// Nothing when the text is not a whole heartbeat.
std::optional<Guard_Heartbeat> Parse_Heartbeat(std::string_view text);

// Written whole under a name of its own, on the disk, and renamed over the last one (never
// through a link); false when the disk refuses it (full), the last one then stays.
bool Write_Heartbeat(const std::filesystem::path& program_folder, const Guard_Heartbeat& beat);
// Nothing, as for a torn one, when the file is longer than any heartbeat.
std::optional<Guard_Heartbeat> Read_Heartbeat(const std::filesystem::path& program_folder);
inline constexpr std::size_t Longest_Heartbeat = 64 * 1024;

}  // namespace corvanel
