// SPDX-License-Identifier: GPL-3.0-or-later
// "Kiln hot with output off": at 0% output the kiln stays far above its set value and
// does not cool.
#include "run/alarm_rule.h"

namespace corvanel {

namespace {

// At 0% output, this far above the set value without cooling for this long: the kiln is
// held hot by something the controller does not switch.
struct Values {
    double Margin_F = 100, Margin_C = 55;
    double Minutes = 5;
};

const Setting_Bindings<Values>& Lines() {
    static const Setting_Bindings<Values> lines = {
        {Safety_Number("Hot_Off_Margin_F",
                       "Degrees above the set value at 0% output that are hot (F)", 10, 2000),
         &Values::Margin_F},
        {Safety_Number("Hot_Off_Margin_C",
                       "Degrees above the set value at 0% output that are hot (C)", 5, 1100),
         &Values::Margin_C},
        {Safety_Number("Hot_Off_Minutes", "Minutes a kiln that hot may go without cooling", 1, 120),
         &Values::Minutes},
    };
    return lines;
}

class Hot_With_Output_Off final : public Alarm_Rule {
  public:
    const char* Name() const override { return "Kiln hot with output off"; }
    const char* Advice() const override {
        return "The controller gives no power but the kiln stays far hotter than it asks: its "
               "relay may be stuck, and only you can stop it: switch the kiln off at its power "
               "switch now.";
    }
    bool Mailed_Again() const override { return true; }
    Setting_List Settings() const override { return Lines().Settings(); }
    std::optional<std::string_view> Settings_Follow() const override {
        return "Off_Heating_Minutes";
    }
    void Use_Settings(const Safety_Settings& settings) override {
        Values_ = Alarm_Values_Of(Lines(), settings);
        Rise_F_ = settings.Off_Heating_Rise_F, Rise_C_ = settings.Off_Heating_Rise_C;
    }
    bool Check(const Firing_Status& tick, const Alarm_Tick& at) override {
        return !tick.Input_Error && Held_Hot(tick, at);
    }
    void Forget_Readings() override { Hot_ = {}; }
    void Reset() override { Forget_Readings(); }

  private:
    bool Held_Hot(const Firing_Status& tick, const Alarm_Tick& at) {
        const double margin = tick.Temp_Scale == "C" ? Values_.Margin_C : Values_.Margin_F;
        if (tick.Output_Percent > 0 || tick.Measured - tick.Set_Value <= margin) {
            Hot_ = {};
            return false;
        }
        // A reading counts as low only when its neighbour is as low: one low reading is no
        // fall.
        const bool pair = Hot_.Has_Previous;
        const double low = pair ? std::max(Hot_.Previous, tick.Measured) : 0;
        Hot_.Previous = tick.Measured;
        Hot_.Has_Previous = true;
        if (!pair) return at.Active;
        if (at.Active) {
            // It lasts until the kiln has cooled by as much as a rise that would be heating.
            if (Hot_.Level - low <= (tick.Temp_Scale == "C" ? Rise_C_ : Rise_F_)) return true;
            Hot_ = {true, true, true, tick.Measured, low, at.Now};
            return false;
        }
        // A kiln left to itself cools, however slowly: every fall below the level starts
        // the time again. Before the first fall the level follows the kiln up (it coasts on
        // after the power goes off), without starting the time again: a kiln climbing is
        // not cooling.
        if (!Hot_.Has_Level || low < Hot_.Level) {
            Hot_.Cooled = Hot_.Has_Level;
            Hot_.Level = low;
            Hot_.Since = at.Now;
            Hot_.Has_Level = true;
        } else if (!Hot_.Cooled) {
            Hot_.Level = low;
        }
        return static_cast<double>(at.Now - Hot_.Since) >= Values_.Minutes * 60;
    }

    // The stretch far above the set value at 0%: the reading before, the level the kiln
    // must fall below to count as cooling and since when it has not; whether it has
    // cooled at all (until then it may still be coasting up after the power went off).
    struct Held_Hot_Stretch {
        bool Has_Previous = false, Has_Level = false, Cooled = false;
        double Previous = 0, Level = 0;
        long long Since = 0;
    };

    Values Values_;
    double Rise_F_ = 0, Rise_C_ = 0;  // the rise with the output off that is heating
    Held_Hot_Stretch Hot_;
};

}  // namespace

std::unique_ptr<Alarm_Rule> Hot_With_Output_Off_Alarm() {
    return std::make_unique<Hot_With_Output_Off>();
}

}  // namespace corvanel
