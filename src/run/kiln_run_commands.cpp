// SPDX-License-Identifier: GPL-3.0-or-later
// The kiln run's commands: start, suspend, soft off, the operator's elapsed time and the
// log's time.

#include "common/numeric.h"
#include "common/text.h"
#include "controller/front_panel_model.h"
#include "controller/protocol.h"
#include "language/show_problem.h"
#include "language/translate.h"
#include "profiles/segment_joins.h"
#include "profiles/sensor_table.h"
#include "run/kiln_run.h"
#include "run/log_file.h"
#include "run/no_log_warning.h"

namespace corvanel {

void Kiln_Run::Start_Profile() {
    Clear();
    if (Start_Later_At_) {  // started now instead of later
        End_Start_Later();
        Supervisor_.Renew_Notice(TranslateText("Waiting to start at"),
                                 TranslateText("The firing was started now instead of later."));
    }
    if (View_.Editing_Elapsed()) {
        Display(Join_Lines({TranslateText("Must hit ENTER to update time or"),
                            TranslateText("ESCAPE to exit without changing time")}));
        View_.Focus_Elapsed_Time();
        return;
    }
    if (!Profile_.Valid()) {
        Display(TranslateText("Valid profile must be loaded") + " " + std::string(CRLF) +
                TranslateText("Run not started"));
        Soft_Off();
        Services_.Beep.Beep();
        return;
    }
    if (!Control_Interval_.Enabled) {
        const std::vector<Segment_Gap> gaps = Segment_Gaps(Profile_.Sheet());
        if (!gaps.empty()) {
            Display(Problem_Text(Segment_Gap_Problem(gaps.front())) + std::string(CRLF) +
                    TranslateText("Run not started"));
            Soft_Off();
            Services_.Beep.Beep();
            return;
        }
    }
    if (Forget_Controller_After_New_Port()) Learn_Controller_Limit();
    std::uint8_t unit = 0;
    Statement([&] { Services_.Protocol.Read_Status(unit); });
    if (Services_.Panel.Command_Executed) {
        if (Live_Readouts_)
            Controller_Scale_ = Services_.Panel.Controller_Temp_Scale == 1 ? "F" : "C";
        Known_Controller_.Fahrenheit = Services_.Panel.Controller_Temp_Scale == 1;
        Engine_.Use_Controller_Limits(Known_Controller_);
    }
    std::string controller_sensor = Sensor_Code_To_Name(Services_.Panel.Controller_Input_Type);
    if (controller_sensor != Profile_.Sensor_Type()) {
        Display(TranslateText("Profile was generated using sensor type") + "=" +
                Profile_.Sensor_Type() + std::string(CRLF) +
                TranslateText("Controller temperature sensor type") + " =" + controller_sensor +
                std::string(CRLF) +
                TranslateText("Edit profile and save with matching sensor setting") +
                std::string(CRLF));
        Soft_Off();
        return;
    }
    if (Scale_Refused()) return;
    if (Control_Interval_.Enabled) {
        Suspend();
        return;
    }
    if (!Engine_.Suspended() && Hot_Start_Refused()) return;
    Prepare_Run_Start(Engine_.Suspended());
    Set_Polling_Mode("run");
    Engine_.Start(Services_.Time.Now(), Services_.Time.Steady_Seconds());
    Show_Running(true);
    Display(TranslateText("Profile Running"));
    const bool resumed = Engine_.Suspended();
    Engine_.Set_Suspended(false);
    Publish_Firing(resumed ? Firing_Event::Resume : Firing_Event::Start);
    Control_Interval_Timer();
    // After the first tick, which empties the message area.
    if (!resumed) {
        for (const std::string& line : No_Log_File_Messages(Services_.Settings, Log_File_))
            Display(line);
    }
}

void Kiln_Run::Suspend() {
    Engine_.Hold();
    Set_Polling_Mode("monitor");
    Alerts_.Disarm();
    Show_Running(false);
    Display(TranslateText("Profile Suspended - temperature fixed at present value"));
    Engine_.Set_Suspended(true);
    Publish_Firing(Firing_Event::Suspend);
}

void Kiln_Run::Soft_Off() {
    const bool run_active = Control_Interval_.Enabled || Engine_.Suspended();
    Engine_.Set_Suspended(false);
    Engine_.Hold();
    Set_Polling_Mode("monitor");
    Alerts_.Disarm();
    Show_Running(false);
    Display(TranslateText("SOFT OFF condition") + std::string(CRLF) + std::string(CRLF) +
            TranslateText("WARNING! POWER STILL APPLIED, UNSUITABLE FOR ELECTRICAL MAINTENANCE") +
            std::string(CRLF) + TranslateText("Refractory oven set to room temperature"));
    Engine_.Room_Temperature();
    Write_Set_Value();
    if (run_active) {
        Publish_Firing(Firing_Event::Soft_Off);
        Watch_After_Run();
    }
}

void Kiln_Run::Take_Elapsed(double entered) {
    const std::string old_time = Format_00(Engine_.Elapsed());
    Engine_.Take_Entered(entered);
    Display(TranslateText("Time updated, ready to run"));
    Publish_Firing(Firing_Event::Elapsed_Edited, old_time + " -> " + Format_00(Engine_.Elapsed()));
}

void Kiln_Run::Undo_Elapsed_Entry() {
    Engine_.Undo_Entry();
}

void Kiln_Run::Begin_At(double elapsed) {
    Engine_.Begin_At(elapsed);
    View_.Show_Elapsed(Format_00(elapsed));
}

void Kiln_Run::Reset_Elapsed() {
    Engine_.Recall(0);
    View_.Show_Elapsed("0");
}

void Kiln_Run::Log_Was_Reset() {
    Engine_.Set_Suspended(false);
    Publish_Firing(Firing_Event::Log_Changed, "reset");
}

void Kiln_Run::Recall_Elapsed() {
    Engine_.Recall(
        Log_File_.empty() ? 0 : Last_Logged_Elapsed_Time(Services_.Paths.Logfile(Log_File_)));
    View_.Show_Elapsed(Format_Number(Engine_.Elapsed()));
    Recall_Changes();
    Publish_Firing(Firing_Event::Recall_Resume);
}

}  // namespace corvanel
