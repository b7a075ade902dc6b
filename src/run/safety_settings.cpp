// SPDX-License-Identifier: GPL-3.0-or-later
#include "run/safety_settings.h"

#include <algorithm>
#include <stdexcept>

#include "common/numeric.h"
#include "common/text.h"
#include "language/show_problem.h"
#include "language/translate.h"
#include "run/alarm_rule.h"

namespace corvanel {

namespace {

using S = Safety_Settings;

constexpr const char* File = "Safety.txt";

// The first setting a file written by an older version may lack.
constexpr std::string_view First_Added_Key = "Alarm_Confirm_Seconds";

// The layer's own lines; the alarm rules put theirs among them.
const Setting_Bindings<S>& Own_Lines() {
    static const Setting_Bindings<S> lines = {
        {Safety_Switch("Soft_Off_On_Alarm", "On over-temperature or thermocouple break: soft off"),
         &S::Soft_Off_On_Alarm},
        {Safety_Switch("Scale_Check", "Refuse a profile in the other scale"), &S::Scale_Check},
        {Safety_Switch("Carried_Over_Notice", "Tell when a firing continues at an elapsed time"),
         &S::Carried_Over_Notice},
        {Safety_Switch("Start_At_Kiln_Temperature", "Start at kiln temperature"),
         &S::Start_At_Kiln_Temperature},
        // Settings added later go at the end, so an older file keeps its lines as they are.
        {Safety_Number("Alarm_Confirm_Seconds",
                       "Seconds over-temperature or a thermocouple break must last", 0, 600, true),
         &S::Alarm_Confirm_Seconds},
        {Safety_Number("Cooling_End_F", "Watch the kiln after the run until below (F)", 32, 1000),
         &S::Cooling_End_F},
        {Safety_Number("Cooling_End_C", "Watch the kiln after the run until below (C)", 0, 540),
         &S::Cooling_End_C},
        {Safety_Number("Off_Heating_Rise_F", "Rise with the output off that is heating (F)", 1,
                       1000),
         &S::Off_Heating_Rise_F},
        {Safety_Number("Off_Heating_Rise_C", "Rise with the output off that is heating (C)", 1,
                       540),
         &S::Off_Heating_Rise_C},
        {Safety_Switch("Kiln_Guard", "Kiln guard: soft off when the program is gone"),
         &S::Kiln_Guard},
        {Safety_Number("Guard_Minutes", "Minutes without a sign of life before the guard acts", 2,
                       120, true),
         &S::Guard_Minutes},
        {Safety_Switch("Continue_After_Restart", "Continue an interrupted firing after a restart"),
         &S::Continue_After_Restart},
        {Safety_Number("Continue_Gap_Minutes",
                       "Longest interruption a firing continues after (minutes)", 1, 600, true),
         &S::Continue_Gap_Minutes},
        {Safety_Switch("Start_At_Login", "Start Corvanel when I log in"), &S::Start_At_Login},
        {Safety_Switch("Hot_Start_Question",
                       "Ask before RUN PROFILE on a kiln hotter than the profile's start"),
         &S::Hot_Start_Question},
        {Safety_Number("Hot_Start_Margin_F", "Degrees above the profile's start that ask first (F)",
                       10, 3000),
         &S::Hot_Start_Margin_F},
        {Safety_Number("Hot_Start_Margin_C", "Degrees above the profile's start that ask first (C)",
                       5, 1700),
         &S::Hot_Start_Margin_C},
    };
    return lines;
}

// The file's lines in order: the layer's own, and each rule's (in the list's order) after
// the line it names, or at the end. A rule that names a line not there before it is a
// mistake in the list.
const Setting_List& Lines() {
    static const Setting_List lines = [] {
        Setting_List lines = Own_Lines().Settings();
        for (const auto& rule : Alarm_Rules()) {
            const std::optional<std::string_view> after = rule->Settings_Follow();
            auto at = !after ? lines.end() : lines.begin();
            if (after && !after->empty()) {
                at = std::ranges::find(lines, *after, [](const Setting* l) { return l->Key; });
                if (at == lines.end())
                    throw std::logic_error(std::string(rule->Name()) + ": no line " +
                                           std::string(*after) + " in " + File);
                ++at;
            }
            for (const Setting* setting : rule->Settings()) at = lines.insert(at, setting) + 1;
        }
        return lines;
    }();
    return lines;
}

// Whether the setting came after the file's first version: it is declared at or after
// the first one added.
bool Added_Later(const Setting& setting) {
    bool later = false;
    for (const Setting* line : Lines()) {
        later = later || line->Key == First_Added_Key;
        if (line == &setting) return later;
    }
    return false;
}

}  // namespace

Alarm_Setting_Values Alarm_Setting_Defaults() {
    Alarm_Setting_Values values;
    for (const auto& rule : Alarm_Rules()) {
        for (const Setting* setting : rule->Settings())
            values[setting->Key] = Number_Of(setting->Default);
    }
    return values;
}

double Safety_Settings::Alarm_Value(std::string_view key) const {
    const auto value = Alarm_Values.find(key);
    if (value == Alarm_Values.end()) throw std::logic_error("no alarm setting " + std::string(key));
    return value->second;
}

Setting Safety_Switch(const char* key, const char* label) {
    return {.File = File,
            .Key = key,
            .Type = Setting_Type::On_Off,
            .Label = label,
            .On_Word = "1",
            .Off_Word = "0"};
}

Setting Safety_Number(const char* key, const char* label, double low, double high, bool whole) {
    return {.File = File,
            .Key = key,
            .Type = whole ? Setting_Type::Whole : Setting_Type::Decimal,
            .Label = label,
            .Low = low,
            .High = high};
}

const Setting_List& Safety_Setting_List() {
    return Lines();
}

Safety_Settings Safety_Settings_Of(Settings_Store& store) {
    Safety_Settings settings;
    Values_Into(store, Own_Lines(), settings);
    // The rules' lines are kept by key: each rule reads its own (Alarm_Values_Of).
    for (const auto& rule : Alarm_Rules()) {
        for (const Setting* setting : rule->Settings()) {
            if (setting->Type == Setting_Type::On_Off)
                settings.Alarm_Values[setting->Key] = store.On(*setting) ? 1 : 0;
            else if (std::optional<double> number = store.Number(*setting))
                settings.Alarm_Values[setting->Key] = *number;
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
