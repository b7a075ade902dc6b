// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <string>

#include "run/firing_status.h"

namespace corvanel {

struct Mail_Message {
    std::string Recipients;  // the notification list as the operator typed it
    std::string Subject;
    std::string Body;
};

// Sends one message. A missing or failing mail service is a failed send; the program
// ignores it, so a sender never throws.
class Mail_Sender {
  public:
    virtual ~Mail_Sender() = default;
    virtual bool Send(const Mail_Message& message) = 0;
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

}  // namespace corvanel
