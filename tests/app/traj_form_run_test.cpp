// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/main_window_rig.h"

namespace corvanel::testing {
namespace {

struct Run_Test : ::testing::Test {
    Main_Window_Rig Rig;
    void SetUp() override {
        Rig.Form.Form_Load();
        Rig.Open_Short_Profile();
        Rig.Choose_Log("short_log.txt");
        Rig.Set_Values_Sent();  // forget the start-up traffic
    }
};

// A start that cannot be fired is refused with its reason and a soft off; the scale check
// can be turned off.
TEST(Refused_Start, SaysWhyAndSoftOffs) {
    const struct {
        const char* Name;
        bool Profile;
        sim::Unit_Settings Kiln;
        std::string Said;
        int Soft_Off;
    } cases[] = {{"no profile", false, Kiln_Settings(), "Valid profile must be loaded \r\n", 20},
                 {"a J controller", true, Kiln_Settings(3),
                  "sensor type=K    \r\nController temperature sensor type =J    \r\n", 70},
                 {"a Celsius controller", true, Kiln_Settings(2, false),
                  "scale=F\r\nController temperature scale =C\r\n", 70}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Name);
        Main_Window_Rig rig;
        rig.Model = sim::Controller_Model({0}, c.Kiln);
        rig.Form.Form_Load();
        if (c.Profile) rig.Open_Short_Profile();
        rig.Set_Values_Sent();
        rig.Form.Start_Profile_Click();
        EXPECT_TRUE(rig.Said(c.Said)) << rig.Form.User_Message_Box;
        EXPECT_FALSE(rig.Form.Control_Interval.Enabled);
        EXPECT_EQ(rig.Set_Values_Sent(), std::vector<int>{c.Soft_Off});
        EXPECT_EQ(rig.Beeper.Beeps, c.Profile ? 0 : 1);
        if (c.Kiln.Fahrenheit) continue;
        rig.Form.Safety.Scale_Check = false;
        rig.Form.Start_Profile_Click();
        EXPECT_TRUE(rig.Form.Control_Interval.Enabled);
    }
}

TEST_F(Run_Test, TheElapsedTimeIsEditedOnlyWithinTheProfile) {
    Traj_form& form = Rig.Form;
    form.Elapsed_Time_GotFocus();
    form.Type_Elapsed_Key(8);  // backspace empties the box
    for (char key : std::string("1x.5")) form.Type_Elapsed_Key(key);
    EXPECT_EQ(form.Elapsed_Time, "1.5");  // the letter is refused with a beep
    EXPECT_EQ(Rig.Beeper.Beeps, 1);
    form.Start_Profile_Click();  // refused while editing
    EXPECT_TRUE(Rig.Said("Must hit ENTER to update time or\r\n"));
    EXPECT_FALSE(form.Control_Interval.Enabled);
    form.Type_Elapsed_Key(13);
    EXPECT_EQ(Format_Number(form.Run_Elapsed) + " " + Format_Number(form.Elapsed_Base), "1.5 1.5");
    EXPECT_FALSE(form.Time_Entry.Active());

    form.Elapsed_Time_GotFocus();
    form.Type_Elapsed_Key(8);
    form.Type_Elapsed_Key('5');  // past the profile's 3 minutes
    form.Clear();
    form.Type_Elapsed_Key(27);  // not even Escape is taken
    EXPECT_EQ(form.User_Message_Box, "Profile does not include time entered\r\n");
    EXPECT_TRUE(form.Time_Entry.Active());
    for (char key : std::string("\b2\x1b")) form.Type_Elapsed_Key(key);
    EXPECT_EQ(form.Elapsed_Time, "1.5");
    EXPECT_TRUE(Rig.Said("Time change aborted, ready to run\r\n"));

    form.Start_Profile_Click();  // continues at minute 1.5 of the ramp: 70 + 135
    EXPECT_EQ(Rig.Set_Values_Sent(), std::vector<int>{205});
}

TEST_F(Run_Test, AlertsArmBeyondTheLimitOrBeyond3000WhenBlankAndMailEveryFifteenTicks) {
    Traj_form& form = Rig.Form;
    form.mnuEnableEmailNotification = true;
    form.Email_Notification = "potter@studio.example";
    form.Current_Segment = 1;
    form.Desired_Temp = 1000;
    form.Measured_Temp = 950;  // exactly the limit: no alert
    form.Arm_Email_Alert();
    EXPECT_FALSE(form.Alerts.Timer().Enabled);
    form.Measured_Temp = 940;
    form.Arm_Email_Alert();
    EXPECT_TRUE(form.Alerts.Timer().Enabled);
    std::vector<int> mail_ticks;
    for (int tick = 0; tick < 225; ++tick) form.Message_Timer();  // to count 225
    for (int tick = 0; tick < 60; ++tick) {
        std::size_t before = Rig.Mail.Sent.size();
        form.Message_Timer();
        if (Rig.Mail.Sent.size() > before) mail_ticks.push_back(tick);
    }
    // Counts 225, 240, 255, then (after the wrap) 15, 30: fifteen ticks apart throughout.
    EXPECT_EQ(mail_ticks, (std::vector<int>{0, 15, 30, 45}));
    EXPECT_EQ(Rig.Mail.Sent.at(0).Recipients + "|" + Rig.Mail.Sent[0].Body,
              "potter@studio.example|\r\nDesired Temp=1000\r\nMeasured Temp=940");
    form.SoftOff_Click();
    EXPECT_FALSE(form.Alerts.Timer().Enabled);

    form.Current_Segment = 2;  // the hold has a blank limit: alerts only beyond 3000
    form.Desired_Temp = 2999;
    form.Measured_Temp = 0;
    form.Arm_Email_Alert();
    EXPECT_FALSE(form.Alerts.Timer().Enabled);
    form.Desired_Temp = 3001;
    form.Arm_Email_Alert();
    form.mnuEnableEmailNotification = false;  // off: the tick leaves the timer alone
    form.Measured_Temp = 3001;
    form.Arm_Email_Alert();
    EXPECT_TRUE(form.Alerts.Timer().Enabled);
}

TEST(No_Log_File_Warning, AFiringWithoutALogSaysSoOnceAtItsStartAndRunsOn) {
    Main_Window_Rig rig;
    rig.Form.Form_Load();
    rig.Open_Short_Profile();
    Traj_form& form = rig.Form;
    auto start_warns = [&] {
        form.Clear();
        form.Start_Profile_Click();
        return rig.Said("No log file: this firing is not being logged");
    };
    EXPECT_TRUE(start_warns());
    form.Start_Profile_Click();                  // suspend
    EXPECT_FALSE(start_warns());                 // resumed: the same firing, said already
    EXPECT_TRUE(form.Control_Interval.Enabled);  // the warning does not stop the run

    form.SoftOff_Click();
    rig.Setup_File("WarnWithoutLogFile.txt", "unchecked");
    EXPECT_FALSE(start_warns());
    rig.Setup_File("WarnWithoutLogFile.txt", "checked");
    form.SoftOff_Click();
    rig.Choose_Log("short_log.txt");
    EXPECT_FALSE(start_warns());
}

// The set value a control tick computes on one segment from Start to End over minutes (or
// hours) 0 to Duration, a number of whole minutes into the run.
TEST(Desired_Temp, FollowsTheSegmentRoundingHalvesToEven) {
    const struct {
        const char* What;
        double Start, End, Duration;
        int Minutes;
        bool Hours;
        std::string Sensor;
        int Desired;
        const char* Shown;
    } cases[] = {{"tie rounds down to even", 0, 5, 2, 1, false, "K    ", 2, "2"},
                 {"tie rounds up to even", 0, 7, 2, 1, false, "K    ", 4, "4"},
                 {"cooling ramp", 1000, 400, 10, 5, false, "K    ", 700, "700"},
                 {"hours count whole minutes", 0, 300, 3, 90, true, "K    ", 150, "150"},
                 {"platinum in tenths", 1234, 1234, 10, 3, false, "PtJIS", 1234, "123.4"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.What);
        Main_Window_Rig rig;
        Traj_form& form = rig.Form;
        form.Sensor_Type = c.Sensor;
        form.Time_Unit = c.Hours ? "H" : "M";
        form.Finished_Segment = 2;
        form.Tables.Seg_End_Time[0] = c.Duration;
        form.Tables.Seg_Start_Temp[0] = c.Start;
        form.Tables.Seg_End_Temp[0] = c.End;
        form.Run_Start = rig.Clock.Now();
        rig.Clock.Advance(60LL * c.Minutes);
        form.Control_Interval_Timer();
        EXPECT_EQ(form.Desired_Temp, c.Desired);
        EXPECT_EQ(form.Profile_Temperature, c.Shown);
    }
}

TEST(Desired_Temp_Segments, ATimeOnASegmentEndBelongsToTheNextSegment) {
    Main_Window_Rig rig;
    Traj_form& form = rig.Form;
    form.Finished_Segment = 4;  // three segments: 0-60, 60-60 (zero length), 60-90
    form.Tables.Seg_End_Time[0] = 60;
    form.Tables.Seg_End_Time[1] = 60;
    form.Tables.Seg_End_Time[2] = 90;
    std::vector<int> segments;
    for (double time : {0.0, 59.99, 60.0, 90.0, 500.0})
        segments.push_back(form.Determine_Current_Segment(time));
    EXPECT_EQ(segments, (std::vector<int>{1, 1, 3, 4, 4}));  // the zero-length one never
}

TEST(Desired_Temp_Errors,
     AnImpossibleValueKeepsTheLastGoodOneAndOneBeyondTheFieldIsSentAsTheNearest) {
    Main_Window_Rig rig;
    Traj_form& form = rig.Form;
    form.Form_Load();
    form.Finished_Segment = 2;
    form.Tables.Seg_End_Time[0] = 1;
    form.Tables.Seg_End_Temp[0] = 1e9;  // a damaged profile
    form.Run_Start = rig.Clock.Now();
    form.Desired_Temp = 55;
    form.Elapsed_Base = 0.5;
    rig.Set_Values_Sent();
    form.Control_Interval_Timer();
    EXPECT_TRUE(rig.Said("Control Timer Loop Error\r\nDesired Temp Calc\r\nError Number= 6\r\n"));
    EXPECT_EQ(form.Desired_Temp, 55);  // the last good value stays in force

    form.Clear();
    form.Desired_Temp = 12000;  // a platinum profile at 1200.0 degrees
    form.Write_Temp_Unit_SV();
    EXPECT_EQ(rig.Set_Values_Sent(), (std::vector<int>{55, 9999}));
    EXPECT_TRUE(rig.Said("sent instead: 12000 => 9999\r\n")) << form.User_Message_Box;
}

// A controller whose own set limit is below the profile refuses the set value (end code
// 0D): the operator is told as for a lost line, and the run goes on.
TEST(Set_Value_Refused, BeyondTheControllersOwnLimitIsSaidAsACommunicationsError) {
    Main_Window_Rig rig;
    sim::Unit_Settings kiln = Kiln_Settings();
    kiln.High_Limit = 200;
    rig.Model = sim::Controller_Model({0}, kiln);
    rig.Form.Form_Load();
    rig.Open_Short_Profile();
    rig.Form.Start_Profile_Click();
    EXPECT_FALSE(rig.Said("Set Value Communications Error"));
    rig.Clock.Advance(120);
    rig.Form.Control_Interval_Timer();  // 250 degrees asked
    EXPECT_TRUE(rig.Said("Set Value Communications Error")) << rig.Form.User_Message_Box;
    EXPECT_TRUE(rig.Form.Control_Interval.Enabled);
}

}  // namespace
}  // namespace corvanel::testing
