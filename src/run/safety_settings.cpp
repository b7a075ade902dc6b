// SPDX-License-Identifier: GPL-3.0-or-later
#include "run/safety_settings.h"

#include <fstream>
#include <set>

#include "common/numeric.h"
#include "common/text.h"
#include "language/translate.h"
#include "setup/setup_files.h"

namespace corvanel {

namespace {

using S = Safety_Settings;

Safety_Setting_Row Switch(const char* name, const char* caption, bool S::*member) {
    return {name, caption, member, nullptr, 0, 1, true};
}
Safety_Setting_Row Number(const char* name, const char* caption, double S::*member, double low,
                          double high, bool whole = false) {
    return {name, caption, nullptr, member, low, high, whole};
}

std::string Trimmed(std::string_view text) {
    const auto first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos) return "";
    const auto last = text.find_last_not_of(" \t\r");
    return std::string(text.substr(first, last - first + 1));
}

}  // namespace

const std::vector<Safety_Setting_Row>& Safety_Setting_Rows() {
    static const std::vector<Safety_Setting_Row> Rows = {
        Switch("Controller_Lost_Alarm", "Controller lost alarm", &S::Controller_Lost_Alarm),
        Number("Controller_Lost_Ticks", "Failed ticks in a row", &S::Controller_Lost_Ticks, 1, 1000,
               true),
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
        Number("Thermocouple_Break_Ticks", "Input-error ticks in a row",
               &S::Thermocouple_Break_Ticks, 1, 100, true),
        Switch("Soft_Off_On_Alarm", "On over-temperature or thermocouple break: soft off",
               &S::Soft_Off_On_Alarm),
        Switch("Scale_Check", "Refuse a profile in the other scale", &S::Scale_Check),
        Switch("Carried_Over_Notice", "Tell when a firing continues at an elapsed time",
               &S::Carried_Over_Notice),
        Switch("Start_At_Kiln_Temperature", "Start at kiln temperature",
               &S::Start_At_Kiln_Temperature),
    };
    return Rows;
}

std::string Safety_Value_Text(const Safety_Settings& settings, const Safety_Setting_Row& row) {
    if (row.Switch) return settings.*row.Switch ? "1" : "0";
    return Format_Number(settings.*row.Number);
}

std::string Set_Safety_Value(Safety_Settings& settings, const Safety_Setting_Row& row,
                             std::string_view text) {
    std::optional<double> value = Convert_To_Double(text).Value;
    const bool fits = value && *value >= row.Low && *value <= row.High &&
                      (!row.Whole || *value == static_cast<double>(static_cast<long long>(*value)));
    if (!fits) {
        std::string wanted = row.Switch ? TranslateText("must be 0 (off) or 1 (on)")
                                        : TranslateText(row.Whole ? "must be a whole number from"
                                                                  : "must be a number from") +
                                              " " + Format_Number(row.Low) + " " +
                                              TranslateText("to") + " " + Format_Number(row.High);
        return TranslateText("Safety setting") + " " + row.Name + "=" + Trimmed(text) + ": " +
               wanted + "; " + TranslateText("kept") + " " + Safety_Value_Text(settings, row);
    }
    if (row.Switch) {
        settings.*row.Switch = *value != 0;
    } else {
        settings.*row.Number = *value;
    }
    return "";
}

Safety_Settings_Read Read_Safety_Settings(const std::string& path) {
    Safety_Settings_Read read;
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        read.Messages.push_back(TranslateText("No safety settings file, the defaults are used"));
        Write_Safety_Settings(path, read.Settings);
        return read;
    }
    const auto& rows = Safety_Setting_Rows();
    std::set<std::string> seen;
    std::string line;
    // Settings are a few short lines; a file that is not is read no further.
    for (int count = 0; count < 1000 && std::getline(in, line); ++count) {
        line = Trimmed(line);
        if (line.empty() || line[0] == '#') continue;
        const auto equals = line.find('=');
        const std::string name = Trimmed(line.substr(0, equals));
        const Safety_Setting_Row* row = nullptr;
        for (const auto& candidate : rows) {
            if (name == candidate.Name) row = &candidate;
        }
        if (!row || equals == std::string::npos) {
            read.Messages.push_back(TranslateText("Safety setting not known") + ": " +
                                    line.substr(0, 80));
            continue;
        }
        seen.insert(name);
        std::string message = Set_Safety_Value(read.Settings, *row, line.substr(equals + 1));
        if (!message.empty()) read.Messages.push_back(message);
    }
    for (const auto& row : rows) {
        if (!seen.count(row.Name)) {
            read.Messages.push_back(TranslateText("Safety setting missing, default kept") + ": " +
                                    row.Name + "=" + Safety_Value_Text(read.Settings, row));
        }
    }
    return read;
}

bool Write_Safety_Settings(const std::string& path, const Safety_Settings& settings) {
    std::string text;
    for (const auto& row : Safety_Setting_Rows()) {
        text += std::string(row.Name) + "=" + Safety_Value_Text(settings, row) + std::string(CRLF);
    }
    return Replace_File_Contents(path, text);
}

}  // namespace corvanel
