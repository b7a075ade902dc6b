// SPDX-License-Identifier: GPL-3.0-or-later
// The run's safety layer: the supervisor's alarms acted on with the run's own routines,
// the checks and notices of a safe start, and the safety settings in force: read at the
// load and followed through every change saved to them.

#include <filesystem>

#include "common/quantity_text.h"
#include "common/text.h"
#include "controller/front_panel_model.h"
#include "controller/protocol.h"
#include "language/operator_style.h"
#include "language/show_problem.h"
#include "language/translate.h"
#include "profiles/scale_conversion.h"
#include "run/kiln_run.h"
#include "run/log_file.h"
#include "run/mail_setup.h"
#include "run/safe_start.h"

namespace corvanel {

void Kiln_Run::Read_Safety_Setup() {
    Safety_Settings_Read read = Read_Safety_Settings(Services_.Settings);
    Safety_ = read.Settings;
    Supervisor_.Use_Settings(Safety_);
    for (const Problem& problem : read.Problems) Show_Problem(View_, problem);
    Safety_Subscription_ = Services_.Settings.Subscribe_File(
        Safety_Setting_List().front()->File, [this](const Setting&, const std::string&) {
            Safety_ = Safety_Settings_Of(Services_.Settings);
            Supervisor_.Use_Settings(Safety_);
        });
}

Safety_Changes Kiln_Run::Check_Safety() {
    Safety_Changes changes;
    Statement([&] { changes = Supervisor_.Check(Firing_Status_Now()); });
    return changes;
}

void Kiln_Run::Act_On_Alarms(const Safety_Changes& changes) {
    const Date_Time now = Services_.Time.Now();
    for (Safety_Alarm alarm : changes.Cleared) {
        const std::string name = Safety_Alarm_Name(alarm);
        Supervisor_.Show_Cleared(name, now);
        Display(TranslateText("Alarm cleared") + ": " + TranslateText(name));
        Publish_Firing(Firing_Event::Alarm_Cleared, name);
    }
    // Outside a firing nothing else records the kiln: the alarm opens a record of its own.
    if (!changes.Raised.empty() && !Supervisor_.Alarm_Watch() &&
        Firing_Status_Now().State == Firing_State::Monitor) {
        Supervisor_.Begin_Alarm_Watch(now);
    }
    bool end_run = false;
    for (Safety_Alarm alarm : changes.Raised) {
        const std::string name = Safety_Alarm_Name(alarm);
        Supervisor_.Show_Raised(name, now);
        Display(TranslateText("Alarm") + ": " + TranslateText(name) + " " + Format_Date_Time(now));
        if (const std::string advice = Safety_Alarm_Advice(alarm); !advice.empty()) {
            Display(TranslateText(advice));
            Supervisor_.Notice(TranslateText(advice));
        }
        const Firing_Status status = Firing_Status_Now();
        // Not bound to the alert timer's cadence: an alarm is news the moment it starts.
        if (View_.Alerts_On()) {
            Alerts_.Send_Alarm(View_.Alert_Addresses(), name, status, Safety_Alarm_Advice(alarm));
            Supervisor_.Mailed(alarm, now);
        }
        Firing_.Publish(status, Firing_Event::Alarm_Raised, name);
        end_run = end_run || (Safety_.Soft_Off_On_Alarm && Safety_Alarm_Ends_Run(alarm));
    }
    if (end_run && (Control_Interval_.Enabled || Engine_.Suspended())) Soft_Off();
    // A kiln heating or held hot by itself is mailed again until it stops: nobody may have
    // read the first.
    if (!View_.Alerts_On()) return;
    for (Safety_Alarm again : Supervisor_.Mail_Again(now))
        Alerts_.Send_Alarm(View_.Alert_Addresses(), Safety_Alarm_Name(again), Firing_Status_Now(),
                           Safety_Alarm_Advice(again));
}

void Kiln_Run::Watch_After_Run() {
    Supervisor_.Run_Ended(Firing_Status_Now(), Safety_);
}

void Kiln_Run::End_Alarm_Record(const Firing_Status& last, const std::string& why) {
    if (!Supervisor_.Alarm_Watch()) return;
    Supervisor_.End_Alarm_Watch();
    Firing_.Publish(last, Firing_Event::Cooling_Ended, why);
}

void Kiln_Run::Sound_Alarm() {
    if (Supervisor_.Wants_Attention()) Services_.Beep.Beep();
}

bool Kiln_Run::Scale_Refused() {
    if (!Safety_.Scale_Check) return false;
    const std::string controller_scale = Services_.Panel.Controller_Temp_Scale == 1 ? "F" : "C";
    if (controller_scale == Profile_.Temp_Scale()) return false;
    Display(Join_Lines({TranslateText("Profile was generated using temperature scale") + "=" +
                            Profile_.Temp_Scale(),
                        TranslateText("Controller temperature scale") + " =" + controller_scale,
                        TranslateText("Edit profile and save with matching scale setting"),
                        Convert_Scale_Advice(controller_scale == "F"), ""}));
    Soft_Off();
    return true;
}

bool Kiln_Run::Hot_Start_Refused() {
    // Asked of a fresh start only: a firing going on at an elapsed time meets the kiln there.
    if (!Safety_.Hot_Start_Question || !Ask_ || Engine_.Base() != 0 || !Has_Reading_ ||
        Services_.Panel.InputError) {
        return false;
    }
    // The monitoring tick's last reading: asking the controller again would change the
    // exchanges of every start, hot or not.
    if (Safety_.Start_At_Kiln_Temperature &&
        Elapsed_At_Kiln_Temperature(Profile_.Tables(), Profile_.Finished_Segment(),
                                    Measured_Temp_) > 0) {
        return false;
    }
    const std::string& scale = Profile_.Temp_Scale();
    const double kiln = Shown_Degrees(Measured_Temp_);
    const double start = Profile_.Tables().Seg_Start_Temp[0] / Profile_.Controller_Scale();
    if (kiln - start <= Safety_.Hot_Start_Margin(scale)) return false;
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

void Kiln_Run::Notice(const std::string& text) {
    Display(text);
    // The first tick clears the message area; the banner keeps the notice.
    Supervisor_.Notice(text);
}

void Kiln_Run::Alarm_Mail_Failed(const Problem& why) {
    const std::string line = Alarm_Mail_Not_Sent_Line(why);
    Display(line);
    Supervisor_.Renew_Notice(TranslateText(Alarm_Mail_Not_Sent), line);
}

void Kiln_Run::Notice_Carried_Over_Time() {
    const double elapsed = Engine_.Elapsed();
    if (!Safety_.Carried_Over_Notice || elapsed == 0 || Loading_) return;
    Notice(Join_Lines(
        {TranslateText("The firing continues at elapsed time") + " " + Format_00(elapsed),
         TranslateText("LogFile") + " -> \"" + TranslateText("Reset Logfile and Time") + "\" " +
             TranslateText("starts from 0")}));
}

void Kiln_Run::Prepare_Run_Start(bool resuming) {
    End_Alarm_Record(Firing_Status_Now(), "new firing");
    if (Supervisor_.Cooling()) {
        const Firing_Status last = Firing_Status_Now();
        Supervisor_.End_Cooling();
        Firing_.Publish(last, Firing_Event::Cooling_Ended, "new firing");
    }
    Start_Alarms_Afresh();
    if (resuming) return;
    Holds_Said_.clear();
    if (Engine_.Base() != 0) {
        std::error_code error;
        const auto size = Log_File_.empty() ? 0
                                            : std::filesystem::file_size(
                                                  Services_.Paths.Logfile(Log_File_), error);
        if (error || size < Log_Record_Length) Notice_Carried_Over_Time();
        return;
    }
    if (!Safety_.Start_At_Kiln_Temperature) return;
    std::uint8_t unit = 0;
    Statement([&] { Services_.Protocol.Read_PV(unit); });
    if (!(Services_.Panel.Communication_Status && Services_.Panel.Command_Executed)) return;
    const std::int16_t measured = Services_.Protocol.Last_PV;
    const double elapsed =
        Elapsed_At_Kiln_Temperature(Profile_.Tables(), Profile_.Finished_Segment(), measured);
    if (elapsed <= 0) return;
    Engine_.Begin_At(elapsed);
    View_.Show_Elapsed(Format_00(elapsed));
    Notice(Join_Lines(
        {TranslateText("Start at kiln temperature") + ": " + TranslateText("the kiln is at") + " " +
             Controller_Units_Text(measured),
         TranslateText("The firing starts at elapsed time") + " " + Format_00(elapsed)}));
}

void Kiln_Run::Acknowledge() {
    Supervisor_.Acknowledge(Services_.Time.Now());
    // The operator has seen it: the record of an alarm outside a firing has done its work.
    End_Alarm_Record(Firing_Status_Now(), "acknowledged");
}

void Kiln_Run::Start_Alarms_Afresh() {
    // The observers still hear each alarm end; the message area and the banner of the
    // new stretch of run are not filled with the last one's.
    for (Safety_Alarm alarm : Supervisor_.Reset().Cleared)
        Publish_Firing(Firing_Event::Alarm_Cleared, Safety_Alarm_Name(alarm));
    Supervisor_.Forget_Active();
    Supervisor_.Start_Banner_Afresh();
}

}  // namespace corvanel
