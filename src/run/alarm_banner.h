// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <vector>

#include "common/clock.h"

namespace corvanel {

// The alarm banner across the run window, as state: one line per alarm (or notice) since
// the last acknowledgement, saying when it started or ended. Red while any alarm is on; it
// calls for attention (a beep every tick) until the operator acknowledges it.
class Alarm_Banner {
  public:
    // `name` is the alarm's English name; lines are shown translated.
    void Raise(const std::string& name, const Date_Time& when);
    void Clear(const std::string& name, const Date_Time& when);
    // A line that tells something without sounding: it stays until acknowledged.
    void Notice(const std::string& text) { Lines_.push_back({"", false, text}); }
    // "Acknowledge": the beeping stops and the lines of ended alarms go.
    void Acknowledge();

    bool Visible() const { return !Lines_.empty(); }
    bool Alarm_On() const;
    bool Wants_Attention() const { return !Acknowledged_; }
    std::string Text() const;  // the lines joined with CR LF

  private:
    struct Line {
        std::string Name;
        bool On;
        std::string Text;
    };
    std::vector<Line> Lines_;
    bool Acknowledged_ = true;
};

}  // namespace corvanel
