// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>

namespace corvanel {

// When the port of a controller that stopped answering is opened again. Times are
// whole seconds of one clock (Seconds_Of the run's clock).
//
// An outage starts at a failed exchange when the port has gone (an adapter pulled, the
// far end of the line closed), or when exchanges have failed for Silence_Seconds with
// none answered between: one lost reply is not an outage. From then the port is opened
// again First_Wait after the outage started, then after each wait twice the one before,
// up to Longest_Wait, until the controller answers or the operator chooses a port.
class Link_Retry {
  public:
    static constexpr long long First_Wait = 1;
    static constexpr long long Longest_Wait = 30;
    static constexpr long long Silence_Seconds = 6;

    // An exchange failed at `now`; `port_gone`: the port is no longer open. True at the
    // start of an outage only: the moment to say so, once.
    bool Failed(long long now, bool port_gone);
    // Whether the port is to be opened again at `now`; a true answer counts as the try.
    bool Try_Due(long long now);
    // An exchange was answered at `now`: how long the outage it ends lasted, counted
    // from the first failed exchange; nothing when there was no outage.
    std::optional<long long> Answered(long long now);
    // The operator chose a port: the outage and its tries are forgotten.
    void Drop();

    bool Outage() const { return Outage_; }

  private:
    std::optional<long long> First_Failure_;
    bool Outage_ = false;
    long long Wait_ = First_Wait;
    long long Next_Try_ = 0;
};

}  // namespace corvanel
