// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "common/problem.h"
#include "profiles/run_profile.h"

namespace corvanel {

// Where a run that starts at elapsed 0 in a kiln already warmer than the profile's
// start may begin instead: the time at which the profile's first rising segment
// reaches the measured temperature (its end, when the kiln is warmer still). 0 when
// the kiln is not warmer than the start or the profile never rises. Temperatures are
// in the controller's units, as the tables hold them.
double Elapsed_At_Kiln_Temperature(const Run_Tables& tables, int finished_segment, double measured);

// After a restart, whether a firing that was interrupted may go on by itself, and where:
// as controllers do after a power failure. The gap must be shorter than the set longest
// one and the kiln still above the boiling point of water. In the last rising segment or
// the hold at its top the kiln must be no more than 72 °F (40 °C) below the set value it
// had reached: the heat-work done is unknown, and more would risk over-firing. In an
// earlier rising segment the firing goes on from where the profile reaches the kiln's
// temperature. Temperatures in controller units (`per_degree` of them a degree).
struct Firing_Continuation {
    bool Allowed = false;
    double Elapsed = 0;  // where it goes on, in the profile's time unit
    Operator_Text Why;   // the limit that failed; empty when allowed
};
struct Interruption {
    double Stopped_At = 0;     // the elapsed time it stopped at
    double Measured_Then = 0;  // the kiln then and now
    double Measured_Now = 0;
    long long Gap_Seconds = 0;
    double Longest_Gap_Minutes = 30;
    bool Fahrenheit = true;
    double Per_Degree = 1;
};
Firing_Continuation Decide_Continuation(const Run_Tables& tables, int finished_segment,
                                        const Interruption& cut);

}  // namespace corvanel
