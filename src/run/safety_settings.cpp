// SPDX-License-Identifier: GPL-3.0-or-later
#include "run/safety_settings.h"

#include "common/numeric.h"
#include "common/text.h"
#include "language/show_problem.h"
#include "language/translate.h"

namespace corvanel {

namespace {

using S = Safety_Settings;

constexpr const char* File = "Safety.txt";

// A setting of the file with the member of Safety_Settings it fills.
struct Safety_Line {
    Setting Of;
    bool S::*Switch = nullptr;
    double S::*Number = nullptr;
};

Safety_Line Switch(const char* key, const char* label, bool S::*member) {
    Setting setting;
    setting.File = File;
    setting.Key = key;
    setting.Type = Setting_Type::On_Off;
    setting.Default = S{}.*member ? "1" : "0";
    setting.Label = label;
    setting.On_Word = "1", setting.Off_Word = "0";
    return {setting, member, nullptr};
}

Safety_Line Number(const char* key, const char* label, double S::*member, double low, double high,
                   bool whole = false) {
    Setting setting;
    setting.File = File;
    setting.Key = key;
    setting.Type = whole ? Setting_Type::Whole : Setting_Type::Decimal;
    setting.Default = Format_Number(S{}.*member);
    setting.Label = label;
    setting.Low = low, setting.High = high;
    return {setting, nullptr, member};
}

// The first setting a file written by an older version may lack.
constexpr std::string_view First_Added_Key = "Alarm_Confirm_Seconds";

const std::vector<Safety_Line>& Lines() {
    static const std::vector<Safety_Line> lines = {
        Switch("Controller_Lost_Alarm", "Controller lost alarm", &S::Controller_Lost_Alarm),
        Number("Controller_Lost_Ticks",
               "Unanswered readings in a row before the controller counts as lost",
               &S::Controller_Lost_Ticks, 1, 1000, true),
        Switch("Failure_To_Heat_Alarm", "Failure to heat alarm", &S::Failure_To_Heat_Alarm),
        Number("Heat_Gap_F", "Set value above measured (F)", &S::Heat_Gap_F, 1, 1000),
        Number("Heat_Gap_C", "Set value above measured (C)", &S::Heat_Gap_C, 1, 600),
        Number("Heat_Rise", "Least rise at full power", &S::Heat_Rise, 0.1, 1000),
        Number("Heat_Minutes", "Minutes at full power", &S::Heat_Minutes, 1, 600),
        Switch("Over_Temperature_Alarm", "Over-temperature alarm", &S::Over_Temperature_Alarm),
        Number("Over_Temperature_Margin", "Degrees above the profile's top",
               &S::Over_Temperature_Margin, 1, 1000),
        Number("Stuck_Relay_Minutes", "Minutes at 0% output", &S::Stuck_Relay_Minutes, 1, 600),
        Switch("Thermocouple_Break_Alarm", "Thermocouple break alarm",
               &S::Thermocouple_Break_Alarm),
        Number("Thermocouple_Break_Ticks",
               "Readings in a row with an input error before a thermocouple break",
               &S::Thermocouple_Break_Ticks, 1, 100, true),
        Switch("Soft_Off_On_Alarm", "On over-temperature or thermocouple break: soft off",
               &S::Soft_Off_On_Alarm),
        Switch("Scale_Check", "Refuse a profile in the other scale", &S::Scale_Check),
        Switch("Carried_Over_Notice", "Tell when a firing continues at an elapsed time",
               &S::Carried_Over_Notice),
        Switch("Start_At_Kiln_Temperature", "Start at kiln temperature",
               &S::Start_At_Kiln_Temperature),
        // Settings added later go at the end, so an older file keeps its lines as they are.
        Number("Alarm_Confirm_Seconds",
               "Seconds over-temperature or a thermocouple break must last",
               &S::Alarm_Confirm_Seconds, 0, 600, true),
        Number("Cooling_End_F", "Watch the kiln after the run until below (F)", &S::Cooling_End_F,
               32, 1000),
        Number("Cooling_End_C", "Watch the kiln after the run until below (C)", &S::Cooling_End_C,
               0, 540),
        Number("Off_Heating_Rise_F", "Rise with the output off that is heating (F)",
               &S::Off_Heating_Rise_F, 1, 1000),
        Number("Off_Heating_Rise_C", "Rise with the output off that is heating (C)",
               &S::Off_Heating_Rise_C, 1, 540),
        Switch("Kiln_Guard", "Kiln guard: soft off when the program is gone", &S::Kiln_Guard),
        Number("Guard_Minutes", "Minutes without a sign of life before the guard acts",
               &S::Guard_Minutes, 2, 120, true),
        Switch("Continue_After_Restart", "Continue an interrupted firing after a restart",
               &S::Continue_After_Restart),
        Number("Continue_Gap_Minutes", "Longest interruption a firing continues after (minutes)",
               &S::Continue_Gap_Minutes, 1, 600, true),
        Switch("Start_At_Login", "Start Corvanel when I log in", &S::Start_At_Login),
        Number("Off_Heating_Minutes", "Minutes that rise with the output off is seen in",
               &S::Off_Heating_Minutes, 1, 600),
        Number("Hot_Off_Margin_F", "Degrees above the set value at 0% output that are hot (F)",
               &S::Hot_Off_Margin_F, 10, 2000),
        Number("Hot_Off_Margin_C", "Degrees above the set value at 0% output that are hot (C)",
               &S::Hot_Off_Margin_C, 5, 1100),
        Number("Hot_Off_Minutes", "Minutes a kiln that hot may go without cooling",
               &S::Hot_Off_Minutes, 1, 120),
        Switch("Hot_Start_Question",
               "Ask before RUN PROFILE on a kiln hotter than the profile's start",
               &S::Hot_Start_Question),
        Number("Hot_Start_Margin_F", "Degrees above the profile's start that ask first (F)",
               &S::Hot_Start_Margin_F, 10, 3000),
        Number("Hot_Start_Margin_C", "Degrees above the profile's start that ask first (C)",
               &S::Hot_Start_Margin_C, 5, 1700),
    };
    return lines;
}

// Whether the setting came after the file's first version: it is declared at or after
// the first one added.
bool Added_Later(const Setting& setting) {
    bool later = false;
    for (const Safety_Line& line : Lines()) {
        later = later || line.Of.Key == First_Added_Key;
        if (&line.Of == &setting) return later;
    }
    return false;
}

}  // namespace

const Setting_List& Safety_Setting_List() {
    static const Setting_List list = [] {
        Setting_List settings;
        for (const Safety_Line& line : Lines()) settings.push_back(&line.Of);
        return settings;
    }();
    return list;
}

Safety_Settings Safety_Settings_Of(Settings_Store& store) {
    Safety_Settings settings;
    for (const Safety_Line& line : Lines()) {
        if (line.Switch) {
            settings.*line.Switch = store.On(line.Of);
        } else if (std::optional<double> number = store.Number(line.Of)) {
            settings.*line.Number = *number;
        }
    }
    return settings;
}

Safety_Settings_Read Read_Safety_Settings(Settings_Store& store) {
    Safety_Settings_Read read;
    store.Declare(Safety_Setting_List());
    if (!store.File_Exists(File)) {
        read.Problems.push_back(
            {Operator_Text::Phrase(
                 "The safety settings had not been saved yet: the defaults are on. SetUp -> Safety "
                 "Settings changes them."),
             {}});
        store.Read_File(File);
        store.Write_File(File);
        read.Settings = Safety_Settings_Of(store);
        return read;
    }
    // Each line not taken, not known or missing is said in the settings' shared words,
    // except a setting the file's version did not have yet: that one is added.
    bool add_lines = false, other_problems = false;
    for (Settings_Store::Line_Problem& problem : store.Read_File(File)) {
        const bool added_later = problem.What == Settings_Store::Line_Problem::Kind::Missing &&
                                 problem.Of && Added_Later(*problem.Of);
        (added_later ? add_lines : other_problems) = true;
        if (!added_later) read.Problems.push_back(std::move(problem.Said));
    }
    // Rewritten only when every line was taken, so nothing the operator wrote is lost.
    if (add_lines && !other_problems) store.Write_File(File);
    read.Settings = Safety_Settings_Of(store);
    return read;
}

Settings_Form Safety_Settings_Form(Settings_Store& store) {
    Settings_Form form(store, Safety_Setting_List(), Form_Taking::Good_Ones);
    form.Load_Reads_Files = false;  // the run window said what the file held at its load
    // Every entry not taken is said, each in the settings' shared words.
    form.Say_Not_Taken = [](const std::vector<Settings_Form::Not_Taken>& entries) {
        std::string messages;
        for (const Settings_Form::Not_Taken& entry : entries)
            Append_Message(messages, Problem_Text(entry.Said));
        return Problem{Operator_Text::Value(messages.substr(0, messages.size() - 2)), {}};
    };
    return form;
}

}  // namespace corvanel
