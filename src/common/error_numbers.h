// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <stdexcept>
#include <string>
#include <vector>

#include "common/problem.h"

namespace corvanel {

// The run-time error numbers the system reports in its messages ("Error Number= 13").
// Numbers shown to the operator follow the classic run-time numbering so that a
// message read out over the phone means the same thing everywhere.
enum class Error_Number : int {
    None = 0,
    Overflow = 6,
    Out_Of_Memory = 7,
    Subscript_Out_Of_Range = 9,
    Type_Mismatch = 13,
    Bad_File_Name_Or_Number = 52,
    File_Not_Found = 53,
    Device_IO_Error = 57,
    Disk_Full = 61,
    Input_Past_End_Of_File = 62,
    Permission_Denied = 70,
    Path_File_Access_Error = 75,
    Path_Not_Found = 76,
    No_Such_Port = 8002,
    Port_Not_Open = 8018,
    Dialog_Cancelled = 32755,
};

inline int To_Int(Error_Number number) {
    return static_cast<int>(number);
}

// A failed statement inside a handler. Core routines throw it; the handler that owns
// the statement catches it, reports the number the way its messages say, and goes on.
// It never leaves a handler.
class Run_Time_Error : public std::runtime_error {
  public:
    explicit Run_Time_Error(Error_Number number)
        : std::runtime_error("run-time error " + std::to_string(To_Int(number))), Number(number) {}
    Error_Number Number;
};

// What a failed statement says in the run window: the handler's own lines, then the
// number as those messages have always shown it ("Error Number= 13"). The one place
// that words it.
Problem Problem_Of(const Run_Time_Error& error, const std::vector<std::string>& where);

}  // namespace corvanel
