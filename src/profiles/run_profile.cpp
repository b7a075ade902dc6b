// SPDX-License-Identifier: GPL-3.0-or-later
#include "profiles/run_profile.h"

#include "common/numeric.h"
#include "profiles/profile_file.h"
#include "profiles/sensor_table.h"

namespace corvanel {

bool Is_Platinum_Sensor(const std::string& sensor_type) {
    std::optional<int> index = Sensor_Index_Of_Code(sensor_type);
    return index && Sensor_Types[*index].Platinum;
}

void Build_Run_Tables(const Profile_Sheet& sheet, const std::string& sensor_type,
                      int finished_segment, Run_Tables& tables) {
    const double scale = Is_Platinum_Sensor(sensor_type) ? 10 : 1;
    for (int i = 1; i <= finished_segment - 1 && i <= Last_Segment_Row; ++i) {
        const int k = i - 1;
        const auto& row = sheet[i];
        tables.Seg_Start_Time[k] = Number_Of(row[Col_Start_Time]);
        tables.Seg_End_Time[k] = Number_Of(row[Col_Start_Time]) + Number_Of(row[Col_Duration]);
        tables.Seg_Start_Temp[k] = Number_Of(row[Col_Start_Temp]) * scale;
        tables.Seg_End_Temp[k] = Number_Of(row[Col_End_Temp]) * scale;
        if (!row[Col_Error_Limits].empty()) {
            tables.Seg_Error_Limit[k] = Number_Of(row[Col_Error_Limits]) * scale;
        }
    }
    for (int i = 1; i <= Last_Segment_Row; ++i) {
        if (sheet[i][Col_Error_Limits].empty()) tables.Seg_Error_Limit[i - 1] = No_Error_Limit;
    }
}

std::vector<std::pair<double, double>> Build_Run_Chart(const Profile_Sheet& sheet) {
    const int n = Last_Used_Row(sheet);
    std::vector<std::pair<double, double>> points(static_cast<std::size_t>(n) + 1, {0.0, 0.0});
    for (int i = 2; i <= n + 1; ++i) {
        const auto& row = sheet[i - 1];
        if (!row[Col_Start_Time].empty())
            points[i - 1].first = Convert_To_Double(row[Col_Start_Time]).Value.value_or(0);
        if (!row[Col_Start_Temp].empty())
            points[i - 1].second = Convert_To_Double(row[Col_Start_Temp]).Value.value_or(0);
    }
    return points;
}

}  // namespace corvanel
