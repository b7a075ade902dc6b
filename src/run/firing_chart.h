// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <string>
#include <utility>
#include <vector>

#include "run/firing_record.h"

namespace corvanel {

// What the history window, the report and corvanel-log draw for one or more firings:
// each record's plan, set values and measured temperatures against elapsed time (each
// tick at its real time since the start), all aligned at elapsed 0 and in the first
// record's time unit and scale.
struct Chart_Series {
    enum class Kind { Plan, Set_Value, Measured };
    Kind What = Kind::Measured;
    std::size_t Record = 0;  // which record, for its colour
    std::string Name;
    std::vector<std::pair<double, double>> Points;
};

// Where the operator changed a firing while it ran: at the tick's real time and set value,
// named by the record's event ("skip", "hold extended", "segment changed").
struct Chart_Mark {
    double X = 0, Y = 0;
    std::size_t Record = 0;
    std::string Label;
};

struct Firing_Chart {
    std::string Title;  // what the chart shows: profile, day and kiln, or the firings overlaid
    std::vector<std::string> Record_Labels;  // what the legend says of each record
    std::array<std::string, 3> Kind_Names = {"plan", "set value", "measured"};
    std::string X_Title = "Elapsed (minutes)", Y_Title = "Temperature (°F)";
    std::string Empty_Hint;  // said instead of an empty chart
    std::vector<Chart_Series> Series;
    std::vector<Chart_Mark> Marks;
    std::string Time_Unit = "M", Temp_Scale = "F";
    double X_Min = 0, X_Max = 1, Y_Min = 0, Y_Max = 1;
    std::vector<double> X_Ticks, Y_Ticks;
};

Firing_Chart Build_Firing_Chart(const std::vector<const Firing_Record*>& records);

// The round step (1, 2 or 5 times a power of ten) that cuts `span` into at most `most`
// parts; 0 when there is no finite span to cut.
// The axis titles of a chart of a firing or a profile, in English: the time in the
// profile's unit ("M" minutes, "H" hours) and the temperature in its scale ("F", "C").
const char* Time_Axis_Title(const std::string& time_unit);
const char* Temperature_Axis_Title(const std::string& temp_scale);

double Round_Step(double span, int most);

// Round steps covering min to max with at most `most` marks.
std::vector<double> Axis_Ticks(double min, double max, int most);

}  // namespace corvanel
