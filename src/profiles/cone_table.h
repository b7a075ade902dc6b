// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>
#include <span>
#include <string_view>

namespace corvanel {

// One self-supporting pyrometric cone: the temperatures at which it bends at the
// chart's standard final heating rates, in whole degrees of each scale as the published
// chart gives them. The slow rate (15 C/h, 27 F/h) is last: the chart has it for cone 019
// and hotter only, and 0 stands for its absence.
struct Cone_Equivalent {
    std::string_view Cone;  // as potters write it: "022", "04", "4", "10"
    int Celsius_60, Celsius_150;
    int Fahrenheit_108, Fahrenheit_270;
    int Celsius_15 = 0, Fahrenheit_27 = 0;

    bool Has_Slow_Rate() const { return Celsius_15 > 0; }
};

// The chart from cone 022 to cone 10, coolest first; built from data/cones.
std::span<const Cone_Equivalent> Cone_Table();

// The cone written exactly as in the table: "04" and "4" are different cones. Blanks
// around the text are ignored.
std::optional<Cone_Equivalent> Find_Cone(std::string_view cone);

}  // namespace corvanel
