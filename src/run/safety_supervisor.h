// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <deque>
#include <string>
#include <vector>

#include "run/firing_status.h"
#include "run/safety_settings.h"

namespace corvanel {

enum class Safety_Alarm {
    Controller_Lost,
    Failure_To_Heat,
    Over_Temperature,
    Thermocouple_Break,
    Heating_With_Output_Off,
    Hot_With_Output_Off,
};
inline constexpr std::size_t Safety_Alarm_Count = 6;

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
// before, between and after firings. Outside a run and its watch (State Monitor) only a
// kiln heating or held hot with the output off is an alarm: nothing of ours fires it, so
// a silent cable or an open sensor there is no emergency, and a set value the operator
// wrote at the front panel is no profile to keep to. What it decides depends only on the
// ticks it was given since the last reset and on its settings.
class Safety_Supervisor {
  public:
    explicit Safety_Supervisor(const Safety_Settings& settings = {}) : Settings_(settings) {}

    // New thresholds; what was seen so far is kept.
    void Use_Settings(const Safety_Settings& settings) { Settings_ = settings; }

    // One control tick of a run: the alarms that started and ended with it.
    Safety_Changes Check(const Firing_Status& tick);

    // A new stretch of run (start or resume): what came before says nothing about the
    // kiln now, so the history goes and every active alarm ends.
    Safety_Changes Reset();

    bool Active(Safety_Alarm alarm) const { return Active_[static_cast<std::size_t>(alarm)]; }
    std::vector<std::string> Active_Names() const;

  private:
    struct Reading {
        long long Seconds;
        double Measured;
    };
    // Readings taken while a condition held without a break, reaching back `minutes`
    // (plus the one reading just before that, the window's starting point).
    static void Keep_Within(std::deque<Reading>& readings, long long now, double minutes);

    // How long a condition has held on readings in a row: one bad reading is noise, so an
    // alarm that ends the firing waits for a second one and the set seconds.
    struct Confirmation {
        int Readings = 0;
        double Seconds = 0;
        long long Last = 0;  // the clock of the last reading, in seconds
    };
    bool Confirmed(Confirmation& held, bool condition, const Firing_Status& tick) const;

    bool Failure_To_Heat(const Firing_Status& tick, long long now);
    bool Over_Temperature(const Firing_Status& tick, long long now);
    bool Heating_With_Output_Off(const Firing_Status& tick, long long now);
    bool Hot_With_Output_Off(const Firing_Status& tick, long long now);
    // Readings of different scales never meet in one window.
    void Forget_Readings();

    // The stretch with the output off: the reading before (a reading counts as low only
    // when the next one confirms it), the confirmed lows of the last minutes, and once the
    // alarm is on, the highest confirmed reading since.
    struct Output_Off {
        bool Has_Previous = false;
        double Previous = 0, Highest = 0;
        std::deque<Reading> Lows;
    };
    // The stretch far above the set value at 0%: the reading before, the level the kiln
    // must fall below to count as cooling and since when it has not; whether it has
    // cooled at all (until then it may still be coasting up after the power went off).
    struct Held_Hot {
        bool Has_Previous = false, Has_Level = false, Cooled = false;
        double Previous = 0, Level = 0;
        long long Since = 0;
    };

    Safety_Settings Settings_;
    int Failed_Ticks_ = 0;
    Confirmation Input_Error_Held_, Over_Temperature_Held_, Heating_Held_;
    std::deque<Reading> Full_Power_, Unpowered_;
    Output_Off Off_;
    Held_Hot Hot_;
    std::string Scale_;  // of the readings kept
    std::array<bool, Safety_Alarm_Count> Active_{};
};

}  // namespace corvanel
