// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "common/clock.h"
#include "run/alarm_banner.h"
#include "run/firing_status.h"
#include "run/safety_settings.h"
#include "run/safety_supervisor.h"

namespace corvanel {

// The safety supervision of a run: the supervisor watching each control tick, the banner
// across the run window and the alarms now active, which every firing status carries.
class Run_Safety {
  public:
    void Use_Settings(const Safety_Settings& settings) { Supervisor_.Use_Settings(settings); }

    // One control tick of a run: the alarms that started and ended with it.
    Safety_Changes Check(const Firing_Status& tick);
    // A new stretch of run: every active alarm ends. The active names stay until
    // Forget_Active, so that the endings are published with them.
    Safety_Changes Reset() { return Supervisor_.Reset(); }
    void Forget_Active() { Active_.clear(); }
    // English names, in every firing status.
    const std::vector<std::string>& Active_Alarms() const { return Active_; }

    // The banner.
    void Show_Raised(const std::string& name, const Date_Time& when) { Banner_.Raise(name, when); }
    void Show_Cleared(const std::string& name, const Date_Time& when) { Banner_.Clear(name, when); }
    void Notice(const std::string& text) { Banner_.Notice(text); }
    void Renew_Notice(const std::string& lead, const std::string& text) {
        Banner_.Renew_Notice(lead, text);
    }
    void Drop_Notice(const std::string& lead) { Banner_.Drop_Notice(lead); }
    void Offer_Continuation(bool offered) { Banner_.Offer_Continuation(offered); }
    void Acknowledge(const Date_Time& when) { Banner_.Acknowledge(when); }
    void Start_Banner_Afresh() { Banner_.Start_Afresh(); }
    bool Wants_Attention() const { return Banner_.Wants_Attention(); }
    const Alarm_Banner& Banner() const { return Banner_; }

    // ---- after the run ----
    // A run that ends while the kiln is at or above the settings' end of cooling leaves it
    // watched from the status's clock; so does one whose last reading proves nothing, or
    // one with an alarm on. A cold kiln is still supervised, but not watched as a firing.
    void Run_Ended(const Firing_Status& last, const Safety_Settings& settings);
    bool Cooling() const { return Cooling_Since_.has_value(); }
    double Seconds_Cooling(const Date_Time& now) const;
    // After a monitoring tick: why the watch ends now ("below 150 F", "48 hours"), or
    // nothing while it goes on. Never while an alarm is on, nor on a reading that failed.
    std::optional<std::string> Cooling_Ends(const Firing_Status& tick,
                                            const Safety_Settings& settings);
    void End_Cooling() { Cooling_Since_.reset(); }

    // ---- an alarm outside a firing ----
    // An alarm raised with no run and no watch after one opens a record of its own, named
    // after the moment ("kiln_alarm_05_12_2026_09_03_27.txt", as a log would be), kept a
    // line a minute until the kiln is below the end of cooling with no alarm on, or the
    // operator acknowledges it.
    void Begin_Alarm_Watch(const Date_Time& when);
    bool Alarm_Watch() const { return Alarm_Watch_Since_.has_value(); }
    const std::string& Alarm_Record() const { return Alarm_Record_; }
    double Seconds_Of_Alarm_Watch(const Date_Time& now) const;
    // After a monitoring tick: why the alarm's record ends now, or nothing while it goes on.
    std::optional<std::string> Alarm_Watch_Ends(const Firing_Status& tick,
                                                const Safety_Settings& settings);
    void End_Alarm_Watch();

    // The alarms mailed again (a kiln heating or held hot with the output off) are mailed
    // every quarter of an hour while they last, each on its own count: the alarms due now
    // (and counted as sent).
    void Mailed(Safety_Alarm alarm, const Date_Time& when);
    std::vector<Safety_Alarm> Mail_Again(const Date_Time& now);

  private:
    // Why a watch that has run `seconds` ends with this reading: its longest time, or the
    // kiln read cold; nothing while it goes on.
    static std::optional<std::string> Watch_Ends(double seconds, const Firing_Status& tick,
                                                 const Safety_Settings& settings);
    Safety_Supervisor Supervisor_;
    std::optional<long long> Cooling_Since_;  // seconds of the clock
    std::vector<std::optional<long long>> Mailed_At_ =
        std::vector<std::optional<long long>>(Alarm_Rules().size());
    std::optional<long long> Alarm_Watch_Since_;  // seconds of the clock
    std::string Alarm_Record_;
    Alarm_Banner Banner_;
    std::vector<std::string> Active_;
};

}  // namespace corvanel
