// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace corvanel {

// The safety layer's thresholds and switches, kept in Setup/Safety.txt as one
// "name=value" line each. Temperatures are degrees of the profile's scale.
struct Safety_Settings {
    bool Controller_Lost_Alarm = true;
    double Controller_Lost_Ticks = 5;  // consecutive ticks whose write or read failed
    bool Failure_To_Heat_Alarm = true;
    double Heat_Gap_F = 50, Heat_Gap_C = 28;  // set value this far above the measured
    double Heat_Rise = 10;                    // ... and the kiln rose less than this
    double Heat_Minutes = 20;                 // ... over this long at full output
    bool Over_Temperature_Alarm = true;
    double Over_Temperature_Margin = 50;  // above the profile's top, or risen unpowered
    double Stuck_Relay_Minutes = 20;      // the stretch of 0% output that rise is seen in
    bool Thermocouple_Break_Alarm = true;
    double Thermocouple_Break_Ticks = 2;
    bool Soft_Off_On_Alarm = true;  // over-temperature and thermocouple break end the run
    bool Scale_Check = true;        // RUN PROFILE refuses a profile in the other scale
    bool Carried_Over_Notice = true;
    bool Start_At_Kiln_Temperature = false;

    bool operator==(const Safety_Settings&) const = default;
};

// One line of the file: its name, what the dialog calls it, and its bounds. A row is
// either a switch (0 or 1) or a number; a count takes whole numbers only.
struct Safety_Setting_Row {
    const char* Name;
    const char* Caption;
    bool Safety_Settings::*Switch = nullptr;
    double Safety_Settings::*Number = nullptr;
    double Low = 0, High = 0;
    bool Whole = false;
};
const std::vector<Safety_Setting_Row>& Safety_Setting_Rows();

std::string Safety_Value_Text(const Safety_Settings& settings, const Safety_Setting_Row& row);

// Takes the value typed for a row. Returns "" when it is taken; otherwise the message
// saying why not, and the setting keeps the value it had.
std::string Set_Safety_Value(Safety_Settings& settings, const Safety_Setting_Row& row,
                             std::string_view text);

struct Safety_Settings_Read {
    Safety_Settings Settings;
    std::vector<std::string> Messages;  // one per line not taken or value missing
};

// Reads the file; every line not taken and every missing value keeps the default and
// is named in a message. A missing file gives the defaults and is written with them,
// so the operator finds every setting there to edit.
Safety_Settings_Read Read_Safety_Settings(const std::string& path);

// Writes every setting, replacing the file atomically; false when it could not.
bool Write_Safety_Settings(const std::string& path, const Safety_Settings& settings);

}  // namespace corvanel
