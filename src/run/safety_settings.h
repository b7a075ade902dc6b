// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <functional>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "common/problem.h"
#include "setup/setting.h"
#include "setup/setting_binding.h"
#include "setup/settings_form.h"
#include "setup/settings_store.h"

namespace corvanel {

// The alarms' own settings, by key: a number, a switch 1 or 0 (see alarm_rule.h). Every
// key of every rule in the list, at its default.
using Alarm_Setting_Values = std::map<std::string, double, std::less<>>;
Alarm_Setting_Values Alarm_Setting_Defaults();

// The safety layer's thresholds and switches in force. Temperatures are degrees of the
// profile's scale.
struct Safety_Settings {
    bool Soft_Off_On_Alarm = true;  // alarms that end the run do so with a soft off
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
    // lowest reading since is the kiln heating by itself: a stuck relay. Two alarms use it.
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
    // RUN PROFILE on a kiln this far above the profile's start asks before it starts.
    bool Hot_Start_Question = true;
    double Hot_Start_Margin_F = 100, Hot_Start_Margin_C = 55;
    // Each alarm's own switch and thresholds, read by its rule.
    Alarm_Setting_Values Alarm_Values = Alarm_Setting_Defaults();

    double Cooling_End(const std::string& scale) const {
        return scale == "C" ? Cooling_End_C : Cooling_End_F;
    }
    double Off_Heating_Rise(const std::string& scale) const {
        return scale == "C" ? Off_Heating_Rise_C : Off_Heating_Rise_F;
    }
    double Hot_Start_Margin(const std::string& scale) const {
        return scale == "C" ? Hot_Start_Margin_C : Hot_Start_Margin_F;
    }
    // The value of an alarm's setting; every rule's keys are there from the start.
    double Alarm_Value(std::string_view key) const;

    bool operator==(const Safety_Settings&) const = default;
};

// A line of Setup/Safety.txt, bound to its member (see setting_binding.h): a switch as 1
// or 0, a number from `low` to `high`.
Setting Safety_Switch(const char* key, const char* label);
Setting Safety_Number(const char* key, const char* label, double low, double high,
                      bool whole = false);

// An alarm rule's values as the settings in force hold them.
template <class T>
T Alarm_Values_Of(const Setting_Bindings<T>& lines, const Safety_Settings& settings) {
    T values;
    for (const auto& line : lines.Bindings())
        Setting_Bindings<T>::Take_Number(line.To, values, settings.Alarm_Value(line.Of->Key));
    return values;
}

// Setup/Safety.txt holds one Key=value line per setting, a switch as 1 or 0; these are
// its settings, the layer's own and each alarm rule's where the rule puts them, in the
// order of the file and of the "Safety Settings" dialog.
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
