// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "run/alarm_rule.h"
#include "run/firing_status.h"
#include "run/safety_settings.h"

namespace corvanel {

// The alarm's English name: "Controller lost", "Failure to heat", "Over-temperature",
// "Thermocouple break", "Kiln heating with output off", "Kiln hot with output off". It is
// the detail of the alarm's firing event and what the operator reads, translated.
const char* Safety_Alarm_Name(Safety_Alarm alarm);

// Alarms after which the kiln must not go on heating: the run ends with a soft off.
bool Safety_Alarm_Ends_Run(Safety_Alarm alarm);

struct Safety_Changes {
    std::vector<Safety_Alarm> Raised, Cleared;
    bool Empty() const { return Raised.empty() && Cleared.empty(); }
};

// What the operator must do about an alarm, in plain words; "" when its name says enough.
const char* Safety_Alarm_Advice(Safety_Alarm alarm);

// Watches the kiln one tick at a time: a run's control ticks and every monitoring tick,
// before, between and after firings, with the rules of the list (alarm_rule.h). Outside a
// run and its watch (State Monitor) only a kiln heating or held hot with the output off
// is an alarm: nothing of ours fires it, so a silent cable or an open sensor there is no
// emergency, and a set value the operator wrote at the front panel is no profile to keep
// to. What it decides depends only on the ticks it was given since the last reset and on
// its settings.
class Safety_Supervisor {
  public:
    explicit Safety_Supervisor(const Safety_Settings& settings = {});

    // New thresholds; what was seen so far is kept.
    void Use_Settings(const Safety_Settings& settings);

    // One control tick of a run: the alarms that started and ended with it.
    Safety_Changes Check(const Firing_Status& tick);

    // A new stretch of run (start or resume): what came before says nothing about the
    // kiln now, so the history goes and every active alarm ends.
    Safety_Changes Reset();

    bool Active(Safety_Alarm alarm) const { return Active_[alarm.Index()]; }
    std::vector<std::string> Active_Names() const;

  private:
    std::vector<std::unique_ptr<Alarm_Rule>> Rules_;
    std::vector<bool> Active_;
    std::string Scale_;  // of the readings kept
};

}  // namespace corvanel
