#pragma once

#include <cstdint>
#include <string>

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

}  // namespace corvanel
