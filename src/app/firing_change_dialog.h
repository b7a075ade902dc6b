// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>
#include <string>

#include "run/firing_change.h"

namespace corvanel {

// The question before a change of a running firing: the operator reads what it will do,
// enters the minutes (a hold) or the end and rate (a ramp), and confirms with OK. Returns
// the change as entered, or nothing on Cancel.
class Firing_Change_Dialog {
  public:
    virtual ~Firing_Change_Dialog() = default;
    virtual std::optional<Firing_Change> Ask(const Firing_Change& proposed,
                                             const std::string& question,
                                             const std::string& scale) = 0;
};

}  // namespace corvanel
