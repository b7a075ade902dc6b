// SPDX-License-Identifier: GPL-3.0-or-later
// "Firing cannot finish": the kiln is hours behind its plan and hardly climbs any more, so
// it would fire on for ever (worn elements, a heavy load, a failing relay).
#include <algorithm>

#include "run/alarm_rule.h"

namespace corvanel {

namespace {

// The kiln's climb is measured over this long before it can be said to be too slow.
constexpr double Climb_Window_Minutes = 60;

struct Values {
    bool Alarm = true;
    double Climb_F = 27, Climb_C = 15;  // degrees an hour: less is too slow ...
    double Behind_Hours = 2;            // ... this far behind the plan
};

const Setting_Bindings<Values>& Lines() {
    static const Setting_Bindings<Values> lines = {
        {Safety_Switch("Never_Finishes_Alarm", "Stop a firing that cannot finish"), &Values::Alarm},
        {Safety_Number("Never_Finishes_Climb_F", "Climbing slower than, degrees an hour (F)", 1,
                       500),
         &Values::Climb_F},
        {Safety_Number("Never_Finishes_Climb_C", "Climbing slower than, degrees an hour (C)", 1,
                       280),
         &Values::Climb_C},
        {Safety_Number("Never_Finishes_Hours", "Hours behind the plan", 0.5, 48),
         &Values::Behind_Hours},
    };
    return lines;
}

class Never_Finishes final : public Alarm_Rule {
  public:
    const char* Name() const override { return "Firing cannot finish"; }
    const char* Advice() const override {
        return "The kiln is hours behind the profile and climbs too slowly to ever finish it: "
               "the firing was stopped. The elements may be failing: check them before the next "
               "firing.";
    }
    bool Ends_Run() const override { return true; }
    Setting_List Settings() const override { return Lines().Settings(); }
    void Use_Settings(const Safety_Settings& settings) override {
        Values_ = Alarm_Values_Of(Lines(), settings);
    }
    bool Check(const Firing_Status& tick, const Alarm_Tick& at) override {
        if (!at.Ours || tick.State != Firing_State::Running || tick.Input_Error || !tick.Plan) {
            Forget_Readings();
            return false;
        }
        Climb_.push_back({at.Now, tick.Measured});
        Keep_Within(Climb_, at.Now, Climb_Window_Minutes);
        const Alarm_Reading& first = Climb_.front();
        const double hours = static_cast<double>(at.Now - first.Seconds) / 3600;
        if (hours * 60 < Climb_Window_Minutes) return false;
        const double climb = (tick.Measured - first.Measured) / hours;
        const double slowest = tick.Temp_Scale == "C" ? Values_.Climb_C : Values_.Climb_F;
        return Values_.Alarm && climb < slowest &&
               Hours_Behind_Plan(*tick.Plan, tick.Elapsed, tick.Measured, tick.Time_Unit) >=
                   Values_.Behind_Hours;
    }
    void Forget_Readings() override { Climb_.clear(); }
    void Reset() override { Forget_Readings(); }

  private:
    Values Values_;
    std::deque<Alarm_Reading> Climb_;
};

}  // namespace

double Hours_Behind_Plan(const Plan_Points& plan, double elapsed, double measured,
                         const std::string& time_unit) {
    // The last time up to now at which the plan was no hotter than the kiln is now.
    double reached = 0;
    for (std::size_t k = plan.size(); k-- > 1;) {
        auto [x0, t0] = plan[k - 1];
        auto [x1, t1] = plan[k];
        if (x0 > elapsed) continue;
        // A planned cool: a kiln at or below it is where the plan takes it, never behind.
        if (t1 < t0) return 0;
        if (x1 > elapsed) {
            t1 = x1 > x0 ? t0 + (t1 - t0) * (elapsed - x0) / (x1 - x0) : t1;
            x1 = elapsed;
        }
        if (t1 <= measured) {
            reached = x1;
            break;
        }
        if (t0 <= measured) {
            reached = x0 + (measured - t0) / (t1 - t0) * (x1 - x0);
            break;
        }
    }
    const double behind = std::max(0.0, elapsed - reached);
    return time_unit == "H" ? behind : behind / 60;
}

std::unique_ptr<Alarm_Rule> Never_Finishes_Alarm() {
    return std::make_unique<Never_Finishes>();
}

}  // namespace corvanel
