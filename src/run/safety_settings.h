// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <vector>

#include "common/problem.h"
#include "setup/setting.h"
#include "setup/settings_form.h"
#include "setup/settings_store.h"

namespace corvanel {

// The safety layer's thresholds and switches in force. Temperatures are degrees of the
// profile's scale.
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
    // Over-temperature and thermocouple break are raised only once their condition has
    // lasted this long, and never on fewer than two readings in a row.
    double Alarm_Confirm_Seconds = 18;
    // After a run the kiln is watched until it is below this (a temperature, so one for
    // each scale).
    double Cooling_End_F = 150, Cooling_End_C = 65;
    // With the output off (after a soft off, or at 0%), a rise of more than this above the
    // lowest reading since is the kiln heating by itself: a stuck relay.
    double Off_Heating_Rise_F = 30, Off_Heating_Rise_C = 17;
    // The kiln guard, a process of its own, takes over a run whose program has given no
    // sign of life for this long: it soft-offs the controller and tells the operator.
    bool Kiln_Guard = true;
    double Guard_Minutes = 10;
    // After a power cut or a crash, a firing interrupted for less than this goes on by
    // itself after a count-down, when the kiln is still hot enough (see safe_start.h).
    bool Continue_After_Restart = false;
    double Continue_Gap_Minutes = 30;
    // The desktop session starts the program at login (the entry is the program's own).
    bool Start_At_Login = false;
    // The rise with the output off counts only within this many minutes: a room warming
    // through a summer day is no stuck relay.
    double Off_Heating_Minutes = 20;
    // At 0% output, this far above the set value without cooling for this long: the kiln
    // is held hot by something the controller does not switch.
    double Hot_Off_Margin_F = 100, Hot_Off_Margin_C = 55;
    double Hot_Off_Minutes = 5;
    // RUN PROFILE on a kiln this far above the profile's start asks before it starts.
    bool Hot_Start_Question = true;
    double Hot_Start_Margin_F = 100, Hot_Start_Margin_C = 55;

    double Cooling_End(const std::string& scale) const {
        return scale == "C" ? Cooling_End_C : Cooling_End_F;
    }
    double Off_Heating_Rise(const std::string& scale) const {
        return scale == "C" ? Off_Heating_Rise_C : Off_Heating_Rise_F;
    }
    double Hot_Off_Margin(const std::string& scale) const {
        return scale == "C" ? Hot_Off_Margin_C : Hot_Off_Margin_F;
    }
    double Hot_Start_Margin(const std::string& scale) const {
        return scale == "C" ? Hot_Start_Margin_C : Hot_Start_Margin_F;
    }

    bool operator==(const Safety_Settings&) const = default;
};

// Setup/Safety.txt holds one Key=value line per setting, a switch as 1 or 0; these are
// its settings, in the order of the file and of the "Safety Settings" dialog.
const Setting_List& Safety_Setting_List();

// The values the store holds.
Safety_Settings Safety_Settings_Of(Settings_Store& store);

struct Safety_Settings_Read {
    Safety_Settings Settings;
    std::vector<Problem> Problems;  // one per line not taken, not known or missing
};

// Reads the file; every line not taken and every missing value keeps the value it had
// (the default at first) and is named in a message. A missing file gives the defaults
// and is written with them, so the operator finds every setting there to edit. A file
// from before a setting existed takes its default quietly, and when nothing else is
// wrong with it, the file is written again with that setting's line added.
Safety_Settings_Read Read_Safety_Settings(Settings_Store& store);

// The dialog's model: OK takes the good entries; a bad one shows the value in force
// again, and the message names each entry not taken in the safety layer's words.
Settings_Form Safety_Settings_Form(Settings_Store& store);

}  // namespace corvanel
