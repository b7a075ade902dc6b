// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "profiles/run_profile.h"

namespace corvanel {

// Where a run that starts at elapsed 0 in a kiln already warmer than the profile's
// start may begin instead: the time at which the profile's first rising segment
// reaches the measured temperature (its end, when the kiln is warmer still). 0 when
// the kiln is not warmer than the start or the profile never rises. Temperatures are
// in the controller's units, as the tables hold them.
double Elapsed_At_Kiln_Temperature(const Run_Tables& tables, int finished_segment, double measured);

}  // namespace corvanel
