// SPDX-License-Identifier: GPL-3.0-or-later
// "Failure to heat": at full power far below its set value, the kiln hardly rises.
#include "run/alarm_rule.h"

namespace corvanel {

namespace {

// Output at or above this is the controller giving all it has.
constexpr double Full_Output_Percent = 95;

struct Values {
    bool Alarm = true;
    double Gap_F = 50, Gap_C = 28;  // set value this far above the measured
    double Rise = 10;               // ... and the kiln rose less than this
    double Minutes = 20;            // ... over this long at full output
};

const Setting_Bindings<Values>& Lines() {
    static const Setting_Bindings<Values> lines = {
        {Safety_Switch("Failure_To_Heat_Alarm", "Failure to heat alarm"), &Values::Alarm},
        {Safety_Number("Heat_Gap_F", "Set value above measured (F)", 1, 1000), &Values::Gap_F},
        {Safety_Number("Heat_Gap_C", "Set value above measured (C)", 1, 600), &Values::Gap_C},
        {Safety_Number("Heat_Rise", "Least rise at full power", 0.1, 1000), &Values::Rise},
        {Safety_Number("Heat_Minutes", "Minutes at full power", 1, 600), &Values::Minutes},
    };
    return lines;
}

class Failure_To_Heat final : public Alarm_Rule {
  public:
    const char* Name() const override { return "Failure to heat"; }
    Setting_List Settings() const override { return Lines().Settings(); }
    std::optional<std::string_view> Settings_Follow() const override {
        return "Controller_Lost_Ticks";
    }
    void Use_Settings(const Safety_Settings& settings) override {
        Values_ = Alarm_Values_Of(Lines(), settings);
    }
    // An open sensor reads nothing a heating check could use.
    bool Check(const Firing_Status& tick, const Alarm_Tick& at) override {
        return at.Ours && !tick.Input_Error && Failing(tick, at) && Values_.Alarm;
    }
    void Forget_Readings() override { Full_Power_.clear(); }
    void Reset() override { Forget_Readings(); }

  private:
    bool Failing(const Firing_Status& tick, const Alarm_Tick& at) {
        const double gap = tick.Temp_Scale == "C" ? Values_.Gap_C : Values_.Gap_F;
        if (tick.Set_Value - tick.Measured <= gap || tick.Output_Percent < Full_Output_Percent) {
            Full_Power_.clear();
            return false;
        }
        Full_Power_.push_back({at.Now, tick.Measured});
        Keep_Within(Full_Power_, at.Now, Values_.Minutes);
        // Once raised it holds while the kiln still lags at full power: a rise that creeps
        // across the threshold and back is the same failing kiln, not a new alarm.
        if (at.Active) return true;
        const Alarm_Reading& first = Full_Power_.front();
        const bool long_enough =
            static_cast<double>(at.Now - first.Seconds) >= Values_.Minutes * 60;
        return long_enough && tick.Measured - first.Measured < Values_.Rise;
    }

    Values Values_;
    std::deque<Alarm_Reading> Full_Power_;
};

}  // namespace

std::unique_ptr<Alarm_Rule> Failure_To_Heat_Alarm() {
    return std::make_unique<Failure_To_Heat>();
}

}  // namespace corvanel
