// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace corvanel {

// A timer of the run window as state; the window runs the real one from it.
struct Timer_State {
    bool Enabled = false;
    int Interval = 0;  // milliseconds
};

}  // namespace corvanel
