// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "run/firing_status.h"
#include "run/mail.h"
#include "run/timer_state.h"

namespace corvanel {

// The run's e-mail alerts. The control tick arms the alert timer while the kiln is
// farther from its set value than the segment allows; every fifteenth tick of that timer
// mails the notification list. A safety alarm is mailed the moment it is raised, and a
// mail of it that does not go out is said: the operator must not believe it went. The
// alert's failures are ignored, as they always were.
class Run_Alerts {
  public:
    using Failure_Report = std::function<void(const Problem& why)>;
    explicit Run_Alerts(Mail_Sender& mail, Failure_Report alarm_mail_failed = {})
        : Mail_(mail), Alarm_Mail_Failed_(std::make_shared<Failure_Report>(alarm_mail_failed)) {}

    // The alert timer, as the window runs it.
    const Timer_State& Timer() const { return Timer_; }

    // Armed when the set and measured values differ by more than `limit`; an armed timer
    // keeps its countdown. A difference beyond a 16-bit value is an overflow.
    void Arm(std::int16_t desired, std::int16_t measured, double limit);
    void Disarm() { Timer_.Enabled = false; }

    // One tick of the alert timer.
    void Timer_Tick(const std::string& addresses, std::int16_t desired, std::int16_t measured);
    void Restart_Count() { Tick_Count_ = 0; }

    void Send(const std::string& addresses, std::int16_t desired, std::int16_t measured);
    void Send_Alarm(const std::string& addresses, const std::string& alarm,
                    const Firing_Status& status, const std::string& advice = "");

  private:
    Mail_Sender& Mail_;
    // A queued mail's fate may come after the run has gone: it is told only while this lives.
    std::shared_ptr<Failure_Report> Alarm_Mail_Failed_;
    Timer_State Timer_{false, 60000};
    std::uint8_t Tick_Count_ = 0;
};

}  // namespace corvanel
