// SPDX-License-Identifier: GPL-3.0-or-later
#include "common/clock.h"

#include <chrono>
#include <cstdio>
#include <ctime>

#include "common/text.h"

namespace corvanel {

namespace {

// Days from 1970-01-01 to a proleptic Gregorian date (valid for any year).
long long Days_From_Civil(long long y, int m, int d) {
    y -= m <= 2;
    const long long era = (y >= 0 ? y : y - 399) / 400;
    const long long yoe = y - era * 400;
    const long long doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const long long doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + doe - 719468;
}

void Civil_From_Days(long long z, int& y, int& m, int& d) {
    z += 719468;
    const long long era = (z >= 0 ? z : z - 146096) / 146097;
    const long long doe = z - era * 146097;
    const long long yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const long long doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const long long mp = (5 * doy + 2) / 153;
    d = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
    m = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
    y = static_cast<int>(yoe + era * 400 + (m <= 2));
}

long long Floor_Div(long long a, long long b) {
    return a / b - ((a % b != 0) && ((a < 0) != (b < 0)));
}

}  // namespace

Date_Time System_Clock::Now() {
    std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    return {local.tm_year + 1900, local.tm_mon + 1, local.tm_mday,
            local.tm_hour,        local.tm_min,     local.tm_sec};
}

double System_Clock::Steady_Seconds() {
    return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

int Local_Offset_Minutes(const Date_Time& time) {
    std::tm local{};
    local.tm_year = time.Year - 1900;
    local.tm_mon = time.Month - 1;
    local.tm_mday = time.Day;
    local.tm_hour = time.Hour;
    local.tm_min = time.Minute;
    local.tm_sec = time.Second;
    local.tm_isdst = -1;  // let the zone's rules say whether summer time applies
    std::time_t when = std::mktime(&local);
    if (when == static_cast<std::time_t>(-1)) return 0;
    std::tm back{};
    localtime_r(&when, &back);
    return static_cast<int>(back.tm_gmtoff / 60);
}

long long Seconds_Of(const Date_Time& time) {
    return Days_From_Civil(time.Year, time.Month, time.Day) * 86400 + time.Hour * 3600LL +
           time.Minute * 60LL + time.Second;
}

Date_Time Date_Time_Of_Seconds(long long seconds) {
    long long days = Floor_Div(seconds, 86400);
    long long rest = seconds - days * 86400;
    Date_Time time;
    Civil_From_Days(days, time.Year, time.Month, time.Day);
    time.Hour = static_cast<int>(rest / 3600);
    time.Minute = static_cast<int>(rest % 3600 / 60);
    time.Second = static_cast<int>(rest % 60);
    return time;
}

long long Minute_Boundaries_Between(const Date_Time& from, const Date_Time& to) {
    return Floor_Div(Seconds_Of(to), 60) - Floor_Div(Seconds_Of(from), 60);
}

std::string Format_Month_Day_Year_Hour_Minute(const Date_Time& time) {
    return Formatted("%02d_%02d_%04d_%02d_%02d", time.Month, time.Day, time.Year, time.Hour,
                     time.Minute);
}

std::string Format_Date_Time(const Date_Time& time) {
    return Formatted("%04d-%02d-%02d %02d:%02d:%02d", time.Year, time.Month, time.Day, time.Hour,
                     time.Minute, time.Second);
}

std::string Format_Date_Minute(const Date_Time& time) {
    return Formatted("%04d-%02d-%02d %02d:%02d", time.Year, time.Month, time.Day, time.Hour,
                     time.Minute);
}

}  // namespace corvanel
