// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <deque>
#include <string>

#include "common/problem.h"
#include "remote/mqtt_telemetry.h"

namespace corvanel {

// Why a connection to the broker failed or ended.
enum class Mqtt_Trouble {
    Unreachable,      // no answer, refused, host not found, timed out, TLS failed
    Bad_Credentials,  // the broker refused the user name or password
    Refused,          // the broker refused the connection for another reason
    Lost,             // a connection that was up went down
};

// The decisions of the connection to the broker, apart from the client library: when to
// try again (1 s, doubling up to 60 s, from 1 s again after a good connection), what to
// tell the operator (each change once: the first trouble, a different trouble, being
// back; never the same trouble at every try), and the alarm and firing messages kept
// while the broker is away, sent when it is back. The state is no use kept: the current
// one is sent at every connection.
class Mqtt_Link {
  public:
    // `broker` is "host:port", as the messages name it.
    explicit Mqtt_Link(std::string broker);

    // A good connection: the message to show ("" for none) and the kept messages to send.
    std::string Connected();
    // A failed attempt or a lost connection, with the library's or system's reason: the
    // problem to show, or none when this trouble was said already.
    Maybe_Problem Failed(Mqtt_Trouble trouble, const std::string& reason);

    bool Is_Connected() const { return Connected_; }
    // Seconds to wait before the next attempt, after a failure.
    double Retry_Delay() const { return Delay_; }
    // A connection attempt that has not succeeded in this long is given up and retried.
    static constexpr double Connect_Timeout = 10;

    // A message to publish: true when it should go out now; otherwise a message worth
    // keeping (QoS 1, not retained) is kept for the next connection, up to a limit.
    bool Offer(const Mqtt_Message& message);
    std::deque<Mqtt_Message> Take_Kept();

    static constexpr std::size_t Kept_Limit = 200;

  private:
    std::string Broker_;
    bool Connected_ = false;
    bool Ever_Connected_ = false;
    bool Said_Trouble_ = false;
    Mqtt_Trouble Said_ = Mqtt_Trouble::Unreachable;
    double Delay_ = 1;
    double Next_Delay_ = 1;
    std::deque<Mqtt_Message> Kept_;
};

}  // namespace corvanel
