// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <string_view>

namespace corvanel {

// A local calendar date and time, to the second.
struct Date_Time {
    int Year = 2000, Month = 1, Day = 1;
    int Hour = 0, Minute = 0, Second = 0;
};

// Where the models read the time of day. The program reads the system's local clock;
// tests move a fake one.
class Clock {
  public:
    virtual ~Clock() = default;
    virtual Date_Time Now() = 0;
    // Seconds on a clock that never jumps: not with summer time, not when the time of day
    // is set by hand or by the network. A run counts its time on it.
    virtual double Steady_Seconds() = 0;
};

class System_Clock : public Clock {
  public:
    Date_Time Now() override;
    double Steady_Seconds() override;
};

// The number of minute boundaries crossed going from `from` to `to`: 10:00:59 to
// 10:01:00 is one, 10:00:00 to 10:00:59 is none. Negative when `to` is earlier.
long long Minute_Boundaries_Between(const Date_Time& from, const Date_Time& to);

// The mask "mm_dd_yyyy_hh_mm": 04_03_2011_14_05.
std::string Format_Month_Day_Year_Hour_Minute(const Date_Time& time);

// The local time zone's offset from UTC in minutes at that local time (+60 for
// 10:00 in Berlin in winter); 0 when the system cannot tell.
int Local_Offset_Minutes(const Date_Time& time);
// "2026-12-05 09:20:30", for messages that say when something happened.
std::string Format_Date_Time(const Date_Time& time);
// Seconds in one unit of a profile's time: "H" hours, otherwise minutes.
inline double Seconds_Per_Time_Unit(std::string_view time_unit) {
    return time_unit == "H" ? 3600 : 60;
}

// "2026-12-06 14:05", as records, exports and the status page's JSON write a clock time.
std::string Format_Date_Minute(const Date_Time& time);

// Seconds since an arbitrary fixed day, for clocks that count.
long long Seconds_Of(const Date_Time& time);
Date_Time Date_Time_Of_Seconds(long long seconds);

}  // namespace corvanel
