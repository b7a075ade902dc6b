// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <vector>

#include "common/problem.h"
#include "profiles/profile_sheet.h"

namespace corvanel {

// A segment (or the end row) that does not start where the segment before it ends: in
// time (its Start Time against the one before's Start Time plus Duration) or in
// temperature (its Start Temp against the one before's End Temp).
struct Segment_Gap {
    int Row = 0;
    bool Time = true;  // false: the temperature
    double Starts = 0, Before_Ends = 0;
};

// Every gap between rows 1 and the end row, in row order. A cell that is empty or no
// number is passed over: the check's other rules say so, and the run refuses to load it.
std::vector<Segment_Gap> Segment_Gaps(const Profile_Sheet& sheet);

// What the operator reads: the row, both values and how to mend it in the editor.
Problem Segment_Gap_Problem(const Segment_Gap& gap);

}  // namespace corvanel
