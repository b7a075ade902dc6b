// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>

#include "profiles/editor_typing.h"

namespace corvanel {

// A firing worked out from a cone number and a speed, as a kiln controller's cone-fire
// mode does: preheat if asked, a first ramp at the speed's rate to 200 F (110 C) below
// the cone, the final ramp at the chart's rate to the cone's temperature, a hold at
// the peak and a controlled cooling if asked, then the end row. Time unit hours.
enum class Cone_Speed { Slow, Medium, Fast };
inline constexpr std::array<const char*, 3> Cone_Speed_Names = {"slow", "medium", "fast"};
std::optional<Cone_Speed> Cone_Speed_Of_Name(std::string_view name);

// What the potter chose. The optional parts are texts as typed; empty or 0 means none.
struct Cone_Firing_Choice {
    std::string Cone = "6";
    Cone_Speed Speed = Cone_Speed::Medium;
    bool Fahrenheit = true;
    int Sensor = 2;             // index in Sensor_Types; K
    std::string Preheat_Hours;  // hold at 180 F / 82 C for damp ware or candling
    std::string Hold_Minutes;   // hold at the cone's temperature
    std::string Cool_Rate;      // degrees per hour, given as a positive number
    std::string Cool_Temp;      // where the controlled cooling ends
    std::string Error_Limit;    // on every segment: how far the kiln may stray before an alert
    // The run moves the peak to the chart's temperature for the rate the kiln climbs at
    // and ends the hold once the cone is reached by heat-work (kept beside the profile).
    bool End_On_Heat_Work = true;
};

struct Cone_Firing_Plan {
    Typed_Profile Profile;  // typed into the editor, it is the firing
    int Peak_Temp = 0;
    std::string File_Name;  // the suggestion "cone<N>_<speed>.txt"
    std::string Refusal;    // why no profile can be made (translated); empty when it can
};

Cone_Firing_Plan Plan_Cone_Firing(const Cone_Firing_Choice& choice);

}  // namespace corvanel
