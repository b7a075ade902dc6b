// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <string>
#include <utility>
#include <vector>

#include "profiles/profile_sheet.h"

namespace corvanel {

// The per-segment tables the run engine works from; index k is sheet row k + 1.
// Temperatures and error limits are in the controller's units: whole degrees, or
// tenths of a degree for the platinum resistance sensors.
struct Run_Tables {
    std::array<double, 256> Seg_Start_Time{};
    std::array<double, 256> Seg_End_Time{};
    std::array<double, 256> Seg_Start_Temp{};
    std::array<double, 256> Seg_End_Temp{};
    std::array<double, 256> Seg_Error_Limit{};
};

// The error limit standing for "no limit given": no alert below this deviation.
inline constexpr double No_Error_Limit = 3000;

// Fills the tables from rows 1 to finished_segment - 1 of the sheet; entries beyond
// keep what they held. Every row whose Error Limits cell is empty gets No_Error_Limit.
// A cell that is not a number throws Run_Time_Error, leaving the rows before it filled.
void Build_Run_Tables(const Profile_Sheet& sheet, const std::string& sensor_type,
                      int finished_segment, Run_Tables& tables);

// The run chart: (0, 0), then (Start Time, Start Temp) of rows 1 to Last_Used_Row;
// an empty cell gives 0.
std::vector<std::pair<double, double>> Build_Run_Chart(const Profile_Sheet& sheet);

// True for "PtJIS" and "PtDIN": the controller works in tenths of a degree.
bool Is_Platinum_Sensor(const std::string& sensor_type);

}  // namespace corvanel
