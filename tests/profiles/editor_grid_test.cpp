// SPDX-License-Identifier: GPL-3.0-or-later
#include "editor_test_support.h"

namespace corvanel {
namespace {

using Editor_Grid = Editor_Test;

TEST_F(Editor_Grid, RatesDurationsHoldsAndStartTimesFollowEachOther) {
    Enter(1, Col_End_Temp, "1000");
    EXPECT_EQ(Cell(2, Col_Start_Temp), "1000");
    EXPECT_EQ(Cell(1, Col_Action), "r");
    Enter(1, Col_Ramp_Rate, "100");
    EXPECT_EQ(Cell(1, Col_Duration), "9.30");
    Enter(2, Col_Duration, "30");
    Enter(3, Col_End_Temp, "1000");  // typed before its start is known
    Enter(2, Col_Action, "h");       // a hold at the segment's start...
    EXPECT_EQ(Cell(2, Col_End_Temp) + " " + Cell(2, Col_Ramp_Rate), "1000 0");
    EXPECT_EQ(Cell(3, Col_Start_Temp) + " " + Cell(3, Col_Action), "1000 h");  // ...and after
    Enter(3, Col_End_Temp, "500");
    Enter(3, Col_Ramp_Rate, "-250");  // cooling
    EXPECT_EQ(Cell(3, Col_Duration), "2.00");
    EXPECT_EQ(Cell(4, Col_Start_Time), "41.30");
    Enter(1, Col_Duration, "10");  // every later start time moves
    EXPECT_EQ(Cell(1, Col_Ramp_Rate), "93.00");
    EXPECT_EQ(Cell(4, Col_Start_Time), "42.00");
    Enter(1, Col_Ramp_Rate, "0");  // a rate of 0 makes a hold, the duration stays
    EXPECT_EQ(Cell(1, Col_Action) + " " + Cell(1, Col_Duration), "h 10");
}

TEST_F(Editor_Grid, EndTempAfterADurationUsesTheRoundedRateAndAWrongSignIsRefused) {
    Enter(1, Col_Duration, "7");
    Enter(1, Col_End_Temp, "1000");
    EXPECT_EQ(Cell(1, Col_Ramp_Rate), "132.86");
    EXPECT_EQ(Cell(1, Col_Duration), "7.00");
    for (const char* end : {"1100", "1000"}) {  // a falling rate on a rise or on a hold
        SCOPED_TRACE(end);
        Editor.User_Prompt.clear();
        Enter(2, Col_End_Temp, end);
        Enter(2, Col_Ramp_Rate, "-10");
        EXPECT_TRUE(
            Editor.User_Prompt.starts_with("Sign of ramp conflicts with End Temperature\r\n"));
        EXPECT_EQ(Cell(2, Col_End_Temp) + Cell(3, Col_Start_Temp), "");
    }
}

TEST_F(Editor_Grid, TypingEEndsTheProfileAtThatRow) {
    Type_Worked_Example();
    Enter(4, Col_End_Temp, "20");
    Enter(5, Col_Error_Limits, "7");
    Enter(3, Col_Action, "e");
    EXPECT_EQ(Cell(3, Col_Start_Temp), "1000");
    for (int row = 3; row <= 255; ++row) {
        for (int col : {Col_Duration, Col_End_Temp, Col_Ramp_Rate}) ASSERT_EQ(Cell(row, col), "");
        if (row > 3) ASSERT_EQ(Cell(row, Col_Error_Limits), "") << row;
        ASSERT_EQ(Cell(row, Col_Seg), std::to_string(row));
    }
    EXPECT_EQ(Editor.Segment_Rows, 3);
}

TEST_F(Editor_Grid, TheKeyFilterRefusesWhatACellCannotHoldAndLockedCellsSayWhy) {
    Editor.Profile_FlexGrid_Click(1, Col_Duration);
    Editor.Type_Text("6x0-");  // no letters, no minus in a duration
    EXPECT_EQ(Editor.FloatingTextBox_Text, "60");
    EXPECT_EQ(Beeper.Beeps, 2);
    Enter(1, Col_Action, "h");
    Editor.Profile_FlexGrid_Click(1, Col_Action);
    Editor.Type_Key('R');  // upper case beeps and gives the cell back
    EXPECT_EQ(Editor.FloatingTextBox_Text, "h");
    Editor.Type_Key('r');  // a letter replaces the text
    EXPECT_EQ(Editor.FloatingTextBox_Text, "r");
    EXPECT_EQ(Beeper.Beeps, 3);

    const std::tuple<int, int, std::string> locked[] = {
        {3, Col_Seg, "This entry is a constant\r\nYou can not edit this column\r\n"},
        {1, Col_Start_Time,
         "This entry is calculate from the other entries\r\nYou can not manually edit this column\r\n"},
        {2, Col_Start_Temp,
         "This entry derived from your previous segment end time\r\n"
         "You can not manually edit this column\r\n"},
        {0, Col_End_Temp, "You can not edit header title\r\n"}};
    for (const auto& [row, col, message] : locked) {
        SCOPED_TRACE(testing::Message() << "row " << row << " column " << col);
        Editor.User_Prompt.clear();
        Editor.Profile_FlexGrid_Click(row, col);
        std::string before = Editor.FloatingTextBox_Text;
        int beeps = Beeper.Beeps;
        Editor.Type_Key('5');
        EXPECT_EQ(Editor.FloatingTextBox_Text, before);
        EXPECT_EQ(Beeper.Beeps, beeps + 1);
        EXPECT_EQ(Editor.User_Prompt, message);
    }
}

TEST_F(Editor_Grid, EntriesAreCheckedWhenTheOperatorClicksAway) {
    Enter(1, Col_Duration, "1.2.3");  // every key passes the filter
    EXPECT_EQ(Cell(1, Col_Duration), "");
    EXPECT_EQ(Editor.User_Prompt, "Table entry format error\r\n");
    Enter(1, Col_End_Temp, "40000");  // not a 16-bit whole number
    EXPECT_EQ(Cell(1, Col_End_Temp), "");
    Enter(1, Col_Command, "wait");
    EXPECT_EQ(Cell(1, Col_Command), "wait");
    EXPECT_EQ(Beeper.Beeps, 4);       // each letter beeped, yet was taken
    Enter(255, Col_End_Temp, "500");  // no row 256 takes its start temperature
    EXPECT_EQ(Cell(255, Col_End_Temp), "500");

    // A scroll hides the box and a click beside the cells keeps it: still pending.
    Editor.Profile_FlexGrid_Click(1, Col_Error_Limits);
    Editor.Type_Text("2");
    Editor.Profile_FlexGrid_Scroll();
    EXPECT_FALSE(Editor.FloatingTextBox_Visible);
    Editor.Profile_FlexGrid_Click(1, Sheet_Columns);
    Editor.Profile_FlexGrid_Click(1, -1);
    Editor.Type_Text("5");
    Editor.Profile_FlexGrid_Click(3, Col_Duration);
    EXPECT_EQ(Cell(1, Col_Error_Limits), "25");
}

TEST_F(Editor_Grid, TheMessageBoxStartsAfreshPast1000Characters) {
    Editor.User_Prompt.clear();
    for (int i = 0; i < 10; ++i) Editor.Display(std::string(98, 'x'));  // 10 x 100 characters
    EXPECT_EQ(Editor.User_Prompt.size(), 1000u);
    Editor.Display("one more");
    EXPECT_EQ(Editor.User_Prompt, "");
    Editor.Display("old news");
    Editor.Profile_FlexGrid_Click(1, Col_End_Temp);
    Editor.Type_Key('5');  // an accepted key clears the messages
    EXPECT_EQ(Editor.User_Prompt, "");
}

}  // namespace
}  // namespace corvanel
