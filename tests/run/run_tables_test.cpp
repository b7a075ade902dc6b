// SPDX-License-Identifier: GPL-3.0-or-later
#include "profiles/run_profile.h"

#include <gtest/gtest.h>

#include "common/error_numbers.h"
#include "common/text.h"
#include "run/safe_start.h"

namespace corvanel {
namespace {

Profile_Sheet Sheet_Of(std::initializer_list<std::array<std::string, 10>> rows) {
    Profile_Sheet sheet{};
    int row = 1;
    for (const auto& cells : rows) sheet[row++] = cells;
    return sheet;
}

// Segment k of the tables as "start-end:from-to/limit".
std::string Segment_Of(const Run_Tables& tables, int k) {
    return Format_Number(tables.Seg_Start_Time[k]) + "-" + Format_Number(tables.Seg_End_Time[k]) +
           ":" + Format_Number(tables.Seg_Start_Temp[k]) + "-" +
           Format_Number(tables.Seg_End_Temp[k]) + "/" + Format_Number(tables.Seg_Error_Limit[k]);
}

// The worked example; a blank limit stands for 3000. A platinum sensor works in tenths,
// except that 3000, while the chart stays in degrees.
TEST(Run_Tables, TheWorkedExampleAndAPlatinumProfileInTenths) {
    Profile_Sheet sheet = Sheet_Of({{"1", "0", "60", "r", "70", "1000", "15.50", "50", "", ""},
                                    {"2", "60.00", "30", "h", "1000", "1000", "0", "", "", ""},
                                    {"3", "90.00", "", "e", "1000", "", "", "", "", ""}});
    Run_Tables tables;
    Build_Run_Tables(sheet, "K    ", 3, tables);
    EXPECT_EQ(Segment_Of(tables, 0) + " " + Segment_Of(tables, 1),
              "0-60:70-1000/50 60-90:1000-1000/3000");
    for (int k = 1; k < 255; ++k) ASSERT_EQ(tables.Seg_Error_Limit[k], 3000) << k;
    EXPECT_EQ(Build_Run_Chart(sheet),
              (std::vector<std::pair<double, double>>{{0, 0}, {0, 70}, {60, 1000}, {90, 1000}}));

    sheet = Sheet_Of({{"1", "0", "10", "r", "20", "400", "38.00", "5", "", ""},
                      {"2", "10.00", "5", "h", "400", "400", "0", "", "", ""},
                      {"3", "15.00", "", "e", "400", "", "", "", "", ""}});
    Build_Run_Tables(sheet, "PtJIS", 3, tables);
    EXPECT_EQ(Segment_Of(tables, 0) + " " + Segment_Of(tables, 1),
              "0-10:200-4000/50 10-15:4000-4000/3000");
    EXPECT_EQ(Build_Run_Chart(sheet)[1], std::make_pair(0.0, 20.0));

    // A cell that is no number stops the build instead of firing a wrong curve.
    sheet = Sheet_Of({{"1", "0", "ten", "r", "20", "400", "", "", "", ""},
                      {"2", "", "", "e", "400", "", "", "", "", ""}});
    EXPECT_THROW(Build_Run_Tables(sheet, "K    ", 2, tables), Run_Time_Error);
}

// A warm kiln starts where the first rising segment reaches it, even when a hold comes
// first: half-way up a ramp from 30 to 90 minutes is 60 minutes.
TEST(Safe_Start, AWarmKilnStartsWhereTheFirstRisingSegmentReachesIt) {
    Run_Tables tables;
    tables.Seg_Start_Time = {0, 30, 90};
    tables.Seg_End_Time = {30, 90};
    tables.Seg_Start_Temp = {70, 70, 1070};
    tables.Seg_End_Temp = {70, 1070};
    EXPECT_EQ(Elapsed_At_Kiln_Temperature(tables, 3, 570), 60);
    EXPECT_EQ(Elapsed_At_Kiln_Temperature(tables, 3, 2000), 90);
    EXPECT_EQ(Elapsed_At_Kiln_Temperature(tables, 3, 60), 0);
    EXPECT_EQ(Elapsed_At_Kiln_Temperature(tables, 3, 70), 0);  // at the start: from the start
    EXPECT_EQ(Elapsed_At_Kiln_Temperature(tables, 2, 570), 0);  // the hold alone never rises
    tables.Seg_Start_Temp[0] = 20;
    EXPECT_EQ(Elapsed_At_Kiln_Temperature(tables, 2, 45), 15);  // one ramp is enough
}

}  // namespace
}  // namespace corvanel
