// SPDX-License-Identifier: GPL-3.0-or-later
#include "run/alarm_rule.h"

#include <algorithm>

namespace corvanel {

const std::vector<std::unique_ptr<Alarm_Rule>>& Alarm_Rules() {
    static const std::vector<std::unique_ptr<Alarm_Rule>> rules = Make_Alarm_Rules();
    return rules;
}

void Keep_Within(std::deque<Alarm_Reading>& readings, long long now, double minutes) {
    const double start = static_cast<double>(now) - minutes * 60;
    while (readings.size() >= 2 && static_cast<double>(readings[1].Seconds) <= start) {
        readings.pop_front();
    }
}

bool Confirmation::Confirmed(bool condition, const Firing_Status& tick, double seconds) {
    if (!condition) {
        *this = {};
        return false;
    }
    // The first reading starts the count; each one after it adds the time since the last,
    // by the clock: a tick late or a clock that jumped has lasted what it lasted.
    const long long now = Seconds_Of(tick.Clock);
    if (Readings++ > 0) Seconds += static_cast<double>(std::max(now - Last, 0LL));
    Last = now;
    return Readings >= 2 && Seconds >= seconds;
}

}  // namespace corvanel
