// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <string_view>

#include "remote/status_snapshot.h"

namespace corvanel {

// The snapshot as the page and the publisher read it: one JSON object with the kiln, the
// state, the read-outs, time left and finish time, and the planned profile's points. The
// traces are not in it; Trace_Json gives them.
std::string Status_Json(const Status_Snapshot& snapshot);

// {"points":[[elapsed,set value,measured],...]} for the points after `since`.
std::string Trace_Json(const Status_Snapshot& snapshot, double since);

// A JSON string literal with quotes and escapes.
std::string Json_String(std::string_view text);

// A JSON number; null for a value that is not finite.
std::string Json_Number(double value);

}  // namespace corvanel
