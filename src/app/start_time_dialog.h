// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>
#include <string>
#include <utility>

namespace corvanel {

// What the clock time of Start later is: when the firing starts, or when the kiln should
// be at the profile's top or done ("ready by"), the start worked out back from it.
enum class Start_Time_Meaning { Start, Peak, End };

struct Start_Time_Answer {
    int Hour = 0, Minute = 0;
    Start_Time_Meaning Meaning = Start_Time_Meaning::Start;
};

// The question of Start later: a clock time and what it means, or nothing on Cancel.
class Start_Time_Dialog {
  public:
    virtual ~Start_Time_Dialog() = default;
    virtual std::optional<Start_Time_Answer> Ask_Start_Time(const std::string& question,
                                                            std::pair<int, int> proposed) = 0;
};

}  // namespace corvanel
