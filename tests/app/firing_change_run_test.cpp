// SPDX-License-Identifier: GPL-3.0-or-later
// A potter changes a running firing from the Change Firing menu: a slower, lower climb, a
// skip to the hold, a longer hold; refused changes leave the firing alone, and a start
// with recall follows the changed plan again.

#include "run/firing_chart.h"
#include "support/answering_change_dialog.h"
#include "support/main_window_rig.h"

namespace corvanel::testing {
namespace {

struct Changed_Firing : ::testing::Test {
    Main_Window_Rig Rig;
    Answering_Change_Dialog Dialog;

    // A climb of 50 degrees a minute to 1070, a 10-minute hold, a cooling to 570 in 10
    // minutes: 30 minutes in all, started and 4 minutes fired.
    void SetUp() override {
        Rig.Form.Connect_Change_Dialog(Dialog);
        Rig.Keep_Record();
        Rig.Form.Form_Load();
        Rig.Open_Profile("glaze.txt", {{"1", "0", "20", "r", "70", "1070", "", "", "", ""},
                                       {"2", "20.00", "10", "h", "1070", "1070", "", "", "", ""},
                                       {"3", "30.00", "10", "r", "1070", "570", "", "", "", ""},
                                       {"4", "40.00", "", "e", "570", "", "", "", "", ""}});
        Rig.Choose_Log("glaze_log.txt");
        Rig.Form.Start_Profile_Click();
        Rig.Control_Ticks(4);
        Rig.Set_Values_Sent();
    }
    double Total() const { return Rig.Form.Run().Profile().Total_Time(); }
    std::vector<int> Next_Set_Values(int ticks) {
        Rig.Control_Ticks(ticks);
        return Rig.Set_Values_Sent();
    }
};

TEST_F(Changed_Firing, EachChangeTakesEffectAtTheNextTickAndIsRecorded) {
    EXPECT_EQ(Next_Set_Values(1), std::vector<int>{320});

    // Half way up: on to 870 at 1800 an hour (30 a minute) instead of 1070 at 3000.
    Dialog.End_Temp = 870;
    Dialog.Rate = 1800;
    Rig.Form.mnuChangeSegment_Click();
    ASSERT_EQ(Dialog.Questions.size(), 1u);
    EXPECT_NE(Dialog.Questions[0].find("Segment 1 goes to 1,070 °F at 3,000 °F an hour"),
              std::string::npos)
        << Dialog.Questions[0];
    EXPECT_TRUE(Rig.Said("Segment 1 now goes from 320 °F to 870 °F at 1,800 °F an hour."));
    EXPECT_EQ(Next_Set_Values(2), (std::vector<int>{350, 380}));
    ASSERT_TRUE(Rig.Form.Run().Firing_Status_Now().Original_Plan);
    EXPECT_DOUBLE_EQ(Total(), 5 + 550.0 / 30 + 10 + 6);  // the cooling keeps its rate

    // Skip to the hold, now at 870; then ten minutes more of it.
    Rig.Form.mnuSkipSegment_Click();
    EXPECT_EQ(Dialog.Questions.back(), "Skip the rest of segment 1 and go on with segment 2 now?");
    EXPECT_EQ(Next_Set_Values(1), std::vector<int>{870});
    Dialog.Minutes = 10;
    Rig.Form.mnuExtendHold_Click();
    EXPECT_DOUBLE_EQ(Total(), 7 + 20 + 6);
    EXPECT_EQ(Next_Set_Values(19), std::vector<int>(19, 870));
    EXPECT_EQ(Next_Set_Values(2), (std::vector<int>{820, 770}));

    const Firing_Record record = Rig.Record("glaze_log.txt");
    std::vector<std::string> marks;  // on the history's chart and the report's
    for (const Chart_Mark& mark : Build_Firing_Chart({&record}).Marks) marks.push_back(mark.Label);
    EXPECT_EQ(marks, (std::vector<std::string>{"segment changed", "skip", "hold extended"}));
    std::vector<std::string> events;
    for (const Firing_Record_Line& line : record.Lines)
        if (line.Event != "" && line.Event != "alarm raised")
            events.push_back(line.Event + " " + line.Detail);
    EXPECT_EQ(events,
              (std::vector<std::string>{
                  "start ", "segment changed segment 1: 1070 F at 3000 F/h -> 870 F at 1800 F/h",
                  "skip segment 1 -> 2", "hold extended segment 2: 10 -> 20 min"}));

    // The program starts again with recall: the profile read afresh, the changes again.
    Rig.Open_Profile("glaze.txt");
    EXPECT_DOUBLE_EQ(Total(), 40);
    Rig.Form.Run().Recall_Elapsed();
    EXPECT_DOUBLE_EQ(Total(), 33);
    EXPECT_EQ(Rig.Form.Run().Profile().Chart_Points(),
              (Plan_Points{{0, 0}, {0, 70}, {5, 320}, {7, 380}, {7, 870}, {27, 870}, {33, 570}}));
}

TEST_F(Changed_Firing, AChangeRefusedCancelledOrLockedLeavesTheFiringAlone) {
    Rig.Form.mnuExtendHold_Click();
    EXPECT_TRUE(Dialog.Questions.empty());  // refused before it is asked
    EXPECT_TRUE(Rig.Said("Segment 1 is not a hold: only a hold can be extended."));
    Dialog.Cancel = true;
    Rig.Form.mnuSkipSegment_Click();
    EXPECT_TRUE(Rig.Said("The firing was not changed."));
    Dialog.Cancel = false;
    Dialog.End_Temp = 5000;
    Dialog.Rate = 100;
    Rig.Form.mnuChangeSegment_Click();
    EXPECT_TRUE(Rig.Said("5,000 °F is above the controller's high set limit, 2,300 °F."));
    Rig.Form.mnuLockControls_Click();
    Rig.Form.mnuSkipSegment_Click();
    EXPECT_TRUE(Rig.Said("The controls are locked: the firing was not changed."));

    EXPECT_DOUBLE_EQ(Total(), 40);
    EXPECT_FALSE(Rig.Form.Run().Firing_Status_Now().Original_Plan);
    EXPECT_EQ(Next_Set_Values(2), (std::vector<int>{320, 370}));
    for (const Firing_Record_Line& line : Rig.Record("glaze_log.txt").Lines)
        EXPECT_FALSE(Firing_Change_Of_Line(line.Event, line.Detail, 0, 1)) << line.Event;

    Rig.Form.SoftOff_Click();
    EXPECT_TRUE(
        Rig.Form.Run().Change_Refused(Rig.Form.Run().Change_Now(Firing_Change::Kind::Skip)));
}

}  // namespace
}  // namespace corvanel::testing
