// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "common/clock.h"

// A clock the test moves by hand: Advance moves time on, Set only the time of day (the
// clocks going back in autumn, or set by hand), which the steady clock does not see.
class Fake_Clock : public corvanel::Clock {
  public:
    explicit Fake_Clock(corvanel::Date_Time start = {2026, 12, 5, 9, 0, 30})
        : Seconds_(corvanel::Seconds_Of(start)) {}
    corvanel::Date_Time Now() override { return corvanel::Date_Time_Of_Seconds(Seconds_); }
    double Steady_Seconds() override { return Steady_; }
    void Advance(long long seconds) {
        Seconds_ += seconds;
        Steady_ += static_cast<double>(seconds);
    }
    void Set(const corvanel::Date_Time& time) { Seconds_ = corvanel::Seconds_Of(time); }

  private:
    long long Seconds_;
    double Steady_ = 1000;
};
