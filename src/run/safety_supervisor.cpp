// SPDX-License-Identifier: GPL-3.0-or-later
#include "run/safety_supervisor.h"

#include <algorithm>

namespace corvanel {

namespace {

// Output at or above this is the controller giving all it has.
constexpr double Full_Output_Percent = 95;

}  // namespace

const char* Safety_Alarm_Name(Safety_Alarm alarm) {
    switch (alarm) {
        case Safety_Alarm::Controller_Lost:
            return "Controller lost";
        case Safety_Alarm::Failure_To_Heat:
            return "Failure to heat";
        case Safety_Alarm::Over_Temperature:
            return "Over-temperature";
        case Safety_Alarm::Thermocouple_Break:
            return "Thermocouple break";
        case Safety_Alarm::Heating_With_Output_Off:
            return "Kiln heating with output off";
        case Safety_Alarm::Hot_With_Output_Off:
            return "Kiln hot with output off";
    }
    return "";
}

const char* Safety_Alarm_Advice(Safety_Alarm alarm) {
    switch (alarm) {
        case Safety_Alarm::Heating_With_Output_Off:
            return "The controller has switched off but the kiln is still heating: its relay may "
                   "be stuck, and only you can stop it: switch the kiln off at its power switch "
                   "now.";
        case Safety_Alarm::Hot_With_Output_Off:
            return "The controller gives no power but the kiln stays far hotter than it asks: its "
                   "relay may be stuck, and only you can stop it: switch the kiln off at its power "
                   "switch now.";
        default:
            return "";
    }
}

bool Safety_Alarm_Ends_Run(Safety_Alarm alarm) {
    return alarm == Safety_Alarm::Over_Temperature || alarm == Safety_Alarm::Thermocouple_Break;
}

void Safety_Supervisor::Keep_Within(std::deque<Reading>& readings, long long now, double minutes) {
    const double start = static_cast<double>(now) - minutes * 60;
    while (readings.size() >= 2 && static_cast<double>(readings[1].Seconds) <= start) {
        readings.pop_front();
    }
}

bool Safety_Supervisor::Confirmed(Confirmation& held, bool condition,
                                  const Firing_Status& tick) const {
    if (!condition) {
        held = {};
        return false;
    }
    // The first reading starts the count; each one after it adds the time since the last,
    // by the clock: a tick late or a clock that jumped has lasted what it lasted.
    const long long now = Seconds_Of(tick.Clock);
    if (held.Readings++ > 0) held.Seconds += static_cast<double>(std::max(now - held.Last, 0LL));
    held.Last = now;
    return held.Readings >= 2 && held.Seconds >= Settings_.Alarm_Confirm_Seconds;
}

bool Safety_Supervisor::Failure_To_Heat(const Firing_Status& tick, long long now) {
    const double gap = tick.Temp_Scale == "C" ? Settings_.Heat_Gap_C : Settings_.Heat_Gap_F;
    if (tick.Set_Value - tick.Measured <= gap || tick.Output_Percent < Full_Output_Percent) {
        Full_Power_.clear();
        return false;
    }
    Full_Power_.push_back({now, tick.Measured});
    Keep_Within(Full_Power_, now, Settings_.Heat_Minutes);
    // Once raised it holds while the kiln still lags at full power: a rise that creeps
    // across the threshold and back is the same failing kiln, not a new alarm.
    if (Active(Safety_Alarm::Failure_To_Heat)) return true;
    const Reading& first = Full_Power_.front();
    const bool long_enough =
        static_cast<double>(now - first.Seconds) >= Settings_.Heat_Minutes * 60;
    return long_enough && tick.Measured - first.Measured < Settings_.Heat_Rise;
}

bool Safety_Supervisor::Over_Temperature(const Firing_Status& tick, long long now) {
    double top = tick.Measured;
    bool planned = false;
    for (const auto& [elapsed, temperature] : *tick.Plan) {
        top = planned ? std::max(top, temperature) : temperature;
        planned = true;
    }
    if (planned && tick.Measured > top + Settings_.Over_Temperature_Margin) return true;
    // A relay stuck closed: the controller has switched off, yet the kiln climbs.
    if (tick.Output_Percent > 0) {
        Unpowered_.clear();
        return false;
    }
    Unpowered_.push_back({now, tick.Measured});
    Keep_Within(Unpowered_, now, Settings_.Stuck_Relay_Minutes);
    // A reading is as low as the next one confirms: one low reading is no starting point.
    double lowest = tick.Measured;
    for (std::size_t i = 1; i < Unpowered_.size(); ++i)
        lowest = std::min(lowest, std::max(Unpowered_[i - 1].Measured, Unpowered_[i].Measured));
    return tick.Measured - lowest > Settings_.Over_Temperature_Margin;
}

bool Safety_Supervisor::Heating_With_Output_Off(const Firing_Status& tick, long long now) {
    const bool output_off = tick.State == Firing_State::Cooling || tick.Output_Percent <= 0;
    const bool active = Active(Safety_Alarm::Heating_With_Output_Off);
    if (!output_off) {
        Off_ = {};
        return false;
    }
    // Two readings in a row stand for the kiln: a low one only as high as its neighbour,
    // a high one only as low. One reading off either way moves nothing.
    const bool pair = Off_.Has_Previous;
    const double low = pair ? std::max(Off_.Previous, tick.Measured) : 0;
    const double high = pair ? std::min(Off_.Previous, tick.Measured) : 0;
    Off_.Previous = tick.Measured;
    Off_.Has_Previous = true;
    if (!pair) return active;
    const double rise = Settings_.Off_Heating_Rise(tick.Temp_Scale);
    if (active) {
        // It lasts while the kiln heats; once it has fallen back by as much as the rise,
        // the watch starts again from here.
        Off_.Highest = std::max(Off_.Highest, high);
        if (Off_.Highest - low <= rise) return true;
        Off_.Lows.assign(1, {now, low});
        return false;
    }
    Off_.Lows.push_back({now, low});
    Keep_Within(Off_.Lows, now, Settings_.Off_Heating_Minutes);
    const double lowest = std::ranges::min(Off_.Lows, {}, &Reading::Measured).Measured;
    if (high - lowest <= rise) return false;
    Off_.Highest = high;
    return true;
}

bool Safety_Supervisor::Hot_With_Output_Off(const Firing_Status& tick, long long now) {
    const bool active = Active(Safety_Alarm::Hot_With_Output_Off);
    if (tick.Output_Percent > 0 ||
        tick.Measured - tick.Set_Value <= Settings_.Hot_Off_Margin(tick.Temp_Scale)) {
        Hot_ = {};
        return false;
    }
    // A reading counts as low only when its neighbour is as low: one low reading is no fall.
    const bool pair = Hot_.Has_Previous;
    const double low = pair ? std::max(Hot_.Previous, tick.Measured) : 0;
    Hot_.Previous = tick.Measured;
    Hot_.Has_Previous = true;
    if (!pair) return active;
    if (active) {
        // It lasts until the kiln has cooled by as much as a rise that would be heating.
        if (Hot_.Level - low <= Settings_.Off_Heating_Rise(tick.Temp_Scale)) return true;
        Hot_ = {true, true, true, tick.Measured, low, now};
        return false;
    }
    // A kiln left to itself cools, however slowly: every fall below the level starts the
    // time again. Before the first fall the level follows the kiln up (it coasts on after
    // the power goes off), without starting the time again: a kiln climbing is not cooling.
    if (!Hot_.Has_Level || low < Hot_.Level) {
        Hot_.Cooled = Hot_.Has_Level;
        Hot_.Level = low;
        Hot_.Since = now;
        Hot_.Has_Level = true;
    } else if (!Hot_.Cooled) {
        Hot_.Level = low;
    }
    return static_cast<double>(now - Hot_.Since) >= Settings_.Hot_Off_Minutes * 60;
}

void Safety_Supervisor::Forget_Readings() {
    Full_Power_.clear();
    Unpowered_.clear();
    Off_ = {};
    Hot_ = {};
}

Safety_Changes Safety_Supervisor::Check(const Firing_Status& tick) {
    const long long now = Seconds_Of(tick.Clock);
    std::array<bool, Safety_Alarm_Count> now_on = Active_;
    auto set = [&now_on](Safety_Alarm alarm, bool on) {
        now_on[static_cast<std::size_t>(alarm)] = on;
    };
    if (tick.Temp_Scale != Scale_) {
        Forget_Readings();
        Scale_ = tick.Temp_Scale;
    }
    // Neither a run nor its watch: only the kiln heating or held hot by itself is ours to
    // raise (over-temperature's stuck relay is heating with the output off, said plainer).
    const bool ours = tick.State != Firing_State::Monitor;

    Failed_Ticks_ = tick.Exchange_Failed ? Failed_Ticks_ + 1 : 0;
    set(Safety_Alarm::Controller_Lost, ours && Failed_Ticks_ >= Settings_.Controller_Lost_Ticks &&
                                           Settings_.Controller_Lost_Alarm);
    if (tick.Exchange_Failed) {
        // The readings are the last good ones, not the kiln's: they prove nothing, and
        // the windows measured across the gap would be wrong.
        Forget_Readings();
    } else {
        const bool input_error_held = Confirmed(Input_Error_Held_, tick.Input_Error, tick);
        set(Safety_Alarm::Thermocouple_Break,
            ours && input_error_held &&
                Input_Error_Held_.Readings >= Settings_.Thermocouple_Break_Ticks &&
                Settings_.Thermocouple_Break_Alarm);
        // An open sensor reads nothing a heating check could use.
        const bool readable = !tick.Input_Error;
        set(Safety_Alarm::Failure_To_Heat,
            ours && readable && Failure_To_Heat(tick, now) && Settings_.Failure_To_Heat_Alarm);
        // Once raised it lasts as long as its condition; confirming is for the start.
        const bool over = ours && readable && Over_Temperature(tick, now);
        set(Safety_Alarm::Over_Temperature, (Confirmed(Over_Temperature_Held_, over, tick) ||
                                             (over && Active(Safety_Alarm::Over_Temperature))) &&
                                                Settings_.Over_Temperature_Alarm);
        const bool heating = readable && Heating_With_Output_Off(tick, now);
        set(Safety_Alarm::Heating_With_Output_Off,
            Confirmed(Heating_Held_, heating, tick) ||
                (heating && Active(Safety_Alarm::Heating_With_Output_Off)));
        set(Safety_Alarm::Hot_With_Output_Off, readable && Hot_With_Output_Off(tick, now));
    }

    Safety_Changes changes;
    for (std::size_t i = 0; i < Safety_Alarm_Count; ++i) {
        if (now_on[i] == Active_[i]) continue;
        (now_on[i] ? changes.Raised : changes.Cleared).push_back(static_cast<Safety_Alarm>(i));
    }
    Active_ = now_on;
    return changes;
}

Safety_Changes Safety_Supervisor::Reset() {
    Safety_Changes changes;
    for (std::size_t i = 0; i < Safety_Alarm_Count; ++i) {
        if (Active_[i]) changes.Cleared.push_back(static_cast<Safety_Alarm>(i));
    }
    Active_ = {};
    Failed_Ticks_ = 0;
    Input_Error_Held_ = Over_Temperature_Held_ = Heating_Held_ = {};
    Forget_Readings();
    return changes;
}

std::vector<std::string> Safety_Supervisor::Active_Names() const {
    std::vector<std::string> names;
    for (std::size_t i = 0; i < Safety_Alarm_Count; ++i) {
        if (Active_[i]) names.emplace_back(Safety_Alarm_Name(static_cast<Safety_Alarm>(i)));
    }
    return names;
}

}  // namespace corvanel
