#include "main_window_rig.h"

namespace corvanel::testing {
namespace {

struct Run_Test : ::testing::Test {
    Main_Window_Rig Rig;
    void SetUp() override {
        Rig.Form.Form_Load();
        Rig.Write_Short_Profile();
        Rig.Open_Profile("short.txt");
        Rig.Log_Dialog.Answers.push_back(File_Dialog_Result::Chosen("/elsewhere/short_log.txt"));
        Rig.Form.mnuSpecifyLogFile_Click();
        Rig.Set_Values_Sent();  // forget the start-up traffic
    }
};

TEST_F(Run_Test, TheRunStartsOnlyForTheSensorItWasMadeFor) {
    sim::Unit_Settings j_type;
    j_type.Input_Type = 3;  // a J thermocouple
    Rig.Model = sim::Controller_Model({0}, j_type);
    Rig.Form.Start_Profile_Click();
    EXPECT_TRUE(
        Rig.Said("Profile was generated using sensor type=K    \r\n"
                 "Controller temperature sensor type =J    \r\n"
                 "Edit profile and save with matching sensor setting\r\n\r\n"));
    EXPECT_FALSE(Rig.Form.Control_Interval.Enabled);
    EXPECT_EQ(Rig.Set_Values_Sent(), std::vector<int>{70});  // the soft off
}

TEST(Run_Without_Profile, StartRefusesBeepsAndSoftOffsTo20) {
    Main_Window_Rig rig;
    rig.Form.Form_Load();
    rig.Set_Values_Sent();
    rig.Form.Start_Profile_Click();
    EXPECT_TRUE(rig.Said("Valid profile must be loaded \r\nRun not started\r\n"));
    EXPECT_EQ(rig.Beeper.Beeps, 1);
    EXPECT_EQ(rig.Set_Values_Sent(), std::vector<int>{20});
    EXPECT_FALSE(rig.Form.Control_Interval.Enabled);
}

TEST_F(Run_Test, TheElapsedTimeIsEditedOnlyWithinTheProfile) {
    Traj_form& form = Rig.Form;
    form.Elapsed_Time_GotFocus();
    EXPECT_TRUE(
        Rig.Said("Hit Backspace to ready for entry\r\nEnter TIME and hit return when done\r\n"));
    form.Type_Elapsed_Key(8);  // backspace empties the box
    EXPECT_EQ(form.Elapsed_Time, "");
    for (char key : std::string("1x.5")) form.Type_Elapsed_Key(key);
    EXPECT_EQ(form.Elapsed_Time, "1.5");  // the letter is refused with a beep
    EXPECT_EQ(Rig.Beeper.Beeps, 1);
    form.Start_Profile_Click();  // refused while editing
    EXPECT_EQ(form.User_Message_Box,
              "Must hit ENTER to update time or\r\nESCAPE to exit without changing time\r\n");
    EXPECT_FALSE(form.Control_Interval.Enabled);
    form.Type_Elapsed_Key(13);
    EXPECT_EQ(form.Run_Elapsed, 1.5);
    EXPECT_EQ(form.Elapsed_Base, 1.5);
    EXPECT_TRUE(Rig.Said("Time updated, ready to run\r\n"));
    EXPECT_FALSE(form.Time_Edit_Active);

    form.Elapsed_Time_GotFocus();
    form.Type_Elapsed_Key(8);
    form.Type_Elapsed_Key('5');  // past the profile's 3 minutes
    form.Clear();
    form.Type_Elapsed_Key(27);  // not even Escape is taken
    EXPECT_EQ(form.User_Message_Box, "Profile does not include time entered\r\n");
    EXPECT_TRUE(form.Time_Edit_Active);
    form.Type_Elapsed_Key(8);
    form.Type_Elapsed_Key('2');
    form.Type_Elapsed_Key(27);
    EXPECT_EQ(form.Elapsed_Time, "1.5");
    EXPECT_TRUE(Rig.Said("Time change aborted, ready to run\r\n"));
    EXPECT_EQ(form.Run_Elapsed, 1.5);

    form.Start_Profile_Click();  // continues at minute 1.5 of the ramp: 70 + 135
    EXPECT_EQ(Rig.Set_Values_Sent(), std::vector<int>{205});
}

TEST_F(Run_Test, PollingModesAreExactWords) {
    Rig.Form.Set_Polling_Mode("Run");
    EXPECT_FALSE(Rig.Form.Control_Interval.Enabled);
    EXPECT_FALSE(Rig.Form.Monitor_Interval.Enabled);
    EXPECT_TRUE(Rig.Said("Ambiguous Polling Mode, polling = OFF\r\n"));
}

TEST_F(Run_Test, AlertsArmBeyondTheLimitOrBeyond3000WhenBlankAndMailEveryFifteenTicks) {
    Traj_form& form = Rig.Form;
    form.mnuEnableEmailNotification = true;
    form.Email_Notification = "potter@studio.example";
    form.Current_Segment = 1;
    form.Desired_Temp = 1000;
    form.Measured_Temp = 950;  // exactly the limit: no alert
    form.Arm_Email_Alert();
    EXPECT_FALSE(form.Message.Enabled);
    form.Measured_Temp = 940;
    form.Arm_Email_Alert();
    EXPECT_TRUE(form.Message.Enabled);

    std::vector<int> mail_ticks;
    form.Alert_Tick_Count = 225;
    for (int tick = 0; tick < 60; ++tick) {
        std::size_t before = Rig.Mail.Sent.size();
        form.Message_Timer();
        if (Rig.Mail.Sent.size() > before) mail_ticks.push_back(tick);
    }
    // Counts 225, 240, 255, then (after the wrap) 15, 30: fifteen ticks apart throughout.
    EXPECT_EQ(mail_ticks, (std::vector<int>{0, 15, 30, 45}));
    ASSERT_FALSE(Rig.Mail.Sent.empty());
    EXPECT_EQ(Rig.Mail.Sent[0].Recipients, "potter@studio.example");
    EXPECT_EQ(Rig.Mail.Sent[0].Subject, "Oven Status");
    EXPECT_EQ(Rig.Mail.Sent[0].Body, "\r\nDesired Temp=1000\r\nMeasured Temp=940");

    form.SoftOff_Click();
    EXPECT_FALSE(form.Message.Enabled);
    EXPECT_TRUE(Rig.Said("WARNING! POWER STILL APPLIED, UNSUITABLE FOR ELECTRICAL MAINTENANCE"));

    form.Current_Segment = 2;  // the hold has a blank limit: alerts only beyond 3000
    form.Desired_Temp = 2999;
    form.Measured_Temp = 0;
    form.Arm_Email_Alert();
    EXPECT_FALSE(form.Message.Enabled);
    form.mnuEnableEmailNotification = false;  // off: the tick leaves the timer alone
    form.Message.Enabled = true;
    form.Arm_Email_Alert();
    EXPECT_TRUE(form.Message.Enabled);
}

TEST_F(Run_Test, LogFileCommandsKeepOnlyTheNameAndResetStartsANewLog) {
    EXPECT_EQ(Rig.Form.LogFile, "short_log.txt");
    EXPECT_EQ(Read_First_Line(Rig.Paths.Setup_File("Logfile_Name.txt")), "short_log.txt");

    Rig.Form.Run_Elapsed = 42;
    Rig.Clock.Set({2011, 4, 3, 14, 5, 12});
    Rig.Form.Set_Profile_Name("cone.6.txt");
    Rig.Form.Clear();
    Rig.Form.mnuReset_Logfile_Click();
    EXPECT_EQ(Rig.Form.LogFile, "cone.6_04_03_2011_14_05.txt");
    EXPECT_EQ(Rig.Form.Run_Elapsed, 0);
    EXPECT_EQ(Rig.Form.Elapsed_Time, "0");
    EXPECT_EQ(Rig.Form.User_Message_Box,
              "Elapsed time reset=>0\r\nLogFile Set to=>ProfileName_Date_Time.txt\r\n");

    Rig.Log_Dialog.Answers = {File_Dialog_Result::Failed(Error_Number::Path_Not_Found),
                              File_Dialog_Result::Failed(Error_Number::Path_Not_Found),
                              File_Dialog_Result::Failed(Error_Number::Path_Not_Found)};
    Rig.Form.Clear();
    Rig.Form.mnuSpecifyLogFile_Click();
    EXPECT_EQ(Rig.Form.User_Message_Box,
              "Unspecified File Error\r\nUnspecified File Error\r\n"
              "Unspecified File Error\r\n");
    EXPECT_EQ(Rig.Form.LogFile, "cone.6_04_03_2011_14_05.txt");

    Rig.Form.Clear();
    Rig.Form.mnuSpecifyLogFile_Click();  // cancelled
    EXPECT_EQ(Rig.Form.User_Message_Box, "LogFile specification cancelled\r\n");
}

constexpr const char* No_Log = "No log file: this firing is not being logged";

int Times_Said(const std::string& box, const std::string& text) {
    int times = 0;
    for (std::size_t at = box.find(text); at != std::string::npos; at = box.find(text, at + 1))
        ++times;
    return times;
}

TEST(No_Log_File_Warning, AFiringWithoutALogSaysSoOnceAtItsStartAndRunsOn) {
    Main_Window_Rig rig;
    rig.Form.Form_Load();
    rig.Write_Short_Profile();
    rig.Open_Profile("short.txt");
    Traj_form& form = rig.Form;

    form.Start_Profile_Click();
    EXPECT_TRUE(form.Control_Interval.Enabled);
    EXPECT_EQ(Times_Said(form.User_Message_Box, No_Log), 1) << form.User_Message_Box;
    form.Start_Profile_Click();  // suspend
    form.Start_Profile_Click();  // resume: the same firing, said already
    EXPECT_TRUE(form.Control_Interval.Enabled);
    EXPECT_EQ(Times_Said(form.User_Message_Box, No_Log), 0) << form.User_Message_Box;

    form.SoftOff_Click();
    rig.Setup_File("WarnWithoutLogFile.txt", "unchecked");
    form.Start_Profile_Click();
    EXPECT_EQ(Times_Said(form.User_Message_Box, No_Log), 0) << form.User_Message_Box;
    rig.Setup_File("WarnWithoutLogFile.txt", "checked");

    form.SoftOff_Click();
    rig.Log_Dialog.Answers.push_back(File_Dialog_Result::Chosen("/elsewhere/short_log.txt"));
    form.mnuSpecifyLogFile_Click();
    form.Start_Profile_Click();
    EXPECT_EQ(Times_Said(form.User_Message_Box, No_Log), 0) << form.User_Message_Box;
}

}  // namespace
}  // namespace corvanel::testing
