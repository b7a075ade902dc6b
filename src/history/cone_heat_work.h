// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>
#include <span>
#include <string>
#include <vector>

#include "common/problem.h"
#include "run/firing_record.h"

namespace corvanel {

// The cone a firing reached by heat-work, read from its measured temperatures against the
// published cone chart (profiles/cone_table.h):
//
// - the last climb: the time from the last moment the kiln was 100 C (180 F) below its
//   peak to the moment it first reached the peak gives the climb's rate, which is what the
//   chart's columns are;
// - time near the peak counts as a slower climb: heat-work is weighed so that it doubles
//   every Heat_Work_Doubling_C degrees (the chart's own median spacing between its rates),
//   summed from the start of the last climb until the kiln leaves the peak (falls more
//   than Peak_Band_C below it), and the firing is read at the rate of the plain climb that
//   would have given the same heat-work. A climb alone reads at its own rate exactly;
// - the chart's temperatures at that rate: between the chart's rates on a logarithmic
//   scale of rate, held to the outer column beyond them (15 and 150 C/h; a cone without a
//   slow figure holds to 60 C/h below it);
// - between two cones as a fraction: the peak's place between their temperatures.
//
// Positions count cones from cone 022: 0 is cone 022 down, 1 cone 021 down, and 26.25
// cone 5 down with cone 6 about a quarter bent. Temperatures and rates are in the scale
// of the readings ("F" or "C"), per hour.
inline constexpr double Heat_Work_Doubling_C = 14;
inline constexpr double Last_Climb_C = 100;
inline constexpr double Peak_Band_C = 5;

// One reading of the kiln: seconds from any fixed moment, and its temperature.
struct Kiln_Reading {
    double Seconds = 0;
    double Temperature = 0;
};

struct Cone_Reached {
    enum class Reach {
        Unknown,       // too few readings, or none as low as 100 C below the peak
        Below_Chart,   // the peak is short of cone 022 at the rate reached
        On_Chart,      // Position holds the cone
        Beyond_Chart,  // hotter than cone 10, where the chart ends
    };
    Reach Reached = Reach::Unknown;
    double Position = 0;        // see above; meaningful On_Chart only
    double Peak = 0;            // the highest reading
    double Climb_Rate = 0;      // degrees an hour over the last climb
    double Effective_Rate = 0;  // the plain climb of the same heat-work, time near the peak counted
    double Chart_Rate = 0;  // the rate the chart was read at: the effective one within the chart
    double Seconds_Near_Peak = 0;  // after first reaching the peak, until it left it

    bool Known() const { return Reached != Reach::Unknown; }
};

// A kiln's cone offset, which the operator took from its witness cones: cones added to the
// program's figure for the firings of that kiln (as its records name it).
struct Cone_Offset {
    std::string Kiln;
    double Cones = 0;

    double For(const std::string& kiln) const { return kiln == Kiln ? Cones : 0; }
};

// The cone of readings in time order (a run in progress passes its ticks so far).
Cone_Reached Cone_Of_Readings(std::span<const Kiln_Reading> readings, const std::string& scale);

// The readings of a record (ticks and the readings after the run) on its real time axis.
std::vector<Kiln_Reading> Readings_Of(const Firing_Record& record);
Cone_Reached Cone_Of_Firing(const Firing_Record& record);

// The chart's temperature of a cone (its place in the table) at a rate, as the reading
// uses it: for a run that ends when the heat-work is reached.
double Chart_Temperature(std::size_t cone, double rate, const std::string& scale);

// The cone reached with a number of cones added (a kiln's offset): beyond either end of
// the chart it says so.
Cone_Reached With_Cone_Offset(Cone_Reached reached, double offset_cones);

// "cone 6", "cone 6, about a quarter bent" (cone 5 down), "below cone 022",
// "beyond cone 10"; to the nearest quarter of a cone. Empty when not known.
Operator_Text Cone_Reached_Text(const Cone_Reached& reached);

}  // namespace corvanel
