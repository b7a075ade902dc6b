// SPDX-License-Identifier: GPL-3.0-or-later
// "Over-temperature": the kiln far above the profile's top, or risen with the output off.
#include <algorithm>

#include "run/alarm_rule.h"

namespace corvanel {

namespace {

struct Values {
    bool Alarm = true;
    double Margin = 50;               // above the profile's top, or risen unpowered
    double Stuck_Relay_Minutes = 20;  // the stretch of 0% output that rise is seen in
};

const Setting_Bindings<Values>& Lines() {
    static const Setting_Bindings<Values> lines = {
        {Safety_Switch("Over_Temperature_Alarm", "Over-temperature alarm"), &Values::Alarm},
        {Safety_Number("Over_Temperature_Margin", "Degrees above the profile's top", 1, 1000),
         &Values::Margin},
        {Safety_Number("Stuck_Relay_Minutes", "Minutes at 0% output", 1, 600),
         &Values::Stuck_Relay_Minutes},
    };
    return lines;
}

class Over_Temperature final : public Alarm_Rule {
  public:
    const char* Name() const override { return "Over-temperature"; }
    bool Ends_Run() const override { return true; }
    Setting_List Settings() const override { return Lines().Settings(); }
    std::optional<std::string_view> Settings_Follow() const override { return "Heat_Minutes"; }
    void Use_Settings(const Safety_Settings& settings) override {
        Values_ = Alarm_Values_Of(Lines(), settings);
        Confirm_Seconds_ = settings.Alarm_Confirm_Seconds;
    }
    bool Check(const Firing_Status& tick, const Alarm_Tick& at) override {
        // Once raised it lasts as long as its condition; confirming is for the start.
        const bool over = at.Ours && !tick.Input_Error && Over(tick, at.Now);
        return (Held_.Confirmed(over, tick, Confirm_Seconds_) || (over && at.Active)) &&
               Values_.Alarm;
    }
    void Forget_Readings() override { Unpowered_.clear(); }
    void Reset() override {
        Forget_Readings();
        Held_ = {};
    }

  private:
    bool Over(const Firing_Status& tick, long long now) {
        double top = tick.Measured;
        bool planned = false;
        for (const auto& [elapsed, temperature] : *tick.Plan) {
            top = planned ? std::max(top, temperature) : temperature;
            planned = true;
        }
        if (planned && tick.Measured > top + Values_.Margin) return true;
        // A relay stuck closed: the controller has switched off, yet the kiln climbs.
        if (tick.Output_Percent > 0) {
            Unpowered_.clear();
            return false;
        }
        Unpowered_.push_back({now, tick.Measured});
        Keep_Within(Unpowered_, now, Values_.Stuck_Relay_Minutes);
        // A reading is as low as the next one confirms: one low reading is no starting point.
        double lowest = tick.Measured;
        for (std::size_t i = 1; i < Unpowered_.size(); ++i)
            lowest = std::min(lowest, std::max(Unpowered_[i - 1].Measured, Unpowered_[i].Measured));
        return tick.Measured - lowest > Values_.Margin;
    }

    Values Values_;
    double Confirm_Seconds_ = 0;
    Confirmation Held_;
    std::deque<Alarm_Reading> Unpowered_;
};

}  // namespace

std::unique_ptr<Alarm_Rule> Over_Temperature_Alarm() {
    return std::make_unique<Over_Temperature>();
}

}  // namespace corvanel
