// SPDX-License-Identifier: GPL-3.0-or-later
// A potter sets the glaze firing to start at a clock time (cheap night power): the kiln is
// watched until then and the banner counts down; the firing starts by itself, at once on
// RUN PROFILE, not at all when cancelled; a restart waits on, or asks once the time passed.

#include "app/start_time_dialog.h"
#include "setup/program_settings.h"
#include "support/fake_platform.h"
#include "support/main_window_rig.h"

namespace corvanel::testing {
namespace {

struct Answering_Start_Time : Start_Time_Dialog {
    std::optional<Start_Time_Answer> Ask_Start_Time(const std::string&,
                                                    std::pair<int, int>) override {
        ++Asked;
        return Time;
    }
    std::optional<Start_Time_Answer> Time;
    int Asked = 0;
};

struct Later_Start : ::testing::Test {
    Main_Window_Rig Rig;
    Answering_Start_Time Dialog;
    Fake_Message_Box Ask;

    void SetUp() override {  // the clock shows 09:00:30
        Rig.Form.Connect_Start_Time_Dialog(Dialog);
        Rig.Form.Connect_Message_Box(Ask);
        Rig.Form.Form_Load();
        Rig.Open_Short_Profile();
        Rig.Choose_Log("night.txt");
    }
    void Monitor_Minutes(int minutes) {
        for (int i = 0; i < minutes; ++i) {
            Rig.Clock.Advance(60);
            Rig.Form.Monitor_Interval_Timer();
        }
    }
    std::string Kept() const { return Read_Whole_File(Rig.Paths.Setup_File("StartLater.txt")); }
    bool Running() { return Rig.Form.Run().Running(); }
};

TEST_F(Later_Start, TheFiringStartsByItselfAtTheClockTimeAndTheBannerCountsDown) {
    Dialog.Time = Start_Time_Answer{9, 10};
    Rig.Form.Start_Later_Click();
    EXPECT_EQ(Rig.Form.Run().Firing_Status_Now().Starts_At->Minute, 10);
    EXPECT_EQ(Kept(), "2026-12-05 09:10\r\n");
    EXPECT_EQ(Rig.Form.Start_Later_Caption(), "Cancel the later start");
    EXPECT_EQ(Rig.Form.Later_Start_Exit_Question(),
              "The firing is set to start at 09:10. With the program ended it does not start. "
              "Exit anyway?");
    Monitor_Minutes(9);
    EXPECT_FALSE(Running());
    EXPECT_NE(Rig.Form.Run().Safety().Banner().Text().find("Waiting to start at 09:10 (1 min)"),
              std::string::npos)
        << Rig.Form.Run().Safety().Banner().Text();
    Rig.Set_Values_Sent();
    Monitor_Minutes(1);
    EXPECT_TRUE(Running());
    EXPECT_FALSE(Rig.Form.Run().Start_Later_At());
    EXPECT_EQ(Rig.Form.Later_Start_Exit_Question(), "");
    EXPECT_EQ(Kept(), "\r\n");
    Rig.Control_Ticks(1);
    EXPECT_FALSE(Rig.Set_Values_Sent().empty());
}

TEST_F(Later_Start, RunProfileStartsAtOnceTheButtonCancelsAndNonsenseIsRefused) {
    Dialog.Time = Start_Time_Answer{23, 0};
    Rig.Form.Start_Later_Click();
    Rig.Form.Start_Later_Click();  // cancelled
    EXPECT_FALSE(Rig.Form.Run().Start_Later_At());
    EXPECT_TRUE(Rig.Said("The later start was cancelled"));
    Monitor_Minutes(24 * 60);
    EXPECT_FALSE(Running());

    Rig.Form.Start_Later_Click();
    Rig.Form.Start_Profile_Click();
    EXPECT_TRUE(Running());
    EXPECT_FALSE(Rig.Form.Run().Start_Later_At());
    EXPECT_TRUE(Rig.Form.Run().Start_Later(Rig.Clock.Now()).has_value());  // a firing runs
    Rig.Form.mnuFrontPanel_Click();
    EXPECT_FALSE(Rig.Form.mnuFrontPanel);
}

// Ready by: the start worked out back from the time the kiln should be at its top or done
// (the plan's times here: this kiln has no firings to learn from).
TEST_F(Later_Start, ReadyByWorksTheStartOutBackFromTheTimeAsked) {
    Dialog.Time = Start_Time_Answer{10, 0, Start_Time_Meaning::End};
    Rig.Form.Start_Later_Click();
    ASSERT_TRUE(Rig.Form.Run().Start_Later_At());
    EXPECT_EQ(Rig.Form.Run().Start_Later_At()->Minute, 57);
    EXPECT_TRUE(Rig.Said("The firing starts at 09:57 to be likely done by 10:00."));
    Rig.Form.Run().Cancel_Start_Later();

    Dialog.Time = Start_Time_Answer{10, 0, Start_Time_Meaning::Peak};
    Rig.Form.Start_Later_Click();
    EXPECT_EQ(Rig.Form.Run().Start_Later_At()->Minute, 58);
    Rig.Form.Run().Cancel_Start_Later();

    Dialog.Time = Start_Time_Answer{9, 1, Start_Time_Meaning::End};
    Rig.Form.Start_Later_Click();
    EXPECT_FALSE(Rig.Form.Run().Start_Later_At());
    EXPECT_TRUE(Rig.Said("Started now, the firing is likely done only at 09:03."));
    EXPECT_FALSE(Running());
}

TEST_F(Later_Start, ARestartWaitsOnOrAsksOnceTheTimeHasPassed) {
    Rig.Setup_File("StartLater.txt", "2026-12-05 09:30\r\n");
    Rig.Form.Run().Recall_Start_Later();
    ASSERT_TRUE(Rig.Form.Run().Start_Later_At());
    EXPECT_EQ(Rig.Form.Run().Start_Later_At()->Minute, 30);
    Rig.Form.Run().Cancel_Start_Later();

    for (bool answer : {false, true}) {
        Ask.Answer_OK = answer;
        Rig.Setup_File("StartLater.txt", "2026-12-05 02:00\r\n");
        Rig.Form.Run().Recall_Start_Later();
        ASSERT_FALSE(Ask.Questions.empty());
        EXPECT_EQ(Ask.Questions.back(),
                  "The firing was to start at 02:00 while the program was not running. Start it "
                  "now?");
        EXPECT_EQ(Running(), answer);
        EXPECT_EQ(Kept(), "\r\n");
    }
}

}  // namespace
}  // namespace corvanel::testing
