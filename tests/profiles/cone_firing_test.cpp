// SPDX-License-Identifier: GPL-3.0-or-later
// Cone firing: the chart compiled into the core and the firings worked out from it, as
// the editor's sheet holds them once typed.

#include <gtest/gtest.h>

#include <cmath>

#include "profiles/cone_firing.h"
#include "profiles/cone_table.h"
#include "profiles/detached_editor.h"
#include "profiles/profile_file.h"

namespace corvanel {
namespace {

TEST(Cone_Table, RunsFrom022To10HotterWithEveryConeAndIsFoundAsPottersWriteIt) {
    std::span<const Cone_Equivalent> table = Cone_Table();
    ASSERT_EQ(table.size(), 32u);
    EXPECT_EQ(table.front().Cone, "022");
    // The chart's two scales are one temperature each: a typo in either shows here.
    for (const Cone_Equivalent& cone : table) {
        EXPECT_EQ(cone.Fahrenheit_108, std::lround(cone.Celsius_60 * 9.0 / 5 + 32)) << cone.Cone;
        EXPECT_EQ(cone.Fahrenheit_270, std::lround(cone.Celsius_150 * 9.0 / 5 + 32)) << cone.Cone;
    }
    EXPECT_EQ(Find_Cone("04")->Fahrenheit_108, 1945);
    EXPECT_EQ(Find_Cone("4")->Fahrenheit_108, 2124);
    EXPECT_EQ(Find_Cone(" 10 ")->Celsius_150, 1305);
    for (const char* not_a_cone : {"", "004", "4.0", "11", "023", "0", "00"})
        EXPECT_FALSE(Find_Cone(not_a_cone)) << not_a_cone;
}

// The sheet rows 1 to the end row, columns Start Time to Ramp Rate, "|" between cells;
// the sheet must pass the editor's check, as the editor would save it.
std::vector<std::string> Sheet_Rows_Of(const Typed_Profile& profile) {
    Detached_Editor scratch;
    Type_Profile(scratch.Editor, profile);
    scratch.Editor.Check_Profile();
    EXPECT_FALSE(scratch.Editor.Profile_Error) << scratch.Editor.User_Prompt;
    const Profile_Sheet& sheet = scratch.Editor.WorkSheet;
    std::vector<std::string> rows;
    for (int row = 1; row <= Last_Used_Row(sheet); ++row) {
        std::string line;
        for (int col = Col_Start_Time; col <= Col_Ramp_Rate; ++col)
            line += (col > Col_Start_Time ? "|" : "") + sheet[row][col];
        rows.push_back(line);
    }
    return rows;
}

// Start Time|Duration|Action|Start Temp|End Temp|Ramp Rate, worked out by hand from the chart.
TEST(Cone_Firing, TheRowsAreWorkedOutByHandFromTheChart) {
    const std::tuple<Cone_Firing_Choice, std::vector<std::string>, const char*> firings[] = {
        // 04 medium in C: 1077 C at 150 C/h; 300 F/h is 166.67 C/h; preheat at 82 C.
        {{"04", Cone_Speed::Medium, false, 2, "1", "15", "", "", ""},
         {"0|0.37|r|21|82|166.67", "0.37|1|h|82|82|0", "1.37|5.31|r|82|967|166.67",
          "6.68|0.73|r|967|1077|150", "7.41|0.25|h|1077|1077|0", "7.66||e|1077||"},
         "cone04_medium.txt"},
        // 6 fast: 2269 F at 270 F/h, 2069 at 500 F/h first, cooled at 150 F/h to 1500.
        {{"6", Cone_Speed::Fast, true, 2, "", "", "150", "1500", ""},
         {"0|4.00|r|70|2069|500", "4.00|0.74|r|2069|2269|270", "4.74|5.13|r|2269|1500|-150",
          "9.87||e|1500||"},
         "cone6_fast.txt"},
        // 9 slow is 2300 F, a K thermocouple's very limit: still allowed.
        {{"9", Cone_Speed::Slow, true, 2, "", "", "", "", ""},
         {"0|13.53|r|70|2100|150", "13.53|1.85|r|2100|2300|108", "15.38||e|2300||"},
         "cone9_slow.txt"}};
    for (const auto& [choice, rows, file_name] : firings) {
        SCOPED_TRACE(file_name);
        Cone_Firing_Plan plan = Plan_Cone_Firing(choice);
        EXPECT_EQ(plan.Refusal, "");
        EXPECT_FALSE(plan.Profile.Minutes);
        EXPECT_EQ(plan.File_Name, file_name);
        EXPECT_EQ(Sheet_Rows_Of(plan.Profile), rows);
    }
}

TEST(Cone_Firing_Refusal, NamesWhatIsWrong) {
    const std::pair<Cone_Firing_Choice, const char*> refused[] = {
        {{"6", Cone_Speed::Medium, true, 2, "two", "", "", "", ""},
         "The preheat must be from 0.01 to 100 hours: two"},
        {{"6", Cone_Speed::Medium, true, 2, "", "", "", "", "7.5"},
         "The error limit must be a whole number from 1 to 9999: 7.5"},
        {{"6", Cone_Speed::Medium, true, 2, "", "", "150", "2269", ""},
         "The cooling must end below the cone temperature: 2269"},
        {{"6", Cone_Speed::Medium, true, 2, "", "", "150", "-301", ""},
         "The cooling temperature is below the sensor's limit: -301 < -300 (K)"}};
    for (const auto& [choice, refusal] : refused) {
        Cone_Firing_Plan plan = Plan_Cone_Firing(choice);
        EXPECT_EQ(plan.Refusal, refusal);
        EXPECT_TRUE(plan.Profile.Segments.empty()) << refusal;
    }
    // Cooling to the sensor's very limit is allowed.
    EXPECT_EQ(
        Plan_Cone_Firing({"6", Cone_Speed::Medium, true, 2, "", "", "150", "-300", ""}).Refusal,
        "");
}

}  // namespace
}  // namespace corvanel
