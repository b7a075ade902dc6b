// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

namespace corvanel {

// The messages the program has always shown in the same words, kept in one table: the
// place a fault happens names its kind, the table its words. Where a message is shown
// translated, the caller translates these words, as it always has.
enum class Fixed_Message {
    Comm_Port_Init_Error,
    Invalid_Port_Number,
    Error_Closing_Serial_Port,
    Inter_Module_Message_Error,
    Comm_Port_Not_Open,
    OnComm_Transmission_Error,
    Command_Cannot_Be_Executed,
    Read_Status_Error,
    SetValue_Routine_Error,
    ReadValue_Routine_Error,
    Set_Value_Communications_Error,
    Read_Value_Communications_Error,
    Unplug_Kiln_If_Persists,
    Thermocouple_Input_Fault,
    Monitor_Mode,
    No_Language_Selected,
};

const std::string& Words_Of(Fixed_Message message);

}  // namespace corvanel
