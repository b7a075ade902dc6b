// SPDX-License-Identifier: GPL-3.0-or-later
// The computer shutting down in the middle of a firing: nobody will be there to hold the
// kiln, so the firing ends as the operator's SOFT OFF ends it, and the next start says why.

#include "app/traj_form_model.h"
#include "common/quantity_text.h"
#include "common/text.h"
#include "language/operator_style.h"
#include "language/translate.h"
#include "run/firing_record.h"
#include "run/kept_setup.h"

namespace corvanel {

bool Traj_form::End_For_Shutdown() {
    if (!Control_Interval.Enabled && !Engine_.Suspended()) return false;
    Display(TranslateText(Shutdown_Alarm) + ": " +
            TranslateText("the firing ends and the controller is set to room temperature"));
    const Firing_Status status = Firing_Status_Now();
    Firing.Publish(status, Firing_Event::Alarm_Raised, Shutdown_Alarm);
    if (mnuEnableEmailNotification) Alerts.Send_Alarm(Email_Notification, Shutdown_Alarm, status);
    SoftOff_Click();
    return true;
}

void Traj_form::Tell_Shutdown_Firing() {
    if (!mnuRecallSetup || LogFile.empty()) return;
    const std::optional<Firing_Record_Line> ended =
        Shutdown_Firing_In(Services_.Paths.Logfile(Firing_Record_Name(LogFile)));
    if (!ended) return;
    Safety_Notice(Join_Lines(
        {TranslateText("The last firing was ended when the computer was shutting down, at") +
             " " + Clock_Shown(ended->Clock, Services_.Time.Now(), Operator_Style()),
         TranslateText("Refractory oven set to room temperature"), Continue_Or_Start_Afresh()}));
}

}  // namespace corvanel
