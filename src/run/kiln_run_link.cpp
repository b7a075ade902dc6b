// SPDX-License-Identifier: GPL-3.0-or-later
// The way back after the controller stopped answering or its port went away: the run
// tells the serial link of every exchange, the link opens the port again on its
// schedule, and the operator and the firing record hear of the outage once at its start
// and once at its end. The run itself goes on counting: the engine's elapsed time
// follows the clock, so the first tick after the gap asks the set value of its time.

#include "common/text.h"
#include "controller/serial_link.h"
#include "language/translate.h"
#include "run/kiln_run.h"

namespace corvanel {

void Kiln_Run::Reconnect_If_Due() {
    if (Port_) Port_->Reconnect_If_Due(Seconds_Of(Services_.Time.Now()));
}

void Kiln_Run::Link_Retry_Timer() {
    if (!Port_ || !Port_->Reconnecting()) {
        Link_Retry_Interval_.Enabled = false;  // answered, or dropped for the operator's port
        return;
    }
    if (!Control_Interval_.Enabled && !Monitor_Interval_.Enabled) return;
    if (!Port_->Reconnect_If_Due(Seconds_Of(Services_.Time.Now()))) return;
    if (Control_Interval_.Enabled) {
        Control_Interval_Timer();
    } else {
        Monitor_Interval_Timer();
    }
}

void Kiln_Run::Link_Failed() {
    if (!Port_ || !Port_->Exchange_Failed(Seconds_Of(Services_.Time.Now()))) return;
    Link_Retry_Interval_.Enabled = true;
    Display(Join_Lines({TranslateText("The controller does not answer: the program keeps trying "
                                      "to reach it, at least every 30 seconds"),
                        TranslateText("Check the controller's cable and power")}));
}

void Kiln_Run::Link_Answered() {
    if (!Port_) return;
    const std::optional<long long> gap = Port_->Exchange_Answered(Seconds_Of(Services_.Time.Now()));
    Link_Retry_Interval_.Enabled = false;
    if (!gap) return;
    const std::string length = Duration_Text(*gap);
    Display(TranslateText("Controller answering again; no answer for") + " " + length);
    Publish_Firing(Firing_Event::Link_Restored,
                   "Controller answering again; no answer for " + length);
}

void Kiln_Run::Exchange_Failed(const std::string& message) {
    Tick_Exchange_Failed_ = true;
    Link_Failed();
    if (Control_Interval_.Enabled) Publish_Firing(Firing_Event::Communication_Error, message);
}

}  // namespace corvanel
