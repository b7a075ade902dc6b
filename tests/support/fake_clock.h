// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "common/clock.h"

// A clock the test moves by hand.
class Fake_Clock : public corvanel::Clock {
  public:
    explicit Fake_Clock(corvanel::Date_Time start = {2026, 12, 5, 9, 0, 30})
        : Seconds_(corvanel::Seconds_Of(start)) {}
    corvanel::Date_Time Now() override { return corvanel::Date_Time_Of_Seconds(Seconds_); }
    void Advance(long long seconds) { Seconds_ += seconds; }
    void Set(const corvanel::Date_Time& time) { Seconds_ = corvanel::Seconds_Of(time); }

  private:
    long long Seconds_;
};
