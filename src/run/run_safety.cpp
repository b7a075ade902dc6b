// SPDX-License-Identifier: GPL-3.0-or-later
#include "run/run_safety.h"

namespace corvanel {

Safety_Changes Run_Safety::Check(const Firing_Status& tick) {
    Safety_Changes changes = Supervisor_.Check(tick);
    Active_ = Supervisor_.Active_Names();
    return changes;
}

}  // namespace corvanel
