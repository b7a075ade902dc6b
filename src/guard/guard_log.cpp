// SPDX-License-Identifier: GPL-3.0-or-later
#include "guard/guard_log.h"

namespace corvanel {

void Guard_Log::Log(const std::string& line) {
    const double now = Seconds_();
    if (Any_ && line == Last_) {
        ++Repeats_;
        if (now - Counted_Since_ >= Every_) {
            Say_Count();
            Counted_Since_ = now;
        }
        return;
    }
    Say_Count();
    Write_(line);
    Last_ = line;
    Any_ = true;
    Counted_Since_ = now;
}

void Guard_Log::Say_Count() {
    if (Repeats_ == 0) return;
    Write_("... (the same " + std::to_string(Repeats_) + " more time" + (Repeats_ == 1 ? "" : "s") +
           ")");
    Repeats_ = 0;
}

}  // namespace corvanel
