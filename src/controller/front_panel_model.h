// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <functional>
#include <string>

namespace corvanel {

class InOut_Functions;
class Request_Sink;

// The state of the controller front panel that the protocol writes and the run engine
// reads. It exists, hidden, from the first controller command on; the window shows it.
class FrontPanel {
  public:
    // Unit address used by every command button, kept within its bounds.
    std::uint8_t Unit_Address = 0;
    std::uint8_t Max_Unit_Address = 100;
    std::uint8_t Min_Unit_Address = 0;
    std::string Unit_Address_Display = "0";

    // Outcome of the last command.
    bool Communication_Status = false;
    bool Command_Executed = false;

    // The fourteen status bits of the last good process-value read.
    bool Remote = false;
    bool Manual = false;
    bool RamWrite = false;
    bool AutoTuning = false;
    bool Alarm_2 = false;
    bool Alarm_1 = false;
    bool ShiftOn = false;
    bool MemDiff = false;
    bool RamDataError = false;
    bool HeaterBurnout = false;
    bool AD_Fail = false;
    bool InputError = false;
    bool Underflow = false;
    bool OverFlow = false;

    bool Unit_Scanning_Indicator = false;

    // Read-outs.
    std::string Set_Point;
    std::string Process_Value;
    std::string Output_Display;
    std::string Low_Limit_Display;
    std::string High_Limit_Display;

    // Raw view of every received character, with control characters marked.
    std::string Response_Box;
    // The panel's message area.
    std::string User_Interface;

    // Written by the status read, read by the run's start command.
    std::string Controller_Input_Type;
    std::uint8_t Controller_Temp_Scale = 0;

    // Characters typed into Response_Box since the last Enter.
    std::string Typed_Line;

    // Where typed lines go (the serial link); none until the link is wired.
    Request_Sink* Link = nullptr;

    // The command routines the buttons call; none until the protocol is wired.
    void Connect(InOut_Functions& protocol) { Protocol_ = &protocol; }
    // Loads the serial window, which opens the port if nothing has yet.
    std::function<void()> Load_Serial_Window;
    // Hides the panel's window; the panel and its state stay.
    std::function<void()> Hide_Window;
    // The main window's part of EXIT: it comes back, monitoring.
    std::function<void()> Exited;

    // The first creation of the window: the serial window is loaded and the address
    // starts at 0 within 0..100. Later calls find the panel loaded.
    void Form_Load();

    // Appends the text and CR LF at the end of User_Interface.
    void Display(const std::string& text);

    // The "<" and ">" buttons: step the address within its bounds, no wrap-around.
    void Decrement_Unit_Addr_Click();
    void Increment_Unit_Addr_Click();

    // A key typed into Response_Box: kept in Typed_Line and shown; Enter sends the
    // line as typed, carriage return included, without framing or checksum.
    void Response_Box_KeyPress(char key);

    // The command buttons: each empties User_Interface, then sends its command to
    // Unit_Address. What the controller answers lands in the panel's state.
    void SV_Read_Command_Click();
    void SV_Command_Click();  // writes the fixed value -10
    void RV_Command_Click();
    void NV_Ram_Click();
    void Ram_Only_Click();
    void NV_AllSave_Click();
    void Display_Status_Click();
    void ReadOutputValue_Click();
    void Read_Set_Limits_Click();
    void AutoTune_Click();
    void Stop_Tune_Click();
    // Reads every address from 0 to 100 and lists who answered; Unit_Address stays.
    void Unit_Addr_Scan_Click();

    // EXIT: the panel hides, then the main window takes over again.
    void Exit_FrontPanel_Click();

    // The value "Write Set Value" sends.
    static constexpr std::int16_t Test_Set_Value = -10;

  private:
    // Empties User_Interface, then runs the command with Unit_Address.
    void Command(void (*command)(InOut_Functions&, std::uint8_t&));

    InOut_Functions* Protocol_ = nullptr;
    bool Loaded_ = false;
};

}  // namespace corvanel
