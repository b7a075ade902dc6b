// SPDX-License-Identifier: GPL-3.0-or-later
#include "setup/setting.h"

#include <algorithm>
#include <cmath>

#include "common/numeric.h"
#include "common/text.h"

namespace corvanel {

std::string Setting::Name() const {
    if (!Object_Name.empty()) return Object_Name;
    if (!Key.empty()) return Key;
    const std::size_t dot = File.rfind('.');
    return dot == std::string::npos ? File : File.substr(0, dot);
}

std::optional<std::string> Setting_Value_Of_Text(const Setting& setting, std::string_view text) {
    switch (setting.Type) {
        case Setting_Type::On_Off:
            if (text == setting.On_Word || text == setting.Off_Word) return std::string(text);
            return std::nullopt;
        case Setting_Type::Choice:
            if (std::find(setting.Choices.begin(), setting.Choices.end(), text) !=
                setting.Choices.end())
                return std::string(text);
            return std::nullopt;
        case Setting_Type::Text:
        case Setting_Type::Secret:
            if (text.find_first_of(std::string_view("\r\n\0", 3)) != std::string_view::npos)
                return std::nullopt;
            if (setting.Check && setting.Check(text)) return std::nullopt;
            return std::string(text);
        case Setting_Type::Whole:
        case Setting_Type::Decimal:
            break;
    }
    if (setting.Empty_Allowed && text.find_first_not_of(' ') == std::string_view::npos) return "";
    std::optional<double> number = Convert_To_Double(text).Value;
    if (!number || !std::isfinite(*number)) return std::nullopt;
    if (setting.Type == Setting_Type::Whole) {
        if (setting.Round) {
            std::optional<std::int16_t> rounded = Round_To_Int16(*number);
            if (!rounded) return std::nullopt;
            number = *rounded;
        } else if (*number != std::floor(*number)) {
            return std::nullopt;
        }
    }
    if (*number < setting.Low || *number > setting.High) return std::nullopt;
    if (setting.Type == Setting_Type::Whole) return Format_Whole(static_cast<long long>(*number));
    return Format_Number(*number);
}

Operator_Text Setting_Name(const Setting& setting) {
    if (setting.Unit.empty()) return Operator_Text::Phrase(setting.Label);
    return Operator_Text::Phrase(
        "%1 (%2)", {Operator_Text::Phrase(setting.Label), Operator_Text::Phrase(setting.Unit)});
}

Operator_Text Setting_Value_Shown(const Setting& setting, const std::string& value) {
    if (setting.Type == Setting_Type::On_Off)
        return Operator_Text::Phrase(value == setting.On_Word ? "on" : "off");
    if (setting.Type == Setting_Type::Secret)
        return Operator_Text::Phrase("the value saved before");
    if (setting.Type == Setting_Type::Choice) {
        auto it = std::find(setting.Choices.begin(), setting.Choices.end(), value);
        std::size_t at = static_cast<std::size_t>(it - setting.Choices.begin());
        if (at < setting.Choice_Labels.size())
            return Operator_Text::Phrase(setting.Choice_Labels[at]);
    }
    if (value.empty()) return Operator_Text::Phrase("nothing");
    if (setting.Is_Number() && !setting.Unit.empty()) {
        return Operator_Text::Phrase(
            "%1 %2", {Operator_Text::Value(value), Operator_Text::Phrase(setting.Unit)});
    }
    return Operator_Text::Value(value);
}

Operator_Text Setting_Rule(const Setting& setting) {
    const auto bounds =
        std::vector<Operator_Text>{Operator_Text::Value(Format_Number(setting.Low)),
                                   Operator_Text::Value(Format_Number(setting.High))};
    switch (setting.Type) {
        case Setting_Type::On_Off:
            return Operator_Text::Phrase("on or off");
        case Setting_Type::Whole:
            return Operator_Text::Phrase("a whole number from %1 to %2", bounds);
        case Setting_Type::Decimal:
            if (std::isinf(setting.High))
                return Operator_Text::Phrase("a number of %1 or more", {bounds[0]});
            return Operator_Text::Phrase("a number from %1 to %2", bounds);
        case Setting_Type::Choice:
            return Operator_Text::Phrase("one of the choices offered");
        case Setting_Type::Text:
        case Setting_Type::Secret:
            break;
    }
    return Operator_Text::Phrase("one line of text");
}

Problem Bad_Setting_Problem(const Setting& setting, std::string_view bad,
                            const std::optional<std::string>& used) {
    // A value the program did not write may be anything: it is shown short and printable.
    std::string shown;
    for (char c : bad.substr(0, 40)) shown += static_cast<unsigned char>(c) < ' ' ? '?' : c;
    if (bad.size() > 40) shown += "...";
    if (setting.Type == Setting_Type::Secret) shown = "...";
    Operator_Text rule = Setting_Rule(setting);
    const bool text = setting.Type == Setting_Type::Text || setting.Type == Setting_Type::Secret;
    if (text && setting.Check) {
        if (std::optional<Operator_Text> broken = setting.Check(bad)) rule = *broken;
    }
    std::vector<Operator_Text> parts = {Setting_Name(setting), Operator_Text::Value(shown), rule};
    if (!used) {
        if (!setting.Refusal.empty()) return {Operator_Text::Phrase(setting.Refusal), {}};
        return {Operator_Text::Phrase("%1: \"%2\" is not %3.", parts),
                Operator_Text::Phrase("Correct it, then press OK again.")};
    }
    parts.push_back(Setting_Value_Shown(setting, *used));
    return {Operator_Text::Phrase("%1: \"%2\" is not %3, so %4 is used.", parts),
            Operator_Text::Phrase("Set %1 again to keep a value of your own.",
                                  {Setting_Name(setting)})};
}

Setting Port_Setting(std::string file, std::string fallback) {
    return {.File = std::move(file),
            .Type = Setting_Type::Whole,
            .Default = std::move(fallback),
            .Label = "Port",
            .Low = 1,
            .High = 65535,
            .Object_Name = "Port",
            .Refusal = "The port must be a whole number from 1 to 65535"};
}

}  // namespace corvanel
