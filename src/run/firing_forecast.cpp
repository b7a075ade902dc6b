// SPDX-License-Identifier: GPL-3.0-or-later
#include "run/firing_forecast.h"

#include <cmath>

namespace corvanel {

bool Firing_Forecast::Late(const std::string& time_unit) const {
    return Late_By() * Seconds_Per_Time_Unit(time_unit) >= 60;
}

}  // namespace corvanel
