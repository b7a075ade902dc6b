// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "common/clock.h"

namespace corvanel {

// How the operator's language writes numbers and days: "1,832.5" and "3 Apr 2027" in
// English, "1.832,5" and "03.04.2027" in German, "1.832,5" and "03/04/2027" in Spanish.
// What is shown follows it; what is written to files and exports never does.
struct Number_Style {
    std::string Thousands = ",", Decimal = ".";
    enum class Days { English, German, Spanish } Day_Order = Days::English;
    // A month's short English name ("Dec") as the language writes it, where a day is
    // written with its month in words; unset keeps the English.
    std::function<std::string(const std::string&)> Month;
};

// A number with `decimals` places (rounded half away from zero) and its thousands grouped.
std::string Number_Shown(double value, int decimals, const Number_Style& style);
// A temperature to the degree with its scale ("F" or "C"): "1,832 °F".
std::string Temperature_Shown(double degrees, const std::string& scale, const Number_Style& style);
// A length of time: "45 s", "2 min 5 s", "7 min", "2 h 05 min", "13 h 46 min".
std::string Duration_Shown(double seconds);
// A time of day, with its day when that is not today's: "14:05", "3 Apr 2027, 14:05".
std::string Clock_Shown(const Date_Time& time, const Date_Time& now, const Number_Style& style);
// What the operator typed with the style's decimal mark made a point ("0,32" -> "0.32");
// a text holding both marks (a grouped number) is left as it is, to be refused.
std::string Decimal_Point_Text(std::string_view text, const Number_Style& style);
// A decimal number as the operator types it: the style's decimal mark or a point, no
// grouping; nothing when it is not one.
std::optional<double> Decimal_Typed(std::string_view text, const Number_Style& style);

}  // namespace corvanel
