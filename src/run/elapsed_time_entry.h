// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

namespace corvanel {

// The operator's edit of the elapsed time: it begins when the box takes the focus and
// ends with Enter (the time is taken) or Escape. While it lasts, the control tick leaves
// the box and the message area alone and a run cannot start.
class Elapsed_Time_Entry {
  public:
    void Begin() { Active_ = true; }
    void End() { Active_ = false; }
    bool Active() const { return Active_; }

    // The box's text as typed: false when it is no number (the last number still counts).
    bool Take(const std::string& text);
    double Entered() const { return Entered_; }

  private:
    bool Active_ = false;
    double Entered_ = 0;
};

}  // namespace corvanel
