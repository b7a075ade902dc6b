// SPDX-License-Identifier: GPL-3.0-or-later
// "Kiln heating with output off": the controller gives no power, yet the kiln rises.
#include <algorithm>

#include "run/alarm_rule.h"

namespace corvanel {

namespace {

struct Values {
    // The rise with the output off counts only within this many minutes: a room warming
    // through a summer day is no stuck relay.
    double Minutes = 20;
};

const Setting_Bindings<Values>& Lines() {
    static const Setting_Bindings<Values> lines = {
        {Safety_Number("Off_Heating_Minutes", "Minutes that rise with the output off is seen in", 1,
                       600),
         &Values::Minutes},
    };
    return lines;
}

class Heating_With_Output_Off final : public Alarm_Rule {
  public:
    const char* Name() const override { return "Kiln heating with output off"; }
    const char* Advice() const override {
        return "The controller has switched off but the kiln is still heating: its relay may "
               "be stuck, and only you can stop it: switch the kiln off at its power switch "
               "now.";
    }
    bool Mailed_Again() const override { return true; }
    Setting_List Settings() const override { return Lines().Settings(); }
    std::optional<std::string_view> Settings_Follow() const override { return "Start_At_Login"; }
    void Use_Settings(const Safety_Settings& settings) override {
        Values_ = Alarm_Values_Of(Lines(), settings);
        Rise_F_ = settings.Off_Heating_Rise_F, Rise_C_ = settings.Off_Heating_Rise_C;
        Confirm_Seconds_ = settings.Alarm_Confirm_Seconds;
    }
    bool Check(const Firing_Status& tick, const Alarm_Tick& at) override {
        const bool heating = !tick.Input_Error && Heating(tick, at);
        return Held_.Confirmed(heating, tick, Confirm_Seconds_) || (heating && at.Active);
    }
    void Forget_Readings() override { Off_ = {}; }
    void Reset() override {
        Forget_Readings();
        Held_ = {};
    }

  private:
    bool Heating(const Firing_Status& tick, const Alarm_Tick& at) {
        const bool output_off = tick.State == Firing_State::Cooling || tick.Output_Percent <= 0;
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
        if (!pair) return at.Active;
        const double rise = tick.Temp_Scale == "C" ? Rise_C_ : Rise_F_;
        if (at.Active) {
            // It lasts while the kiln heats; once it has fallen back by as much as the rise,
            // the watch starts again from here.
            Off_.Highest = std::max(Off_.Highest, high);
            if (Off_.Highest - low <= rise) return true;
            Off_.Lows.assign(1, {at.Now, low});
            return false;
        }
        Off_.Lows.push_back({at.Now, low});
        Keep_Within(Off_.Lows, at.Now, Values_.Minutes);
        const double lowest = std::ranges::min(Off_.Lows, {}, &Alarm_Reading::Measured).Measured;
        if (high - lowest <= rise) return false;
        Off_.Highest = high;
        return true;
    }

    // The stretch with the output off: the reading before (a reading counts as low only
    // when the next one confirms it), the confirmed lows of the last minutes, and once the
    // alarm is on, the highest confirmed reading since.
    struct Output_Off {
        bool Has_Previous = false;
        double Previous = 0, Highest = 0;
        std::deque<Alarm_Reading> Lows;
    };

    Values Values_;
    double Rise_F_ = 0, Rise_C_ = 0;  // the rise with the output off that is heating
    double Confirm_Seconds_ = 0;
    Confirmation Held_;
    Output_Off Off_;
};

}  // namespace

std::unique_ptr<Alarm_Rule> Heating_With_Output_Off_Alarm() {
    return std::make_unique<Heating_With_Output_Off>();
}

}  // namespace corvanel
