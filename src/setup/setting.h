// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "common/problem.h"

namespace corvanel {

enum class Setting_Type {
    On_Off,   // a check mark: On_Word or Off_Word, exactly
    Whole,    // a whole number from Low to High
    Decimal,  // a number from Low to High, written as short as it can be
    Text,     // the line as it is, blanks included
    Choice,   // one of Choices, exactly
    Secret,   // text written readable by its owner only (a token, a password)
};

// One setting, declared once: where it is kept, what it may hold, and what the operator
// calls it. Values pass as the text the file holds ("checked", "3", "1.5", "K    ").
// Labels, units and choice labels are English; they are translated where they are shown.
struct Setting {
    std::string File{};  // in the Setup folder: "CommPortNumber.txt"
    std::string Key{};   // empty: the file's first line is the value; else a Key=value line
    Setting_Type Type = Setting_Type::Text;
    std::string Default{};
    std::string Label{};         // what the operator calls it: "Serial port number"
    std::string Unit{};          // "kW", "minutes"; may be empty
    double Low = 0, High = 0;    // High may be infinity: no upper bound
    bool Round = false;          // Whole: 2.5 is taken as 2 (half to even), not refused
    bool Empty_Allowed = false;  // numbers: an empty value is taken and means "not set"
    bool Write_Empty = true;     // false: an empty value leaves the file as it is
    std::string On_Word = "checked", Off_Word = "unchecked";
    std::vector<std::string> Choices{};        // the words the file holds
    std::vector<std::string> Choice_Labels{};  // what the operator sees for each; may be empty
    // A further rule for text: nullopt when the text fits, else what it should be
    // ("a name or an address without spaces"), said after "is not".
    std::function<std::optional<Operator_Text>(std::string_view)> Check{};
    std::string Object_Name{};  // a control's name when it differs from Name()
    // How a dialog shows it. Refusal: what the dialog says, alone, of an entry that breaks
    // the rule, where the setting has always had words of its own. Placeholder: shown in
    // an empty text box. Choice_Names: the choice as radio buttons, each named so.
    std::string Refusal{};
    std::string Placeholder{};
    std::vector<std::string> Choice_Names{};

    // The name of its control in a dialog: the key, or the file name without ".txt".
    std::string Name() const;
    bool Is_Number() const { return Type == Setting_Type::Whole || Type == Setting_Type::Decimal; }
};

using Setting_List = std::vector<const Setting*>;

// A network port kept in a file of its own (the status page's, the MQTT broker's): a whole
// number from 1 to 65535, in a box named "Port".
Setting Port_Setting(std::string file, std::string fallback);

// The one rule per type that a value must keep, for a line read from a file and for an
// entry typed into a dialog alike. Returns the value as it is written (numbers in their
// shortest form), or nullopt when it breaks the rule.
std::optional<std::string> Setting_Value_Of_Text(const Setting& setting, std::string_view text);

// What the operator calls the setting, with its unit: "Kiln power (kW)".
Operator_Text Setting_Name(const Setting& setting);

// A value as the operator sees it: "on", "3 minutes", a choice's label.
Operator_Text Setting_Value_Shown(const Setting& setting, const std::string& value);

// What a value of the setting must be, said after "is not": "a number from 1 to 600".
Operator_Text Setting_Rule(const Setting& setting);

// The shared wording for a value not taken. `used` empty: nothing is used instead (an
// entry in a dialog, which the operator corrects).
Problem Bad_Setting_Problem(const Setting& setting, std::string_view bad,
                            const std::optional<std::string>& used);

}  // namespace corvanel
