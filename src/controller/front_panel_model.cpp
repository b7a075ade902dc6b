// SPDX-License-Identifier: GPL-3.0-or-later
#include "controller/front_panel_model.h"

#include <exception>

#include "common/error_numbers.h"
#include "common/text.h"
#include "controller/protocol.h"
#include "controller/serial_link.h"

namespace corvanel {

namespace {

// Every statement of a panel handler that fails is skipped; the handler goes on with
// the next one and says nothing of its own.
template <typename Statement>
void Skip_On_Failure(Statement statement) {
    try {
        statement();
    } catch (const Run_Time_Error&) {
    } catch (const std::exception&) {
    }
}

}  // namespace

void FrontPanel::Display(const std::string& text) {
    Append_Message(User_Interface, text);
}

void FrontPanel::Form_Load() {
    if (Loaded_) return;
    Loaded_ = true;
    Skip_On_Failure([this] {
        if (Load_Serial_Window) Load_Serial_Window();
    });
    Unit_Address = 0;
    Unit_Address_Display = Format_Whole(Unit_Address);
    Max_Unit_Address = 100;
    Min_Unit_Address = 0;
}

void FrontPanel::Decrement_Unit_Addr_Click() {
    User_Interface.clear();
    if (Unit_Address > Min_Unit_Address) {
        --Unit_Address;
        Unit_Address_Display = Format_Whole(Unit_Address);
    }
}

void FrontPanel::Increment_Unit_Addr_Click() {
    User_Interface.clear();
    if (Unit_Address < Max_Unit_Address) {
        ++Unit_Address;
        Unit_Address_Display = Format_Whole(Unit_Address);
    }
}

void FrontPanel::Response_Box_KeyPress(char key) {
    Typed_Line += key;
    Response_Box += key;
    if (key == '\r') {
        if (Link) Link->Transmit(Typed_Line);
        Typed_Line.clear();
    }
}

void FrontPanel::Command(void (*command)(InOut_Functions&, std::uint8_t&)) {
    User_Interface.clear();
    Skip_On_Failure([&] {
        if (!Protocol_) throw Run_Time_Error(Error_Number::Port_Not_Open);
        command(*Protocol_, Unit_Address);
    });
}

void FrontPanel::SV_Read_Command_Click() {
    Command([](InOut_Functions& io, std::uint8_t& unit) { io.Read_SV(unit); });
}

void FrontPanel::SV_Command_Click() {
    Command([](InOut_Functions& io, std::uint8_t& unit) {
        std::int16_t value = Test_Set_Value;
        io.Write_SV(unit, value);
    });
}

void FrontPanel::RV_Command_Click() {
    Command([](InOut_Functions& io, std::uint8_t& unit) { io.Read_PV(unit); });
}

void FrontPanel::NV_Ram_Click() {
    Command([](InOut_Functions& io, std::uint8_t& unit) { io.Set_Write_Mode_Backup(unit); });
}

void FrontPanel::Ram_Only_Click() {
    Command([](InOut_Functions& io, std::uint8_t& unit) { io.Set_Write_Mode_RAM(unit); });
}

void FrontPanel::NV_AllSave_Click() {
    Command([](InOut_Functions& io, std::uint8_t& unit) { io.Save_RAM_To_NV(unit); });
}

void FrontPanel::Display_Status_Click() {
    Command([](InOut_Functions& io, std::uint8_t& unit) { io.Read_Status(unit); });
}

void FrontPanel::ReadOutputValue_Click() {
    Command([](InOut_Functions& io, std::uint8_t& unit) { io.Read_Output(unit); });
}

void FrontPanel::Read_Set_Limits_Click() {
    Command([](InOut_Functions& io, std::uint8_t& unit) { io.Read_Limits(unit); });
}

void FrontPanel::AutoTune_Click() {
    Command([](InOut_Functions& io, std::uint8_t& unit) { io.Start_Auto_Tune(unit); });
}

void FrontPanel::Stop_Tune_Click() {
    Command([](InOut_Functions& io, std::uint8_t& unit) { io.Stop_Auto_Tune(unit); });
}

void FrontPanel::Unit_Addr_Scan_Click() {
    Command([](InOut_Functions& io, std::uint8_t&) { io.Scan_Unit_Addresses(); });
}

void FrontPanel::Exit_FrontPanel_Click() {
    Skip_On_Failure([this] {
        if (Hide_Window) Hide_Window();
    });
    Skip_On_Failure([this] {
        if (Exited) Exited();
    });
}

}  // namespace corvanel
