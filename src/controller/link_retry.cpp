// SPDX-License-Identifier: GPL-3.0-or-later
#include "controller/link_retry.h"

#include <algorithm>

namespace corvanel {

bool Link_Retry::Failed(long long now, bool port_gone) {
    if (!First_Failure_) First_Failure_ = now;
    if (Outage_) return false;
    if (!port_gone && now - *First_Failure_ < Silence_Seconds) return false;
    Outage_ = true;
    Wait_ = First_Wait;
    Next_Try_ = *First_Failure_ + Wait_;
    return true;
}

bool Link_Retry::Try_Due(long long now) {
    if (!Outage_ || now < Next_Try_) return false;
    Wait_ = std::min(Wait_ * 2, Longest_Wait);
    Next_Try_ = now + Wait_;
    return true;
}

std::optional<long long> Link_Retry::Answered(long long now) {
    std::optional<long long> gap;
    if (Outage_) gap = now - *First_Failure_;
    Drop();
    return gap;
}

void Link_Retry::Drop() {
    First_Failure_.reset();
    Outage_ = false;
    Wait_ = First_Wait;
    Next_Try_ = 0;
}

}  // namespace corvanel
