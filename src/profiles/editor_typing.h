// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "profiles/profile_editor_model.h"

namespace corvanel {

// One segment as an operator types it: End Temp and either Duration or Ramp Rate
// (the editor works out the other), and an Error Limit or "wait" if wanted.
struct Typed_Segment {
    std::string End_Temp, Duration, Ramp_Rate, Error_Limit, Command;
};

// A whole profile as typed into the editor: its settings, the Start Temp of row 1 and
// the segments; the end row follows the last segment.
struct Typed_Profile {
    bool Fahrenheit = true;
    bool Minutes = true;
    int Sensor = 2;  // index in Sensor_Types; K
    std::string Start_Temp = "70";
    std::vector<Typed_Segment> Segments;
    // The cone it ends on by heat-work (heat_work_end_file.h); none: at its own peak.
    std::optional<std::string> Heat_Work_Cone;
};

// Starts a new sheet and types the profile into it cell by cell, with the clicks and
// keys an operator would use, so that the sheet holds exactly what typing gives.
// Returns, per segment, the message box text its typing left ("" when none).
std::vector<std::string> Type_Profile(Profile_Editor& editor, const Typed_Profile& profile);

}  // namespace corvanel
