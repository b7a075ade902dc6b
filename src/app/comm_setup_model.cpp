// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/comm_setup_model.h"

#include <functional>
#include <vector>

#include "app/traj_form_model.h"
#include "common/text.h"
#include "controller/protocol.h"
#include "controller/serial_link.h"
#include "language/setting_complaint.h"
#include "language/translate.h"
#include "setup/program_settings.h"

namespace corvanel {

namespace {

// One statement of a handler: a run-time error goes to `on_error`, then the handler
// goes on with its next statement.
void Statement(const std::function<void()>& statement,
               const std::function<void(const Run_Time_Error&)>& on_error = {}) {
    try {
        statement();
    } catch (const Run_Time_Error& error) {
        if (on_error) on_error(error);
    }
}

}  // namespace

CommSetUp::CommSetUp(Traj_form& main_window, Serial_Port& serial_window, InOut_Functions& protocol,
                     Settings_Store& settings)
    : Main_(main_window), Serial_(serial_window), Protocol_(protocol), Settings_(settings) {}

void CommSetUp::Show_Selected_Port() {
    CommPortNumber = std::to_string(Selected_Port);
    Port_Device_Text = Serial_Port_Details_Shown(Settings_)
                           ? Serial_Port_Text(Selected_Port, Settings_, Devices)
                           : std::string();
}

void CommSetUp::Show_Advice(const Run_Time_Error& error) {
    Show_Port_Open_Advice(error, [this](const std::string& line) { SPDisplay(line); });
}

void CommSetUp::SPDisplay(const std::string& text) {
    Append_Message(SerialPortPrompt, text);
}

void CommSetUp::Use_Port(int port) {
    // The operator's port wins over a reconnect in progress, which the switch drops.
    Serial_.Switch_Port(port);
}

void CommSetUp::Form_Open() {
    Port_At_Open = Selected_Port = static_cast<std::int16_t>(Serial_.Device().Comm_Port());
    Show_Selected_Port();
    Max_Port_Number = 20;
    Check_Mark_Reading details = Read_Check_Mark(Settings_, Program_Setting::SerialPortDetails);
    if (!details.Complaint.empty()) SPDisplay(details.Complaint);
    if (std::optional<bool> control = Main_.Pause_Ticks()) Resume_Control_Timer = *control;
}

void CommSetUp::Form_Close() {
    Main_.Resume_Ticks(Resume_Control_Timer);
    Main_.Save_Setup();
}

void CommSetUp::IncrPortNum_Click() {
    if (Selected_Port < Max_Port_Number) ++Selected_Port;
    Show_Selected_Port();
}

void CommSetUp::DecrPortNumber_Click() {
    if (Selected_Port > 1) --Selected_Port;
    Show_Selected_Port();
}

void CommSetUp::SavePortSettings_Click() {
    // A port that would not open is told after the "set to" line.
    std::vector<std::string> advice;
    Statement([this] { Use_Port(Selected_Port); },
              [&](const Run_Time_Error& error) {
                  Show_Port_Open_Advice(error,
                                        [&](const std::string& line) { advice.push_back(line); });
              });
    Main_.Keep_Comm_Port(Selected_Port);
    SPDisplay(TranslateText("Serial Port Number set to") + " #" + CommPortNumber);
    for (const std::string& line : advice) SPDisplay(line);
    Main_.Save_Setup();
}

void CommSetUp::SerialPortScan() {
    SerialPortPrompt.clear();
    const bool details_shown = Serial_Port_Details_Shown(Settings_);
    SPDisplay(TranslateText("Scanning Serial Port # Range"));
    SPDisplay(std::string(35, '-'));
    const std::string stars(72, '*');
    for (int p = 1; p <= Max_Port_Number; ++p) {
        bool port_failed = false;
        auto on_error = [&](const Run_Time_Error& error) {
            if (error.Number == Error_Number::No_Such_Port) {
                SPDisplay(TranslateText("Serial port number") + " " + std::to_string(p) + " " +
                          TranslateText("is not installed") + "<-");
                port_failed = true;
            } else {
                SPDisplay(TranslateText("Comm port error"));
            }
            Show_Advice(error);
            Protocol_.Comm_Error = true;
        };
        Serial_Device& device = Serial_.Device();
        Statement(
            [&] {
                if (device.Port_Open()) device.Set_Port_Open(false);
            },
            on_error);
        Statement([&] { device.Set_Comm_Port(p); }, on_error);
        Statement([&] { device.Set_Port_Open(true); }, on_error);
        if (!port_failed) {
            std::uint8_t unit = 0;
            Statement([&] { Protocol_.Read_PV(unit); }, on_error);
            Statement([&] { Protocol_.Reply_Wait(); }, on_error);
        }
        if (!Protocol_.Comm_Error) {
            SPDisplay(stars);
            SPDisplay(stars);
            SPDisplay(TranslateText("Serial Port") + " #" + std::to_string(p) + "  " +
                      TranslateText("Temperature controller seen on this port number") + " *");
            SPDisplay(stars);
            SPDisplay(stars);
        }
        if (Protocol_.Comm_Error && !port_failed) {
            SPDisplay(TranslateText("Serial Port") + " #" + std::to_string(p) + "  ->" +
                      TranslateText("Port seen, no controller seen on it") + "<-");
        }
        if (details_shown && Serial_Port_Of(p, Settings_, Devices)) {
            SPDisplay("    " + Serial_Port_Text(p, Settings_, Devices));
        }
    }
    SPDisplay("");
    SPDisplay(TranslateText("Scan finished"));
    Statement([this] { Use_Port(Port_At_Open); });
}

}  // namespace corvanel
