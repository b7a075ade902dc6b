// SPDX-License-Identifier: GPL-3.0-or-later
// "Controller lost": the controller has not answered for several ticks in a row.
#include "run/alarm_rule.h"

namespace corvanel {

namespace {

struct Values {
    bool Alarm = true;
    double Ticks = 5;  // consecutive ticks whose write or read failed
};

const Setting_Bindings<Values>& Lines() {
    static const Setting_Bindings<Values> lines = {
        {Safety_Switch("Controller_Lost_Alarm", "Controller lost alarm"), &Values::Alarm},
        {Safety_Number("Controller_Lost_Ticks",
                       "Unanswered readings in a row before the controller counts as lost", 1, 1000,
                       true),
         &Values::Ticks},
    };
    return lines;
}

class Controller_Lost final : public Alarm_Rule {
  public:
    const char* Name() const override { return "Controller lost"; }
    Setting_List Settings() const override { return Lines().Settings(); }
    std::optional<std::string_view> Settings_Follow() const override { return ""; }
    void Use_Settings(const Safety_Settings& settings) override {
        Values_ = Alarm_Values_Of(Lines(), settings);
    }
    // The failed exchanges are what it counts.
    bool Checks_Failed_Exchanges() const override { return true; }
    bool Check(const Firing_Status& tick, const Alarm_Tick& at) override {
        Failed_Ticks_ = tick.Exchange_Failed ? Failed_Ticks_ + 1 : 0;
        return at.Ours && Failed_Ticks_ >= Values_.Ticks && Values_.Alarm;
    }
    void Reset() override { Failed_Ticks_ = 0; }

  private:
    Values Values_;
    int Failed_Ticks_ = 0;
};

}  // namespace

std::unique_ptr<Alarm_Rule> Controller_Lost_Alarm() {
    return std::make_unique<Controller_Lost>();
}

}  // namespace corvanel
