// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>
#include <string>
#include <variant>

#include "common/problem.h"
#include "profiles/run_profile.h"
#include "run/firing_status.h"

namespace corvanel {

// A change the operator makes to a firing while it runs, as a kiln's keypad allows: skip
// to the next segment, add minutes to a hold, or give the segment running a new end
// temperature and rate. It is made at an elapsed time and changes the plan from there on;
// what has been fired stays as it was.
struct Firing_Change {
    enum class Kind { Skip, Extend_Hold, Change_Segment };
    Kind What = Kind::Skip;
    int Segment = 0;      // the segment running when it was made (a sheet row)
    double At = 0;        // the elapsed time it was made at, in the profile's time unit
    double Minutes = 0;   // Extend_Hold: the minutes added
    double End_Temp = 0;  // Change_Segment: the new end, degrees of the profile's scale
    double Rate = 0;      // Change_Segment: degrees an hour, more than 0
};

// The plan a firing follows: the run tables (temperatures in controller units, times in
// the profile's unit) and where they end.
struct Followed_Plan {
    Run_Tables Tables;
    int Finished_Segment = 0;  // the row after the last segment
    double Total_Time = 0;
    bool Minutes = true;    // the profile's time unit
    double Per_Degree = 1;  // controller units in a degree: 10 for platinum sensors
};

// A change of the running firing that a feature asks for (feature.h). It is made after
// the tick that heard it, by the operator's own route (the same limits, record line and
// published event), and said in the feature's words. Dropped when another segment runs
// by then.
struct Asked_Change {
    // Change_Segment: the segment ends at End_Temp, at its own rate. Skip: the segment ends
    // now; when it is the last one, the firing finishes.
    Firing_Change::Kind What = Firing_Change::Kind::Change_Segment;
    int Segment = 0;
    double End_Temp = 0;  // degrees of the profile's scale
    Operator_Text Said;   // for the message area and the banner
    std::string Why;      // the record's words after the change's own, numbers as machines read
};

// What a new end temperature may not pass: the sensor's range and, once known, the
// controller's high set limit, in degrees of the profile's scale.
struct Change_Limits {
    double Lowest = -1e9, Highest = 1e9;
    std::optional<double> Controller_High;
    std::string Scale = "F";  // how the limits are said
};

// The plan with the change made, or why it cannot be made (the plan is then untouched):
// a skip of the last segment, a hold extended while a ramp runs, a ramp changed while a
// hold runs, a rate of 0 or an end beyond the limits.
std::variant<Followed_Plan, Problem> Changed_Plan(const Followed_Plan& plan,
                                                  const Firing_Change& change,
                                                  const Change_Limits& limits = {});

// The segment's rate in degrees an hour, whatever its direction; 0 for a hold.
double Segment_Rate(const Followed_Plan& plan, int segment);

// The chart of the plan followed after a change at `at`: the chart drawn before up to
// there (what has been fired keeps its plan), then the changed plan's corners, in degrees.
Plan_Points Changed_Chart(const Plan_Points& before, const Followed_Plan& after, double at);

// The change's event in the firing record ("skip", "hold extended", "segment changed")
// and its detail, old -> new, in numbers a machine reads back in any locale:
// "segment 3 -> 4", "segment 4: 30 -> 45 min", "segment 2: 1000 F at 200 F/h -> 950 F at
// 150 F/h". `plan` is the plan before the change.
Firing_Event Firing_Change_Event(const Firing_Change& change);
std::string Firing_Change_Detail(const Followed_Plan& plan, const Firing_Change& change,
                                 const std::string& scale);

// The change a record's line holds (its event, detail, elapsed time and segment); none
// for any other line. A detail may go on after "; " with why the change was made.
std::optional<Firing_Change> Firing_Change_Of_Line(const std::string& event,
                                                   const std::string& detail, double elapsed,
                                                   int segment);

// What the operator is told when the change is made, in words.
Operator_Text Firing_Change_Said(const Followed_Plan& plan, const Firing_Change& change,
                                 const std::string& scale);

}  // namespace corvanel
