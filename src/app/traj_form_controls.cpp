// SPDX-License-Identifier: GPL-3.0-or-later
// The operator controls of the main window: lock, front panel, device name, editor,
// and the quick port menu.

#include <array>

#include "app/traj_form_model.h"
#include "common/fixed_message.h"
#include "common/text.h"
#include "controller/front_panel_model.h"
#include "controller/protocol.h"
#include "controller/serial_link.h"
#include "language/show_problem.h"
#include "language/translate.h"
#include "setup/program_settings.h"
#include "setup/setup_files.h"

namespace corvanel {

void Traj_form::mnuLockControls_Click() {
    mnuLockControls = !mnuLockControls;
    if (mnuLockControls) {
        Start_Profile_Enabled = false;
        mnuFrontPanel = false;
        Services_.Windows.Show_Front_Panel(false);
        std::uint8_t unit = 0;
        Statement([&] { Services_.Protocol.Stop_Auto_Tune(unit); });
    } else {
        Start_Profile_Enabled = true;
    }
}

void Traj_form::mnuFrontPanel_Click() {
    if (mnuLockControls || Run_.Running() || Run_.Start_Later_At()) {
        mnuFrontPanel = false;
        Services_.Windows.Show_Front_Panel(false);
        Display(TranslateText("Controls locked and or profile running") + std::string(CRLF) +
                TranslateText("Unlock and stop run to access front panel"));
        return;
    }
    mnuFrontPanel = !mnuFrontPanel;
    if (mnuFrontPanel) {
        Services_.Windows.Show_Front_Panel(true);
        Run_.Set_Polling_Mode("off");
        Services_.Windows.Show_Main_Window(false);
    } else {
        Services_.Windows.Show_Front_Panel(false);
        Run_.Set_Polling_Mode("monitor");
        Services_.Windows.Show_Main_Window(true);
    }
}

void Traj_form::Front_Panel_Exited() {
    Services_.Windows.Show_Main_Window(true);
    mnuFrontPanel = false;
    Run_.Resume_Ticks(false);
    Display(Words_Of(Fixed_Message::Monitor_Mode));
}

void Traj_form::mnuSetUpName_Click() {
    Name_Dialog& dialog = Services_.Name;
    if (dialog.GetName() == 1) {
        OvenName = dialog.DeviceName();
        Run_.Name_Kiln(OvenName);
    }
    Services_.Settings.Write(Program_Setting::ThermalDeviceName, OvenName);
    Display(TranslateText("Thermal Device Name set") + " == " + dialog.DeviceName());
}

void Traj_form::mnuLargeReadouts_Click() {
    Large_Readouts_Shown = !Large_Readouts_Shown;
    if (Maybe_Problem unsaved = Services_.Settings.Set_On(Large_Readouts_Setting,
                                                          Large_Readouts_Shown)) {
        Show_Problem(*this, *unsaved);
    }
}

void Traj_form::mnuEdit_Click() {
    Services_.Windows.Show_Profile_Editor(Run_.Controller_Scale());
}

void Traj_form::frmCommPortConfig_Click() {
    Statement([this] { Services_.Windows.Show_CommSetUp(); });
}

void Traj_form::mnuComm_Click(int number) {
    if (number < 1 || number > 3) return;
    static const std::array<const char*, 3> Set = {"Comm port 1 set", "Comm port 2 set",
                                                   "Comm port 3 set"};
    static const std::array<const char*, 3> Set_Error = {
        "Comm port 1 set error", "Comm port 2 set error", "Comm port 3 set error"};
    Clear();
    for (int n = 1; n <= 3; ++n) mnuComm[n - 1] = n == number;
    Comm_Port_Number = static_cast<std::int16_t>(number);
    Save_Setup();
    try {
        if (!Port_) throw Run_Time_Error(Error_Number::Port_Not_Open);
        Port_->Switch_Port(number);
        Display(TranslateText(Set[number - 1]));
    } catch (const Run_Time_Error& error) {
        // The number chosen stays saved even when the port would not open.
        Display(TranslateText(Set_Error[number - 1]));
        if (error.Number == Error_Number::No_Such_Port)
            Display(TranslateText("Invalid port number"));
        Show_Port_Open_Advice(error, [this](const std::string& line) { Display(line); });
    }
}

}  // namespace corvanel
