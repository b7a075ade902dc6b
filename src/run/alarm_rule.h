// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <deque>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "run/firing_status.h"
#include "run/safety_settings.h"
#include "setup/setting.h"

namespace corvanel {

// What the supervisor tells a rule with each tick.
struct Alarm_Tick {
    long long Now = 0;    // the tick's clock, in seconds
    bool Ours = false;    // a run or its watch, not State Monitor (see Safety_Supervisor)
    bool Active = false;  // the alarm was on after the last tick
};

// One safety alarm: what it is called and what it means for the run, the settings it
// owns, and its check, fed one tick at a time, with the state it keeps between ticks.
// A new alarm is a file of its own with a rule and one line in the list (alarm_rules.cpp).
class Alarm_Rule {
  public:
    virtual ~Alarm_Rule() = default;

    // The English name ("Over-temperature"): the detail of the alarm's firing event, and
    // what the operator reads, translated.
    virtual const char* Name() const = 0;
    // What the operator must do about it, in plain words; "" when its name says enough.
    virtual const char* Advice() const { return ""; }
    // The kiln must not go on heating after it: the run ends with a soft off.
    virtual bool Ends_Run() const { return false; }
    // Mailed again every quarter of an hour while it lasts: nobody may have read the first.
    virtual bool Mailed_Again() const { return false; }

    // Its lines of Setup/Safety.txt, and the key of the line they follow there ("" for
    // the file's first lines). A rule added later leaves the place alone: its lines go at
    // the end, so that an older file keeps its lines and is completed quietly.
    virtual Setting_List Settings() const { return {}; }
    virtual std::optional<std::string_view> Settings_Follow() const { return std::nullopt; }
    // Its thresholds from the settings in force; what it has seen so far is kept.
    virtual void Use_Settings(const Safety_Settings& settings) = 0;

    // A tick whose exchange failed carries the last good readings, not the kiln's: a rule
    // that reads the kiln is not asked then, forgets its readings and keeps its state.
    virtual bool Checks_Failed_Exchanges() const { return false; }
    // Whether the alarm is on after this tick.
    virtual bool Check(const Firing_Status& tick, const Alarm_Tick& at) = 0;
    // The readings kept of the kiln go: they were of another scale, or across a failed
    // exchange, and the windows measured with them would be wrong.
    virtual void Forget_Readings() {}
    // A new stretch of run: nothing seen before says anything about the kiln now.
    virtual void Reset() = 0;
};

// The list: every alarm, in the order they are checked, said and written. The same rules,
// fresh, for each supervisor; the shared copy answers for names and settings.
std::vector<std::unique_ptr<Alarm_Rule>> Make_Alarm_Rules();
const std::vector<std::unique_ptr<Alarm_Rule>>& Alarm_Rules();

// An alarm by its place in the list: the same in every supervisor.
class Safety_Alarm {
  public:
    explicit Safety_Alarm(std::size_t index) : Index_(index) {}
    std::size_t Index() const { return Index_; }
    const Alarm_Rule& Rule() const { return *Alarm_Rules()[Index_]; }
    bool operator==(const Safety_Alarm&) const = default;

  private:
    std::size_t Index_;
};

// ---- shared by the rules ----

struct Alarm_Reading {
    long long Seconds;
    double Measured;
};
// Readings taken while a condition held without a break, reaching back `minutes` (plus
// the one reading just before that, the window's starting point).
void Keep_Within(std::deque<Alarm_Reading>& readings, long long now, double minutes);

// How many hours the kiln at `measured` is behind the plan at `elapsed` (in the plan's
// time unit, "M" or "H"): since when the plan has asked for more than that; 0 when the
// kiln is where the plan is or ahead of it.
double Hours_Behind_Plan(const Plan_Points& plan, double elapsed, double measured,
                         const std::string& time_unit);

// How long a condition has held on readings in a row: one bad reading is noise, so an
// alarm that ends the firing waits for a second one and the set seconds.
struct Confirmation {
    int Readings = 0;
    double Seconds = 0;
    long long Last = 0;  // the clock of the last reading, in seconds

    // Counts this tick; whether the condition is now confirmed.
    bool Confirmed(bool condition, const Firing_Status& tick, double seconds);
};

}  // namespace corvanel
