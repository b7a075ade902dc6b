// SPDX-License-Identifier: GPL-3.0-or-later
#include "run/run_safety.h"

#include "common/text.h"

namespace corvanel {

Safety_Changes Run_Safety::Check(const Firing_Status& tick) {
    Safety_Changes changes = Supervisor_.Check(tick);
    Active_ = Supervisor_.Active_Names();
    return changes;
}

namespace {

// The longest a kiln is watched after its run: by then it is cold, or the reading is wrong.
constexpr double Longest_Cooling_Seconds = 48 * 3600;
// An alarm mailed again while it lasts is sent again after this long.
constexpr long long Mail_Again_Seconds = 15 * 60;

}  // namespace

void Run_Safety::Run_Ended(const Firing_Status& last, const Safety_Settings& settings) {
    if (last.Exchange_Failed || last.Input_Error || !last.Alarms.empty() ||
        last.Measured >= settings.Cooling_End(last.Temp_Scale)) {
        Cooling_Since_ = Seconds_Of(last.Clock);
    }
}

double Run_Safety::Seconds_Cooling(const Date_Time& now) const {
    return Cooling_Since_ ? static_cast<double>(Seconds_Of(now) - *Cooling_Since_) : 0;
}

std::optional<std::string> Run_Safety::Watch_Ends(double seconds, const Firing_Status& tick,
                                                  const Safety_Settings& settings) {
    const double end = settings.Cooling_End(tick.Temp_Scale);
    if (seconds >= Longest_Cooling_Seconds) return "48 hours";
    if (!tick.Exchange_Failed && !tick.Input_Error && tick.Measured < end)
        return "below " + Format_Number(end) + " " + tick.Temp_Scale;
    return std::nullopt;
}

std::optional<std::string> Run_Safety::Cooling_Ends(const Firing_Status& tick,
                                                    const Safety_Settings& settings) {
    if (!Cooling() || !Active_.empty()) return std::nullopt;
    std::optional<std::string> why = Watch_Ends(Seconds_Cooling(tick.Clock), tick, settings);
    if (why) End_Cooling();
    return why;
}

void Run_Safety::Begin_Alarm_Watch(const Date_Time& when) {
    Alarm_Watch_Since_ = Seconds_Of(when);
    Alarm_Record_ = Formatted("kiln_alarm_%02d_%02d_%04d_%02d_%02d_%02d.txt", when.Day, when.Month,
                              when.Year, when.Hour, when.Minute, when.Second);
}

double Run_Safety::Seconds_Of_Alarm_Watch(const Date_Time& now) const {
    return Alarm_Watch_Since_ ? static_cast<double>(Seconds_Of(now) - *Alarm_Watch_Since_) : 0;
}

std::optional<std::string> Run_Safety::Alarm_Watch_Ends(const Firing_Status& tick,
                                                        const Safety_Settings& settings) {
    if (!Alarm_Watch() || !Active_.empty()) return std::nullopt;
    std::optional<std::string> why = Watch_Ends(Seconds_Of_Alarm_Watch(tick.Clock), tick, settings);
    if (why) End_Alarm_Watch();
    return why;
}

void Run_Safety::End_Alarm_Watch() {
    Alarm_Watch_Since_.reset();
    Alarm_Record_.clear();
}

void Run_Safety::Mailed(Safety_Alarm alarm, const Date_Time& when) {
    if (alarm.Rule().Mailed_Again()) Mailed_At_[alarm.Index()] = Seconds_Of(when);
}

std::vector<Safety_Alarm> Run_Safety::Mail_Again(const Date_Time& now) {
    std::vector<Safety_Alarm> due;
    for (std::size_t i = 0; i < Mailed_At_.size(); ++i) {
        const Safety_Alarm alarm(i);
        std::optional<long long>& mailed = Mailed_At_[i];
        if (!alarm.Rule().Mailed_Again() || !Supervisor_.Active(alarm)) {
            mailed.reset();
            continue;
        }
        if (mailed && Seconds_Of(now) - *mailed < Mail_Again_Seconds) continue;
        mailed = Seconds_Of(now);
        due.push_back(alarm);
    }
    return due;
}

}  // namespace corvanel
