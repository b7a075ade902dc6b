// SPDX-License-Identifier: GPL-3.0-or-later
#include "run/run_alerts.h"

#include <cstdlib>

#include "common/error_numbers.h"

namespace corvanel {

void Run_Alerts::Arm(std::int16_t desired, std::int16_t measured, double limit) {
    int difference = desired - measured;
    if (difference < -32768 || difference > 32767) throw Run_Time_Error(Error_Number::Overflow);
    Timer_.Enabled = std::abs(difference) > limit;
}

void Run_Alerts::Timer_Tick(const std::string& addresses, std::int16_t desired,
                            std::int16_t measured) {
    if (Tick_Count_ % 15 == 0) Send(addresses, desired, measured);
    if (Tick_Count_ == 255) Tick_Count_ = 0;
    Tick_Count_ = static_cast<std::uint8_t>(Tick_Count_ + 1);
}

void Run_Alerts::Send(const std::string& addresses, std::int16_t desired, std::int16_t measured) {
    Mail_.Send(Compose_Alert(addresses, desired, measured));
}

void Run_Alerts::Send_Alarm(const std::string& addresses, const std::string& alarm,
                            const Firing_Status& status, const std::string& advice) {
    Mail_Message message = Compose_Safety_Alarm(addresses, alarm, status, advice);
    message.Then =
        [report = std::weak_ptr<Failure_Report>(Alarm_Mail_Failed_)](const Mail_Result& result) {
            const std::shared_ptr<Failure_Report> failed = report.lock();
            if (failed && *failed && result.Is == Mail_Result::State::Failed) (*failed)(result.Why);
        };
    const Mail_Result result = Mail_.Send(message);
    if (result.Is != Mail_Result::State::Queued) message.Then(result);
}

}  // namespace corvanel
