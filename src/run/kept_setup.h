// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "common/clock.h"
#include "run/firing_record.h"
#include "setup/settings_store.h"

namespace corvanel {

// What the run window keeps in the Setup folder for the next start: the recall check
// mark, the profile and log names, the notification list and its check mark, the port.
struct Kept_Setup {
    bool Recall = false;
    std::string Profile_Name, Log_Name, Email_List;
    bool Email_On = false;
    int Port = 1;
};

// Saves it; a value the store refuses, or a name left empty, leaves its file as it was.
void Save_Kept_Setup(Settings_Store& settings, const Kept_Setup& kept);

// What a start finds, as the run window has always read it: a missing file, or one whose
// value the setting may not have, gives nothing, and nothing is said about it; only a
// file saying exactly "checked" turns a check mark on.
struct Recalled_Setup {
    bool Recall = false, Email_On = false;
    std::string Email_List, Device_Name, Profile_Name, Log_Name;
    std::optional<std::string> Port;  // kept as it was written
};
Recalled_Setup Read_Kept_Setup(Settings_Store& settings);
// The kept port number read the same way, for a reader without the run window (the guard).
std::optional<std::int16_t> Kept_Comm_Port(Settings_Store& settings);

// A firing its record shows cut off (a crash, a power cut, the program killed): after its
// last start or resume came no suspension, soft off or end. What a start with recall
// wrote to the record since does not count.
struct Interrupted_Firing {
    std::string Profile_Name, Temp_Scale, Time_Unit;
    Date_Time Stopped;  // the clock of the run's last line
    int Offset_Minutes = 0;
    double Elapsed = 0, Measured = 0;  // of its last tick (or its start), in the record's units
    bool Guard_Stopped = false;        // the kiln guard soft-offed it while the program was gone

    // Seconds from the stop to `now`, a local time at the offset `now_offset_minutes`.
    long long Seconds_Stopped(const Date_Time& now, int now_offset_minutes) const;
};
std::optional<Interrupted_Firing> Interrupted_Firing_In(const std::string& record_path);

// The detail of the alarm line of a firing the program ended because the computer was
// shutting down or the session ending; the soft off follows it.
inline constexpr const char* Shutdown_Alarm = "The computer was shutting down";
// The line of that alarm when it ended the record's last firing and the program has been
// started with recall only once since (that start is the one to tell).
std::optional<Firing_Record_Line> Shutdown_Firing_In(const std::string& record_path);

}  // namespace corvanel
