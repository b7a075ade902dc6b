// SPDX-License-Identifier: GPL-3.0-or-later
// The main window's start-up, message area and exit.

#include "app/traj_form_model.h"
#include "common/quantity_text.h"
#include "common/text.h"
#include "controller/front_panel_model.h"
#include "controller/protocol.h"
#include "controller/serial_link.h"
#include "language/operator_style.h"
#include "language/setting_complaint.h"
#include "language/translate.h"
#include "setup/program_settings.h"
#include "setup/setup_files.h"

namespace corvanel {

const Setting Large_Readouts_Setting = {.File = "LargeReadouts.txt",
                                        .Type = Setting_Type::On_Off,
                                        .Default = "checked",
                                        .Label = "Large read-outs in the run window"};

Traj_form::Traj_form(Traj_form_Services services)
    : Services_(std::move(services)),
      Run_({Services_.Paths, Services_.Protocol, Services_.Panel, Services_.Time, Services_.Beep,
            Services_.Mail, Services_.Settings, *this}) {}

void Traj_form::Connect_Serial_Port(Serial_Port& port) {
    Port_ = &port;
    Run_.Connect_Serial_Port(port);
}

void Traj_form::Statement(const std::function<void()>& statement) {
    try {
        statement();
    } catch (const std::exception&) {
        // the handler goes on with its next statement, as it always has
    }
}

void Traj_form::Set_User_Message_Box(std::string text) {
    Set_Message_Text(User_Message_Box, std::move(text), User_Message_Box_Limit);
}

void Traj_form::Display(const std::string& text) {
    Append_Message(User_Message_Box, text, User_Message_Box_Limit);
}

void Traj_form::Form_Load() {
    Error_Trap = true;
    Use_Chosen_Language(Services_.Settings);
    Loading_Form = true;
    Run_.Set_Loading(true);
    Run_.Reset();
    Elapsed_Time = Format_Number(Run_.Engine().Elapsed());
    Time_Entry.End();
    Comm_Port_Number = 1;
    Recall_Profile_Pending = Recall_Log_Pending = false;
    CommonDialog3.Filter = TranslateText("Text files") + " (*.txt) | *.txt" + "|" +
                           TranslateText("All files") + " (*.*) | *.*";
    Recall_Setup();
    Loading_Form = false;
    Run_.Set_Loading(false);
    if (Port_) Port_->Form_Load(Comm_Port_Number);
    Run_.Use_Controller_RAM();
    Run_.Set_Polling_Mode("monitor");
    Run_.Monitor_Interval_Timer();
    Run_.Read_Safety_Setup();
    const Check_Mark_Reading large = Read_Check_Mark(Services_.Settings, Large_Readouts_Setting);
    Large_Readouts_Shown = large.On;
    if (!large.Complaint.empty()) Display(large.Complaint);
    // A start with recall: what the record says of the last firing.
    if (mnuRecallSetup) {
        Run_.Tell_Interrupted_Firing();
        Run_.Tell_Shutdown_Firing();
    }
}

void Traj_form::Form_Activate() {
    Services_.Windows.Apply_Language();
    Translate_Grid_Titles();
}

void Traj_form::Translate_Grid_Titles() {
    for (int col = 0; col < Sheet_Columns; ++col) {
        RunProfile_FlexGrid[0][col] = TranslateText(Sheet_Column_Titles[col]);
    }
}

void Traj_form::mnuVersion_Click() {
    Display("Corvanel " + TranslateText("Version") + "= 2.0-3");
}

void Traj_form::mnuExitProgram_Click() {
    Run_.Set_Polling_Mode("off");
    if (Port_) Statement([this] { Port_->Form_Unload(); });
    Exit_Routine();
}

std::string Traj_form::Leaving_Firing_Words() const {
    const Firing_Status status = Run_.Firing_Status_Now();
    const Number_Style style = Operator_Style();
    const Operator_Text keeps = Operator_Text::Phrase(
        "The controller keeps the set value of %1 while the program is closed.",
        {Operator_Text::Value(Temperature_Shown(status.Set_Value, status.Temp_Scale, style))});
    const Safety_Settings& safety = Run_.Safety_Settings_In_Force();
    // The guard gives the soft off's value, in the controller's units as the run does.
    const double soft_off =
        Soft_Off_Set_Value(status.Temp_Scale != "C") / Run_.Profile().Controller_Scale();
    const Operator_Text then =
        safety.Kiln_Guard
            ? Operator_Text::Phrase(
                  "If the program is not started again within %1, the kiln guard turns the set "
                  "value down to %2.",
                  {Operator_Text::Value(Duration_Shown(safety.Guard_Minutes * 60)),
                   Operator_Text::Value(Temperature_Shown(soft_off, status.Temp_Scale, style))})
            : Operator_Text::Phrase(
                  "The kiln guard is off: nothing turns it down until the program is started "
                  "again or the kiln is switched off.");
    return Join_Lines({keeps.Text(Translate_Phrase), then.Text(Translate_Phrase)});
}

void Traj_form::Exit_Routine() {
    Save_Setup();
    Services_.Windows.End_Program();
}

}  // namespace corvanel
