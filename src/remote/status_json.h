// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <string_view>

#include "common/json_text.h"
#include "remote/status_snapshot.h"

namespace corvanel {

// The snapshot as the page and the publisher read it: one JSON object with the kiln, the
// state, the read-outs, time left and finish time, and the planned profile's points. The
// traces are not in it; Trace_Json gives them.
// `later` seconds after the snapshot was taken, for the reading's age.
std::string Status_Json(const Status_Snapshot& snapshot, long long later = 0);

// "trace_ticks_per_point" is 1 while the trace holds every tick, else how many ticks one
// point stands for.
// "measured" is null unless the reading is fresh; "reading" says "live", "stale" or
// "absent", "reading_age_seconds" how old the last good reading is, "last_measured" its
// value (null when absent) and "measured_note" why there is none, in the operator's words.

// Why the status has no fresh measured value at `now`, translated; "" when it has one.
std::string Reading_Note(const Firing_Status& status, const Date_Time& now);

// {"points":[[elapsed,set value,measured],...]} for the points after `since`; elapsed at
// the tick's real time, measured null where the line has a gap.
std::string Trace_Json(const Status_Snapshot& snapshot, double since);

}  // namespace corvanel
