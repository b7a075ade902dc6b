// SPDX-License-Identifier: GPL-3.0-or-later
#include "controller/serial_link.h"
#include "common/fixed_message.h"

#include <cmath>
#include <vector>

#include "common/numeric.h"
#include "common/text.h"
#include "controller/front_panel_model.h"
#include "setup/program_paths.h"

namespace corvanel {

Line_Settings Parse_Line_Settings(const std::string& settings) {
    std::vector<std::string> parts;
    std::string part;
    for (char c : settings + ",") {
        if (c == ',') {
            parts.push_back(part);
            part.clear();
        } else {
            part += c;
        }
    }
    if (parts.size() != 4 || parts[1].size() != 1)
        throw Run_Time_Error(Error_Number::Type_Mismatch);
    Line_Settings line;
    double baud = Number_Of(parts[0]);
    if (baud < 1 || baud > 4000000 || baud != std::floor(baud)) {
        throw Run_Time_Error(Error_Number::Type_Mismatch);
    }
    line.Baud = static_cast<int>(baud);
    line.Parity = parts[1][0];
    if (std::string("NEOMS").find(line.Parity) == std::string::npos) {
        throw Run_Time_Error(Error_Number::Type_Mismatch);
    }
    line.Data_Bits = Int16_Of(parts[2]);
    line.Stop_Bits = Int16_Of(parts[3]);
    if (line.Data_Bits < 5 || line.Data_Bits > 8 || line.Stop_Bits < 1 || line.Stop_Bits > 2) {
        throw Run_Time_Error(Error_Number::Type_Mismatch);
    }
    return line;
}

std::string Serial_Device_Name(int port, const Settings_Store& settings, const Device_Tree& tree) {
    if (port < 1) throw Run_Time_Error(Error_Number::No_Such_Port);
#ifdef _WIN32
    (void)settings;
    (void)tree;
    return "COM" + Format_Whole(port);
#else
    std::optional<Serial_Port_Entry> entry = Serial_Port_Of(port, settings, tree);
    if (!entry) throw Run_Time_Error(Error_Number::No_Such_Port);
    return entry->Device;
#endif
}

Serial_Port::Serial_Port(Serial_Device& device, FrontPanel& panel, Message_Area& main_display,
                         std::string& reply_buffer)
    : Device_(device), Panel_(panel), Main_Display_(main_display), Reply_Buffer_(reply_buffer) {}

void Serial_Port::Form_Load(int comm_port_number) {
    // The window loads once; later loads (the front panel's) find it loaded.
    if (Loaded_) return;
    Loaded_ = true;
    try {
        Device_.Set_Comm_Port(comm_port_number);
        Device_.Set_Settings(Line_Settings_Text);
        Device_.Set_Port_Open(true);
        ++Openings_;
    } catch (const Run_Time_Error& error) {
        Main_Display_.Display(Words_Of(Fixed_Message::Comm_Port_Init_Error));
        if (error.Number == Error_Number::No_Such_Port)
            Main_Display_.Display(Words_Of(Fixed_Message::Invalid_Port_Number));
        Show_Port_Open_Advice(error,
                              [this](const std::string& line) { Main_Display_.Display(line); });
    }
}

void Serial_Port::Form_Unload() {
    try {
        Device_.Set_Port_Open(false);
    } catch (const Run_Time_Error&) {
        Main_Display_.Clear();
        Main_Display_.Display(Words_Of(Fixed_Message::Error_Closing_Serial_Port));
    }
}

void Serial_Port::Switch_Port(int port) {
    Retry_.Drop();
    if (Device_.Port_Open()) Device_.Set_Port_Open(false);
    Device_.Set_Comm_Port(port);
    Device_.Set_Port_Open(true);
    ++Openings_;
}

bool Serial_Port::Reconnect_If_Due(long long seconds) {
    if (!Retry_.Try_Due(seconds)) return false;
    try {
        Device_.Reopen();
        ++Openings_;
        return true;
    } catch (const Run_Time_Error&) {
        return false;
    }
}

void Serial_Port::Set_Inter_Module_Message(const std::string& text) {
    if (text == Inter_Module_Message_) return;
    Inter_Module_Message_ = text;
    Inter_Module_Message_Change();
}

void Serial_Port::Inter_Module_Message_Change() {
    try {
        if (!Inter_Module_Message_.empty()) Device_.Output(Inter_Module_Message_);
        // Emptying the box fires the event once more, which then sends nothing.
        Set_Inter_Module_Message("");
    } catch (const Run_Time_Error& error) {
        Main_Display_.Display(Words_Of(Fixed_Message::Inter_Module_Message_Error));
        if (error.Number == Error_Number::Port_Not_Open)
            Main_Display_.Display(Words_Of(Fixed_Message::Comm_Port_Not_Open));
    }
}

void Serial_Port::MSComm1_OnComm(int comm_event) {
    if (comm_event != Comm_Event_Receive) return;
    try {
        std::string chunk = Device_.Input();
        // An event with nothing waiting has no first character to look at.
        if (chunk.empty()) throw Run_Time_Error(Error_Number::Subscript_Out_Of_Range);
        std::string shown;
        switch (chunk.front()) {
            case '\x02':
                shown = "<stx>";
                break;
            case '\x03':
                shown = "<etx>";
                break;
            case '\n':
                shown = "<lf>";
                break;
            case '\r':
                shown = std::string(CRLF);
                break;
            default:
                shown = chunk;
                break;
        }
        Panel_.Response_Box += shown;
        Reply_Buffer_ += chunk;
    } catch (const Run_Time_Error&) {
        Main_Display_.Clear();
        Main_Display_.Display(Words_Of(Fixed_Message::OnComm_Transmission_Error));
    }
}

}  // namespace corvanel
