// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "history/firing_summary.h"

namespace corvanel {

// A label in the reader's language; the tool keeps English, the window translates.
using Label_Translation = std::function<std::string(const std::string&)>;

// What a report of one firing says below its chart, one line each: the header, the
// summary (duration, peak, time within 50 degrees of the peak, energy, cost, outcome)
// and every event with its clock and elapsed time. The tool's `show` prints the same.
std::vector<std::string> Firing_Report_Lines(const Firing_Record& record,
                                             const Firing_Summary& summary,
                                             const Label_Translation& label);

}  // namespace corvanel
