// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <vector>

#include "common/clock.h"

namespace corvanel {

// How the banner looks: red while an alarm is on that nobody has acknowledged yet,
// amber while acknowledged alarms are still on, pale when it only tells what has ended
// or a notice, hidden when it has nothing to say.
enum class Banner_Look { Hidden, Alarm, Acknowledged, Quiet };

// The alarm banner across the run window, as state: one line per alarm (or notice) of
// this stretch of run, saying when it started or ended. It calls for attention (a beep
// every tick) from an alarm's start until the operator acknowledges it; the lines stay
// until the next RUN PROFILE starts the banner afresh.
class Alarm_Banner {
  public:
    // `name` is the alarm's English name; lines are shown translated.
    void Raise(const std::string& name, const Date_Time& when);
    void Clear(const std::string& name, const Date_Time& when);
    // A line that tells something without sounding: it stays until acknowledged.
    void Notice(const std::string& text) { Lines_.push_back({"", false, false, text}); }
    // A notice that changes while it stands (a count-down): the one beginning with `lead`
    // takes the new text, or it is added. It stays through Acknowledge until dropped.
    void Renew_Notice(const std::string& lead, const std::string& text);
    void Drop_Notice(const std::string& lead);
    // A firing interrupted by a restart that goes on by itself after a count-down: the
    // banner offers "Continue now" and "Do not continue" while it counts.
    void Offer_Continuation(bool offered) { Continuation_Offered_ = offered; }
    bool Continuation_Offered() const { return Continuation_Offered_; }
    // "Acknowledge": the beeping stops, each alarm still on says since when it is known
    // and still present, and the notices go but a standing one. Ended alarms stay said.
    void Acknowledge(const Date_Time& when);
    // RUN PROFILE: nothing of the last stretch of run is shown any more.
    void Start_Afresh() { *this = Alarm_Banner(); }

    bool Visible() const { return !Lines_.empty(); }
    bool Alarm_On() const;
    bool Wants_Attention() const { return !Acknowledged_; }
    Banner_Look Look() const;
    // The Acknowledge button: shown while there is an alarm or a notice to acknowledge.
    bool Acknowledge_Offered() const;
    std::string Text() const;  // the lines joined with CR LF

  private:
    struct Line {
        std::string Name;
        bool On;
        bool Acknowledged;
        std::string Text;
        bool Standing = false;
    };
    std::vector<Line> Lines_;
    bool Acknowledged_ = true;
    bool Continuation_Offered_ = false;
};

}  // namespace corvanel
