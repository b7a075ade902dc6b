// SPDX-License-Identifier: GPL-3.0-or-later
// The computer shutting down in the middle of a firing: nobody will be there to hold the
// kiln, so the firing ends as the operator's SOFT OFF ends it, and the next start says why.

#include "common/quantity_text.h"
#include "common/text.h"
#include "language/operator_style.h"
#include "language/translate.h"
#include "run/firing_record.h"
#include "run/kept_setup.h"
#include "run/kiln_run.h"

namespace corvanel {

bool Kiln_Run::End_For_Shutdown() {
    if (!Control_Interval_.Enabled && !Engine_.Suspended()) return false;
    Display(TranslateText(Shutdown_Alarm) + ": " +
            TranslateText("the firing ends and the controller is set to room temperature"));
    const Firing_Status status = Firing_Status_Now();
    Firing_.Publish(status, Firing_Event::Alarm_Raised, Shutdown_Alarm);
    if (View_.Alerts_On()) Alerts_.Send_Alarm(View_.Alert_Addresses(), Shutdown_Alarm, status);
    Soft_Off();
    return true;
}

void Kiln_Run::Tell_Shutdown_Firing() {
    if (Log_File_.empty()) return;
    const std::optional<Firing_Record_Line> ended =
        Shutdown_Firing_In(Services_.Paths.Logfile(Firing_Record_Name(Log_File_)));
    if (!ended) return;
    Notice(Join_Lines(
        {TranslateText("The last firing was ended when the computer was shutting down, at") + " " +
             Clock_Shown(ended->Clock, Services_.Time.Now(), Operator_Style()),
         TranslateText("Refractory oven set to room temperature"), Continue_Or_Start_Afresh()}));
}

}  // namespace corvanel
