// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>
#include <string>
#include <utility>

namespace corvanel {

// The question of Start later: a clock time, hours and minutes, or nothing on Cancel.
class Start_Time_Dialog {
  public:
    virtual ~Start_Time_Dialog() = default;
    virtual std::optional<std::pair<int, int>> Ask_Start_Time(const std::string& question,
                                                              std::pair<int, int> proposed) = 0;
};

}  // namespace corvanel
