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
// A stuck relay's alarm is mailed again after this long.
constexpr long long Mail_Again_Seconds = 15 * 60;

}  // namespace

void Run_Safety::Run_Ended(const Firing_Status& last, const Safety_Settings& settings) {
    if (last.Exchange_Failed || last.Input_Error ||
        last.Measured >= settings.Cooling_End(last.Temp_Scale)) {
        Cooling_Since_ = Seconds_Of(last.Clock);
    }
}

double Run_Safety::Seconds_Cooling(const Date_Time& now) const {
    return Cooling_Since_ ? static_cast<double>(Seconds_Of(now) - *Cooling_Since_) : 0;
}

std::optional<std::string> Run_Safety::Cooling_Ends(const Firing_Status& tick,
                                                    const Safety_Settings& settings) {
    if (!Cooling() || !Active_.empty()) return std::nullopt;
    std::optional<std::string> why;
    const double end = settings.Cooling_End(tick.Temp_Scale);
    if (Seconds_Cooling(tick.Clock) >= Longest_Cooling_Seconds) {
        why = "48 hours";
    } else if (!tick.Exchange_Failed && !tick.Input_Error && tick.Measured < end) {
        why = "below " + Format_Number(end) + " " + tick.Temp_Scale;
    }
    if (why) End_Cooling();
    return why;
}

void Run_Safety::Mailed(Safety_Alarm alarm, const Date_Time& when) {
    if (alarm == Safety_Alarm::Heating_With_Output_Off) Heating_Mailed_ = Seconds_Of(when);
}

bool Run_Safety::Mail_Again(const Date_Time& now) {
    if (!Supervisor_.Active(Safety_Alarm::Heating_With_Output_Off)) {
        Heating_Mailed_.reset();
        return false;
    }
    if (Heating_Mailed_ && Seconds_Of(now) - *Heating_Mailed_ < Mail_Again_Seconds) return false;
    Heating_Mailed_ = Seconds_Of(now);
    return true;
}

}  // namespace corvanel
