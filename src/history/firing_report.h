// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <vector>

#include "history/firing_summary.h"
#include "run/firing_chart.h"

namespace corvanel {

// What a report of one firing says below its chart, in the potter's words, one line each:
// profile, kiln, when it started and ended, how it ended, peak, time near the peak, the
// cone reached by heat-work and how it was read, the witness cones, duration, energy,
// cost, alarms, the potter's notes, and every event with its clock. The tool's `show`
// prints the same.
std::vector<std::string> Firing_Report_Lines(const Firing_Record& record,
                                             const Firing_Summary& summary,
                                             const Report_Style& style,
                                             const std::string& notes = "",
                                             const std::string& witness_cones = "");

// The report's title and the name of its file, after what it holds: one firing's profile
// and day, or how many firings from which day to which.
std::string Report_Title(const std::vector<const Firing_Record*>& records,
                         const std::vector<Firing_Summary>& summaries, const Report_Style& style);
std::string Report_File_Name(const std::vector<const Firing_Record*>& records,
                             const std::vector<Firing_Summary>& summaries);

// The chart's words for its reader: its title, a legend entry a firing (profile, day and
// peak), the names of its traces and axes, and the hint an empty chart shows.
void Label_Firing_Chart(Firing_Chart& chart, const std::vector<const Firing_Record*>& records,
                        const std::vector<Firing_Summary>& summaries, const Report_Style& style);

}  // namespace corvanel
