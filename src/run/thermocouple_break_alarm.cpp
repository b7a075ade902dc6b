// SPDX-License-Identifier: GPL-3.0-or-later
// "Thermocouple break": the controller reports an input error on readings in a row.
#include "run/alarm_rule.h"

namespace corvanel {

namespace {

struct Values {
    bool Alarm = true;
    double Ticks = 2;
};

const Setting_Bindings<Values>& Lines() {
    static const Setting_Bindings<Values> lines = {
        {Safety_Switch("Thermocouple_Break_Alarm", "Thermocouple break alarm"), &Values::Alarm},
        {Safety_Number("Thermocouple_Break_Ticks",
                       "Readings in a row with an input error before a thermocouple break", 1, 100,
                       true),
         &Values::Ticks},
    };
    return lines;
}

class Thermocouple_Break final : public Alarm_Rule {
  public:
    const char* Name() const override { return "Thermocouple break"; }
    bool Ends_Run() const override { return true; }
    Setting_List Settings() const override { return Lines().Settings(); }
    std::optional<std::string_view> Settings_Follow() const override {
        return "Stuck_Relay_Minutes";
    }
    void Use_Settings(const Safety_Settings& settings) override {
        Values_ = Alarm_Values_Of(Lines(), settings);
        Confirm_Seconds_ = settings.Alarm_Confirm_Seconds;
    }
    bool Check(const Firing_Status& tick, const Alarm_Tick& at) override {
        const bool held = Held_.Confirmed(tick.Input_Error, tick, Confirm_Seconds_);
        return at.Ours && held && Held_.Readings >= Values_.Ticks && Values_.Alarm;
    }
    void Reset() override { Held_ = {}; }

  private:
    Values Values_;
    double Confirm_Seconds_ = 0;
    Confirmation Held_;
};

}  // namespace

std::unique_ptr<Alarm_Rule> Thermocouple_Break_Alarm() {
    return std::make_unique<Thermocouple_Break>();
}

}  // namespace corvanel
