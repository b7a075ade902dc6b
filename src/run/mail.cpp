#include "run/mail.h"

#include "common/text.h"
#include "language/translate.h"

namespace corvanel {

Mail_Message Compose_Alert(const std::string& recipients, std::int16_t desired_temp,
                           std::int16_t measured_temp) {
    Mail_Message message;
    message.Recipients = recipients;
    message.Subject = TranslateText("Oven Status");
    message.Body = std::string(CRLF) + TranslateText("Desired Temp") + "=" +
                   std::to_string(desired_temp) + std::string(CRLF) +
                   TranslateText("Measured Temp") + "=" + std::to_string(measured_temp);
    return message;
}

}  // namespace corvanel
