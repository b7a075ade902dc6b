// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "history/kiln_thermal_model.h"
#include "run/firing_forecast.h"

namespace corvanel {

// The rest of a firing worked out from the kiln's model, in small steps from now: the set
// value follows the plan (corner points in the profile's scale and time unit); the kiln
// rises toward it at most at its full-output rate there and trails it by its lag in ramps
// it can follow, and falls at most as fast as it cools with the power off. The program
// moves the set value by the clock, so a kiln that cannot keep up comes late to the top;
// the likely end is when the kiln will have done all the profile asks if each segment
// waited for the kiln to reach its end temperature: the plan's end and the time the kiln
// loses in ramps it cannot follow. A kiln behind the plan now counts from where it is.
// Without a model (null, or no heating bins), the plan's times, and said so.
Firing_Forecast Forecast_Firing(const Kiln_Thermal_Model* model, const Plan_Points& plan,
                                const std::string& scale, const std::string& time_unit,
                                double now_elapsed, double measured_now);

// Minutes the kiln needs with the power off to cool from one temperature to another
// (Fahrenheit): 0 when it is there already, none without a cooling fit or below the room.
std::optional<double> Predicted_Minutes_To_Cool(const Kiln_Thermal_Model& model, double from_f,
                                                double to_f);

// "Ready by": seconds from the start of the profile until the kiln will likely have reached
// the profile's top (or done all it asks), for a kiln at `kiln_now` (the profile's scale)
// at the start. Start later takes it from the time the operator wants the kiln ready by.
enum class Ready_Point { Peak, End };
double Seconds_To_Ready(const Kiln_Thermal_Model* model, const Plan_Points& plan,
                        const std::string& scale, const std::string& time_unit, double kiln_now,
                        Ready_Point point);

// A segment of a profile the kiln cannot follow, fired from its start.
struct Segment_Pace {
    int Segment = 0;  // as the sheet numbers them
    bool Falling = false;
    double Asked_F_Per_Hour = 0;    // how fast the segment asks the kiln to climb or fall
    double Managed_F_Per_Hour = 0;  // how fast the kiln will, where it falls behind
    double Behind_From_F = 0;       // where it falls behind
    double Lost_Hours = 0;          // how far the firing falls behind the plan there
};
// The segments the kiln will fall behind in by a minute or more, first to last.
std::vector<Segment_Pace> Segment_Paces(const Kiln_Thermal_Model& model, const Plan_Points& plan,
                                        const std::string& scale, const std::string& time_unit);

}  // namespace corvanel
