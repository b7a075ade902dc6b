// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <string_view>

#include "remote/status_snapshot.h"

namespace corvanel {

// The state of the kiln in the operator's words: "Firing", "Suspended", "Finished",
// "Ended by an alarm", "Cooling", "Controller lost", ...
std::string State_Text(const Status_Snapshot& snapshot);

// The page's read-outs as the operator reads them, one JSON object: the state, the
// temperatures with their scale, elapsed and time left as durations (time left only while
// a firing runs), the finish time, the output, the chart's title and axis titles.
std::string Status_Words_Json(const Status_Snapshot& snapshot, const Date_Time& now);

// The text made safe inside HTML: & < > " as entities.
std::string Html_Text(std::string_view text);

// The page with each {{name}} replaced by its label in the operator's language, and its
// language code in the html element.
std::string Page_In_Language(std::string_view page);

}  // namespace corvanel
