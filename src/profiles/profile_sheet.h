// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <string>

namespace corvanel {

// The profile sheet: rows 0..255 by columns 0..9 of text cells. Row r is segment r;
// row 0 is never used for data.
inline constexpr int Sheet_Rows = 256;
inline constexpr int Sheet_Columns = 10;
inline constexpr int Last_Segment_Row = 255;

enum Sheet_Column : int {
    Col_Seg = 0,
    Col_Start_Time = 1,
    Col_Duration = 2,
    Col_Action = 3,
    Col_Start_Temp = 4,
    Col_End_Temp = 5,
    Col_Ramp_Rate = 6,
    Col_Error_Limits = 7,
    Col_Command = 8,
    Col_Notify = 9,
};

using Profile_Sheet = std::array<std::array<std::string, Sheet_Columns>, Sheet_Rows>;

// The column titles, in English, as both grids show them above the columns.
inline constexpr std::array<const char*, Sheet_Columns> Sheet_Column_Titles = {
    "Seg",      "Start Time", "Duration",     "Action",  "Start Temp",
    "End Temp", "Ramp Rate",  "Error Limits", "Command", "Notify= t,T"};

}  // namespace corvanel
