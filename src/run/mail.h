// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "common/problem.h"
#include "run/firing_status.h"

namespace corvanel {

// What became of a message handed to a sender: sent, refused (why, in the operator's
// words, and what to do), or queued to go out beside the firing, its fate told later.
struct Mail_Result {
    enum class State { Sent, Failed, Queued } Is = State::Sent;
    Problem Why;  // when Failed

    static Mail_Result Sent() { return {}; }
    static Mail_Result Queued() { return {State::Queued, {}}; }
    static Mail_Result Failed(Problem why) { return {State::Failed, std::move(why)}; }
};

struct Mail_Message {
    std::string Recipients;  // the notification list as the operator typed it
    std::string Subject;
    std::string Body;
    // Who wants to hear what became of a queued message; run on the owner's thread.
    std::function<void(const Mail_Result&)> Then = {};
};

// Sends one message. A missing or failing mail service is a failed send, never an
// exception; the specified alerts ignore it, an alarm's mail says it.
class Mail_Sender {
  public:
    virtual ~Mail_Sender() = default;
    virtual Mail_Result Send(const Mail_Message& message) = 0;
};

// The alert: subject "Oven Status", the body a line end, then the set value and the
// measured temperature in the controller's raw units, one per line.
Mail_Message Compose_Alert(const std::string& recipients, std::int16_t desired_temp,
                           std::int16_t measured_temp);

// A safety alarm, sent the moment it starts: subject "Oven Alarm", the body the alarm,
// the time, the elapsed time, the set value, the measured temperature (degrees of the
// profile's scale) and the output, one per line; after an empty line, what to do.
Mail_Message Compose_Safety_Alarm(const std::string& recipients, const std::string& alarm,
                                  const Firing_Status& status, const std::string& advice = "");

// The mail settings' test: says that alarm mails reach the list.
Mail_Message Compose_Test_Mail(const std::string& recipients);

}  // namespace corvanel
