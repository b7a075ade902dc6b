// SPDX-License-Identifier: GPL-3.0-or-later
// The main window's start-up, message area, polling modes and exit.

#include "app/traj_form_model.h"
#include "common/text.h"
#include "controller/front_panel_model.h"
#include "controller/protocol.h"
#include "controller/serial_link.h"
#include "language/translate.h"
#include "setup/program_settings.h"
#include "setup/setup_files.h"

namespace corvanel {

Traj_form::Traj_form(Traj_form_Services services)
    : Alerts(services.Mail), Services_(std::move(services)) {}

void Traj_form::Statement(const std::function<void()>& statement,
                          const std::function<void(int)>& on_error) {
    try {
        statement();
    } catch (const Run_Time_Error& error) {
        if (on_error) on_error(To_Int(error.Number));
    } catch (const std::exception&) {
        if (on_error) on_error(To_Int(Error_Number::Out_Of_Memory));
    }
}

void Traj_form::Tick_Step(const char* step, const std::function<void()>& statement) {
    Statement(statement, [this, step](int number) {
        Display(Join_Lines(
            {"Control Timer Loop Error", step, "Error Number= " + std::to_string(number)}));
    });
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
    Profile_.Show_Empty_Chart();
    Profile_.Unload();
    Loading_Form = true;
    Engine_.Reset();
    Elapsed_Time = Format_Number(Engine_.Elapsed());
    Time_Entry.End();
    Comm_Port_Number = 1;
    Recall_Profile_Pending = Recall_Log_Pending = false;
    CommonDialog3.Filter = TranslateText("Text files") + " (*.txt) | *.txt" + "|" +
                           TranslateText("All files") + " (*.*) | *.*";
    Alerts.Restart_Count();
    Recall_Setup();
    Loading_Form = false;
    if (Port_) Port_->Form_Load(Comm_Port_Number);
    std::uint8_t unit = 0;
    Statement([&] { Services_.Protocol.Set_Write_Mode_RAM(unit); });
    Set_Polling_Mode("monitor");
    Monitor_Interval_Timer();
    Read_Safety_Setup();
    Tell_Interrupted_Firing();
    Tell_Shutdown_Firing();
}

void Traj_form::Form_Activate() {
    Services_.Windows.Apply_Language();
    for (int col = 0; col < Sheet_Columns; ++col) {
        RunProfile_FlexGrid[0][col] = TranslateText(Sheet_Column_Titles[col]);
    }
}

void Traj_form::mnuVersion_Click() {
    Display("Corvanel " + TranslateText("Version") + "= 2.0-3");
}

void Traj_form::Set_Polling_Mode(const std::string& mode) {
    if (mode == "off") {
        Monitor_Interval.Enabled = false;
        Control_Interval.Enabled = false;
        Display(TranslateText("Polling turned off"));
    } else if (mode == "monitor") {
        Monitor_Interval.Enabled = true;
        Control_Interval.Enabled = false;
        Display(TranslateText("Monitor Mode"));
    } else if (mode == "run") {
        Monitor_Interval.Enabled = false;
        Control_Interval.Enabled = true;
        Display(TranslateText("Run Mode"));
    } else {
        Monitor_Interval.Enabled = false;
        Control_Interval.Enabled = false;
        Display(TranslateText("Ambiguous Polling Mode, polling = OFF"));
    }
}

void Traj_form::mnuExitProgram_Click() {
    Set_Polling_Mode("off");
    if (Port_) Statement([this] { Port_->Form_Unload(); });
    Exit_Routine();
}

void Traj_form::Exit_Routine() {
    Save_Setup();
    Services_.Windows.End_Program();
}

}  // namespace corvanel
