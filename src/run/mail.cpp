// SPDX-License-Identifier: GPL-3.0-or-later
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

Mail_Message Compose_Safety_Alarm(const std::string& recipients, const std::string& alarm,
                                  const Firing_Status& status, const std::string& advice) {
    Mail_Message message;
    message.Recipients = recipients;
    message.Subject = TranslateText("Oven Alarm");
    const std::string scale = " " + status.Temp_Scale;
    message.Body =
        std::string(CRLF) +
        Join_Lines({TranslateText("Alarm") + "=" + TranslateText(alarm),
                    TranslateText("Time") + "=" + Format_Date_Time(status.Clock),
                    TranslateText("Elapsed") + "=" + Format_00(status.Elapsed),
                    TranslateText("Desired Temp") + "=" + Format_Number(status.Set_Value) + scale,
                    TranslateText("Measured Temp") + "=" + Format_Number(status.Measured) + scale,
                    TranslateText("Output") + "=" + Format_Number(status.Output_Percent) + "%"});
    // What to do about it, where the alarm's name does not say enough.
    if (!advice.empty())
        message.Body += std::string(CRLF) + std::string(CRLF) + TranslateText(advice);
    return message;
}

Mail_Message Compose_Test_Mail(const std::string& recipients) {
    Mail_Message message;
    message.Recipients = recipients;
    message.Subject = TranslateText("Kiln test mail");
    message.Body = TranslateText("The kiln's alarm mails reach this address.");
    return message;
}

}  // namespace corvanel
