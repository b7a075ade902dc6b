#include "common/text.h"
#include "editor_test_support.h"

namespace corvanel {
namespace {

using Editor_Grid = Editor_Test;

TEST_F(Editor_Grid, ANewProfileRampWorksOutTheRateAndTheNextSegment) {
    EXPECT_EQ(Cell(1, Col_Start_Time), "0");
    EXPECT_EQ(Cell(1, Col_Start_Temp), "70");

    Enter(1, Col_End_Temp, "1000");
    EXPECT_EQ(Cell(2, Col_Start_Temp), "1000");
    EXPECT_EQ(Cell(1, Col_Action), "r");

    Enter(1, Col_Duration, "60");
    EXPECT_EQ(Cell(1, Col_Duration), "60");
    EXPECT_EQ(Cell(1, Col_Ramp_Rate), "15.50");
    EXPECT_EQ(Cell(2, Col_Start_Time), "60.00");
    EXPECT_EQ(Editor.Profile_FlexGrid[1][Col_Ramp_Rate], "15.50");  // the grid shows it
    EXPECT_EQ(Editor.Segment_Rows, 2);
    ASSERT_EQ(Editor.EditChart_Points.size(), 2u);
    EXPECT_EQ(Editor.EditChart_Points[1], std::make_pair(60.0, 1000.0));
}

TEST_F(Editor_Grid, ARampRateWorksOutTheDurationAndAHoldFollowsItsStart) {
    Enter(1, Col_End_Temp, "1000");
    Enter(1, Col_Ramp_Rate, "100");
    EXPECT_EQ(Cell(1, Col_Duration), "9.30");
    EXPECT_EQ(Cell(2, Col_Start_Time), "9.30");

    Enter(2, Col_Duration, "30");
    Enter(2, Col_Action, "h");
    EXPECT_EQ(Cell(2, Col_End_Temp), "1000");
    EXPECT_EQ(Cell(2, Col_Ramp_Rate), "0");
    EXPECT_EQ(Cell(3, Col_Start_Temp), "1000");

    // A cooling ramp with a rate of the right sign.
    Enter(3, Col_End_Temp, "500");
    Enter(3, Col_Ramp_Rate, "-250");
    EXPECT_EQ(Cell(3, Col_Action), "r");
    EXPECT_EQ(Cell(3, Col_Duration), "2.00");
    EXPECT_EQ(Cell(4, Col_Start_Time), "41.30");

    // Changing the first duration moves every later start time.
    Enter(1, Col_Duration, "10");
    EXPECT_EQ(Cell(1, Col_Ramp_Rate), "93.00");
    EXPECT_EQ(Cell(2, Col_Start_Time), "10.00");
    EXPECT_EQ(Cell(4, Col_Start_Time), "42.00");
}

TEST_F(Editor_Grid, ARateAgainstTheDirectionOfTheRampIsRefusedWithTheSignMessage) {
    Enter(1, Col_End_Temp, "1000");
    Enter(1, Col_Ramp_Rate, "-10");
    EXPECT_EQ(Editor.User_Prompt,
              Join_Lines({"Sign of ramp conflicts with End Temperature",
                          "If End Temp > Start Temp Ramp Rate = +",
                          "If End Temp < Start Temp Ramp Rate = -"}) +
                  "\r\n");
    EXPECT_EQ(Cell(1, Col_End_Temp), "");
    EXPECT_EQ(Cell(2, Col_Start_Temp), "");
    EXPECT_EQ(Cell(1, Col_Ramp_Rate), "-10");
}

TEST_F(Editor_Grid, ARateOfZeroMakesAHoldAndKeepsTheDuration) {
    Enter(1, Col_End_Temp, "1000");
    Enter(1, Col_Duration, "60");
    Enter(1, Col_Ramp_Rate, "0");
    EXPECT_EQ(Cell(1, Col_Action), "h");
    EXPECT_EQ(Cell(1, Col_Duration), "60");
}

TEST_F(Editor_Grid, EndTempAfterADurationRewritesTheDurationFromTheRoundedRate) {
    Enter(1, Col_Duration, "7");
    Enter(1, Col_End_Temp, "1000");
    EXPECT_EQ(Cell(1, Col_Ramp_Rate), "132.86");
    EXPECT_EQ(Cell(1, Col_Duration), "7.00");
    Enter(2, Col_Duration, "30");
    Enter(2, Col_End_Temp, "1000");  // a hold typed duration first keeps a rate of 0
    EXPECT_EQ(Cell(2, Col_Action), "h");
    EXPECT_EQ(Cell(2, Col_Ramp_Rate), "0");
    EXPECT_EQ(Cell(2, Col_Duration), "30");
}

TEST_F(Editor_Grid, TypingEEndsTheProfileAtThatRow) {
    Type_Worked_Example();
    Enter(4, Col_End_Temp, "20");  // rows below the end, typed by mistake
    Enter(5, Col_Error_Limits, "7");
    Enter(3, Col_Action, "e");
    EXPECT_EQ(Cell(3, Col_Duration), "");
    EXPECT_EQ(Cell(3, Col_End_Temp), "");
    EXPECT_EQ(Cell(3, Col_Ramp_Rate), "");
    EXPECT_EQ(Cell(3, Col_Start_Temp), "1000");
    for (int row = 4; row <= 255; ++row) {
        for (int col = 1; col < Sheet_Columns; ++col) ASSERT_EQ(Cell(row, col), "") << row;
        ASSERT_EQ(Cell(row, Col_Seg), std::to_string(row));
    }
    EXPECT_EQ(Editor.Segment_Rows, 3);
}

TEST_F(Editor_Grid, TheKeyFilterRefusesWhatACellCannotHold) {
    Editor.Profile_FlexGrid_Click(1, Col_Duration);
    Editor.Type_Text("6x0");
    EXPECT_EQ(Editor.FloatingTextBox_Text, "60");
    EXPECT_EQ(Beeper.Beeps, 1);
    Editor.Type_Text("-");  // no minus in a duration
    EXPECT_EQ(Editor.FloatingTextBox_Text, "60");

    Editor.Profile_FlexGrid_Click(1, Col_End_Temp);  // commits 60, moves on
    Editor.Type_Text("-5");
    EXPECT_EQ(Editor.FloatingTextBox_Text, "-5");

    // Action: upper case beeps and gives the cell back; a letter replaces the text.
    Enter(1, Col_Action, "h");
    Editor.Profile_FlexGrid_Click(1, Col_Action);
    Editor.Type_Key('R');
    EXPECT_EQ(Editor.FloatingTextBox_Text, "h");
    Editor.Type_Key('r');
    EXPECT_EQ(Editor.FloatingTextBox_Text, "r");

    // Notify takes nothing at all.
    int beeps = Beeper.Beeps;
    Editor.Profile_FlexGrid_Click(1, Col_Notify);
    Editor.Type_Text("t1");
    EXPECT_EQ(Editor.FloatingTextBox_Text, "");
    EXPECT_EQ(Beeper.Beeps, beeps + 2);
}

struct Locked_Cell {
    int Row, Col;
    const char* Message;
};

class Editor_Locked_Cell : public Editor_Test,
                           public ::testing::WithParamInterface<Locked_Cell> {};

TEST_P(Editor_Locked_Cell, RefusesEveryKeyAndSaysWhy) {
    Editor.User_Prompt.clear();
    Editor.Profile_FlexGrid_Click(GetParam().Row, GetParam().Col);
    std::string before = Editor.FloatingTextBox_Text;
    Editor.Type_Key('5');
    EXPECT_EQ(Editor.FloatingTextBox_Text, before);
    EXPECT_EQ(Beeper.Beeps, 1);
    EXPECT_EQ(Editor.User_Prompt, std::string(GetParam().Message) + "\r\n");
}

INSTANTIATE_TEST_SUITE_P(
    Cells, Editor_Locked_Cell,
    ::testing::Values(
        Locked_Cell{3, Col_Seg, "This entry is a constant\r\nYou can not edit this column"},
        Locked_Cell{2, Col_Start_Time,
                    "This entry is calculate from the other entries\r\n"
                    "You can not manually edit this column"},
        Locked_Cell{2, Col_Start_Temp,
                    "This entry derived from your previous segment end time\r\n"
                    "You can not manually edit this column"},
        Locked_Cell{0, Col_End_Temp, "You can not edit header title"}));

TEST_F(Editor_Grid, EntriesThatAreNotNumbersAreRefusedAtCommit) {
    Enter(1, Col_Duration, "1.2.3");  // every key passes the filter
    EXPECT_EQ(Cell(1, Col_Duration), "");
    EXPECT_NE(Editor.User_Prompt.find("Table entry format error"), std::string::npos);

    Enter(1, Col_End_Temp, "40000");  // does not fit a whole 16-bit number
    EXPECT_EQ(Cell(1, Col_End_Temp), "");

    Enter(1, Col_Start_Temp, "99.5");  // a fraction is rounded only for the check
    EXPECT_EQ(Cell(1, Col_Start_Temp), "99.5");
}

TEST_F(Editor_Grid, TheCommandColumnTakesWaitAndNothingElse) {
    Enter(1, Col_Command, "wait");
    EXPECT_EQ(Cell(1, Col_Command), "wait");
    EXPECT_EQ(Beeper.Beeps, 4);

    Editor.User_Prompt.clear();
    Enter(2, Col_Command, "walt");
    EXPECT_EQ(Cell(2, Col_Command), "");
    EXPECT_EQ(Editor.User_Prompt, "");  // refused silently
}

TEST_F(Editor_Grid, ClickingAwayCommitsAndBackspaceEdits) {
    Editor.Profile_FlexGrid_Click(1, Col_End_Temp);
    Editor.Type_Text("10009\b");
    Editor.Profile_FlexGrid_Click(1, Col_Duration);  // commit by moving on
    EXPECT_EQ(Cell(1, Col_End_Temp), "1000");
    EXPECT_EQ(Editor.Current_Col, Col_Duration);
    EXPECT_EQ(Editor.Edit_Col, Col_End_Temp);
    EXPECT_TRUE(Editor.FloatingTextBox_Visible);

    Editor.Profile_FlexGrid_Scroll();
    EXPECT_FALSE(Editor.FloatingTextBox_Visible);
}

TEST_F(Editor_Grid, TheLastRowOfTheSheetCannotReachPastItsEnd) {
    Enter(255, Col_End_Temp, "500");  // there is no row 256 to receive the start temp
    EXPECT_EQ(Cell(255, Col_End_Temp), "500");
    Enter(254, Col_Duration, "5");
    Enter(254, Col_End_Temp, "100");
    EXPECT_EQ(Cell(255, Col_Start_Temp), "100");
    EXPECT_EQ(Cell(255, Col_Start_Time), "");  // row 254 has no start time to carry
}

TEST_F(Editor_Grid, TheMessageBoxStartsAfreshPast1000Characters) {
    Editor.User_Prompt.clear();
    std::string line(98, 'x');
    for (int i = 0; i < 10; ++i) Editor.Display(line);  // 10 x 100 characters
    EXPECT_EQ(Editor.User_Prompt.size(), 1000u);
    Editor.Display("one more");
    EXPECT_EQ(Editor.User_Prompt, "");
    Editor.Display("next");
    EXPECT_EQ(Editor.User_Prompt, "next\r\n");
}

TEST_F(Editor_Grid, AnAcceptedKeyClearsTheMessages) {
    Editor.Display("old news");
    Editor.Profile_FlexGrid_Click(1, Col_End_Temp);
    Editor.Type_Key('5');
    EXPECT_EQ(Editor.User_Prompt, "");
}

}  // namespace
}  // namespace corvanel
