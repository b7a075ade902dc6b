// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "run/firing_status.h"

namespace corvanel {

// "Ready by": seconds from where the loaded profile stands (its start, before a run) until
// the kiln is likely at the profile's top, or done, as the status's forecast foresees it;
// the plan's own times without one.
double Seconds_Until_Ready(const Firing_Status& status, bool until_done);

}  // namespace corvanel
