// SPDX-License-Identifier: GPL-3.0-or-later
// The run's safety layer: the supervisor's alarms acted on with the run's own routines,
// the checks and notices of a safe start, and the safety settings in force: read at the
// load and followed through every change saved to them.

#include <filesystem>

#include "app/traj_form_model.h"
#include "common/quantity_text.h"
#include "common/text.h"
#include "controller/front_panel_model.h"
#include "controller/protocol.h"
#include "language/operator_style.h"
#include "language/show_problem.h"
#include "language/translate.h"
#include "profiles/scale_conversion.h"
#include "run/log_file.h"
#include "run/safe_start.h"

namespace corvanel {

void Traj_form::Read_Safety_Setup() {
    Safety_Settings_Read read = Read_Safety_Settings(Services_.Settings);
    Safety = read.Settings;
    Supervisor.Use_Settings(Safety);
    for (const Problem& problem : read.Problems) Show_Problem(*this, problem);
    Safety_Subscription_ = Services_.Settings.Subscribe_File(
        Safety_Setting_List().front()->File, [this](const Setting&, const std::string&) {
            Safety = Safety_Settings_Of(Services_.Settings);
            Supervisor.Use_Settings(Safety);
        });
}

Safety_Changes Traj_form::Check_Safety() {
    Safety_Changes changes;
    Statement([&] { changes = Supervisor.Check(Firing_Status_Now()); });
    return changes;
}

void Traj_form::Act_On_Alarms(const Safety_Changes& changes) {
    const Date_Time now = Services_.Time.Now();
    for (Safety_Alarm alarm : changes.Cleared) {
        const std::string name = Safety_Alarm_Name(alarm);
        Supervisor.Show_Cleared(name, now);
        Display(TranslateText("Alarm cleared") + ": " + TranslateText(name));
        Publish_Firing(Firing_Event::Alarm_Cleared, name);
    }
    // Outside a firing nothing else records the kiln: the alarm opens a record of its own.
    if (!changes.Raised.empty() && !Supervisor.Alarm_Watch() &&
        Firing_Status_Now().State == Firing_State::Monitor) {
        Supervisor.Begin_Alarm_Watch(now);
    }
    bool end_run = false;
    for (Safety_Alarm alarm : changes.Raised) {
        const std::string name = Safety_Alarm_Name(alarm);
        Supervisor.Show_Raised(name, now);
        Display(TranslateText("Alarm") + ": " + TranslateText(name) + " " + Format_Date_Time(now));
        if (const std::string advice = Safety_Alarm_Advice(alarm); !advice.empty()) {
            Display(TranslateText(advice));
            Supervisor.Notice(TranslateText(advice));
        }
        const Firing_Status status = Firing_Status_Now();
        // Not bound to the alert timer's cadence: an alarm is news the moment it starts.
        if (mnuEnableEmailNotification) {
            Alerts.Send_Alarm(Email_Notification, name, status);
            Supervisor.Mailed(alarm, now);
        }
        Firing.Publish(status, Firing_Event::Alarm_Raised, name);
        end_run = end_run || (Safety.Soft_Off_On_Alarm && Safety_Alarm_Ends_Run(alarm));
    }
    if (end_run && (Control_Interval.Enabled || Engine_.Suspended())) SoftOff_Click();
    // A kiln heating or held hot by itself is mailed again until it stops: nobody may have
    // read the first.
    if (!mnuEnableEmailNotification) return;
    for (Safety_Alarm again : Supervisor.Mail_Again(now))
        Alerts.Send_Alarm(Email_Notification, Safety_Alarm_Name(again), Firing_Status_Now());
}

void Traj_form::Watch_After_Run() {
    Supervisor.Run_Ended(Firing_Status_Now(), Safety);
}

void Traj_form::End_Alarm_Record(const Firing_Status& last, const std::string& why) {
    if (!Supervisor.Alarm_Watch()) return;
    Supervisor.End_Alarm_Watch();
    Firing.Publish(last, Firing_Event::Cooling_Ended, why);
}

void Traj_form::Sound_Alarm() {
    if (Supervisor.Wants_Attention()) Services_.Beep.Beep();
}

bool Traj_form::Scale_Refused() {
    if (!Safety.Scale_Check) return false;
    const std::string controller_scale = Services_.Panel.Controller_Temp_Scale == 1 ? "F" : "C";
    if (controller_scale == Profile_.Temp_Scale()) return false;
    Display(Join_Lines({TranslateText("Profile was generated using temperature scale") + "=" +
                            Profile_.Temp_Scale(),
                        TranslateText("Controller temperature scale") + " =" + controller_scale,
                        TranslateText("Edit profile and save with matching scale setting"),
                        Convert_Scale_Advice(controller_scale == "F"), ""}));
    SoftOff_Click();
    return true;
}

bool Traj_form::Hot_Start_Refused() {
    // Asked of a fresh start only: a firing going on at an elapsed time meets the kiln there.
    if (!Safety.Hot_Start_Question || !Ask_ || Engine_.Base() != 0 || !Has_Reading_ ||
        Services_.Panel.InputError) {
        return false;
    }
    // The monitoring tick's last reading: asking the controller again would change the
    // exchanges of every start, hot or not.
    if (Safety.Start_At_Kiln_Temperature &&
        Elapsed_At_Kiln_Temperature(Profile_.Tables(), Profile_.Finished_Segment(), Measured_Temp) >
            0) {
        return false;
    }
    const std::string& scale = Profile_.Temp_Scale();
    const double kiln = Shown_Degrees(Measured_Temp);
    const double start = Profile_.Tables().Seg_Start_Temp[0] / Profile_.Controller_Scale();
    if (kiln - start <= Safety.Hot_Start_Margin(scale)) return false;
    const Number_Style style = Operator_Style();
    const std::string question = Join_Lines(
        {TranslateText("The kiln is already hot") + ": " + Temperature_Shown(kiln, scale, style) +
             ". " + TranslateText("This profile starts at") + " " +
             Temperature_Shown(start, scale, style) + ".",
         TranslateText("A kiln this hot may still be cooling from a firing, or heating by "
                       "itself. Start the firing from the beginning of the profile anyway?")});
    if (Ask_->Ask_OK_Cancel(question)) return false;
    Display(TranslateText("Run not started"));
    return true;
}

void Traj_form::Safety_Notice(const std::string& text) {
    Display(text);
    // The first tick clears the message area; the banner keeps the notice.
    Supervisor.Notice(text);
}

void Traj_form::Notice_Carried_Over_Time() {
    const double elapsed = Engine_.Elapsed();
    if (!Safety.Carried_Over_Notice || elapsed == 0 || Loading_Form) return;
    Safety_Notice(Join_Lines(
        {TranslateText("The firing continues at elapsed time") + " " + Format_00(elapsed),
         TranslateText("LogFile") + " -> \"" + TranslateText("Reset Logfile and Time") + "\" " +
             TranslateText("starts from 0")}));
}

void Traj_form::Prepare_Run_Start(bool resuming) {
    End_Alarm_Record(Firing_Status_Now(), "new firing");
    if (Supervisor.Cooling()) {
        const Firing_Status last = Firing_Status_Now();
        Supervisor.End_Cooling();
        Firing.Publish(last, Firing_Event::Cooling_Ended, "new firing");
    }
    Start_Alarms_Afresh();
    if (resuming) return;
    Holds_Said_.clear();
    if (Engine_.Base() != 0) {
        std::error_code error;
        const auto size = LogFile.empty()
                              ? 0
                              : std::filesystem::file_size(Services_.Paths.Logfile(LogFile), error);
        if (error || size < Log_Record_Length) Notice_Carried_Over_Time();
        return;
    }
    if (!Safety.Start_At_Kiln_Temperature) return;
    std::uint8_t unit = 0;
    Statement([&] { Services_.Protocol.Read_PV(unit); });
    if (!(Services_.Panel.Communication_Status && Services_.Panel.Command_Executed)) return;
    const std::int16_t measured = Services_.Protocol.Last_PV;
    const double elapsed =
        Elapsed_At_Kiln_Temperature(Profile_.Tables(), Profile_.Finished_Segment(), measured);
    if (elapsed <= 0) return;
    Engine_.Begin_At(elapsed);
    Elapsed_Time = Format_00(elapsed);
    Safety_Notice(Join_Lines(
        {TranslateText("Start at kiln temperature") + ": " + TranslateText("the kiln is at") + " " +
             Controller_Units_Text(measured),
         TranslateText("The firing starts at elapsed time") + " " + Format_00(elapsed)}));
}

}  // namespace corvanel
