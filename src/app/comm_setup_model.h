// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <string>

#include "controller/serial_ports.h"
#include "setup/settings_store.h"

namespace corvanel {

class InOut_Functions;
class Serial_Port;
class Traj_form;

// The port set-up window without its widgets: choose the serial port of the controller
// by number, or scan ports 1 to 20 for one.
class CommSetUp {
  public:
    CommSetUp(Traj_form& main_window, Serial_Port& serial_window, InOut_Functions& protocol,
              Settings_Store& settings);

    // Each showing by "Comm Port Config": the ticks stop while the window is open.
    void Form_Open();
    // The operator closes the window: the tick that ran before runs again.
    void Form_Close();
    void IncrPortNum_Click();
    void DecrPortNumber_Click();
    void SavePortSettings_Click();
    void ScanPortNumber_Click() { SerialPortScan(); }
    void SerialPortScan();
    void SPDisplay(const std::string& text);

    std::int16_t Port_At_Open = 1;
    std::int16_t Selected_Port = 1;
    std::int16_t Max_Port_Number = 20;
    bool Resume_Control_Timer = false;
    std::string CommPortNumber;    // the text box showing Selected_Port
    std::string SerialPortPrompt;  // the window's message area
    // The device the selected port stands for and what is known of it; empty when
    // Setup/SerialPortDetails.txt turns the details off.
    std::string Port_Device_Text;
    // Where the machine's serial devices are listed (tests use a tree of their own).
    Device_Tree Devices;

  private:
    void Show_Selected_Port();
    void Use_Port(int port);  // close if open, select, open
    void Show_Advice(const Run_Time_Error& error);

    Traj_form& Main_;
    Serial_Port& Serial_;
    InOut_Functions& Protocol_;
    Settings_Store& Settings_;
};

}  // namespace corvanel
