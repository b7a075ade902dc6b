#include "main_window_rig.h"

namespace corvanel::testing {
namespace {

using Startup = ::testing::Test;

const std::array<std::string, 10> Ramp{"1", "0", "60", "r", "70", "1000", "15.50", "50", "", ""};
const std::array<std::string, 10> Hold{"2", "60.00", "30", "h", "1000", "1000", "0", "", "", ""};
const std::array<std::string, 10> End{"3", "90.00", "", "e", "1000", "", "", "", "", ""};

TEST(Startup, FirstStartWithoutSetupFolderUsesTheDefaultsAndSendsMA01First) {
    Main_Window_Rig rig;
    rig.Form.Form_Load();
    Traj_form& form = rig.Form;
    EXPECT_FALSE(form.mnuRecallSetup);
    EXPECT_EQ(form.Comm_Port_Number, 1);
    EXPECT_TRUE(form.mnuComm[0]);
    EXPECT_FALSE(form.mnuComm[1] || form.mnuComm[2]);
    EXPECT_FALSE(form.mnuEnableEmailNotification);
    EXPECT_EQ(form.Email_Notification, "");
    EXPECT_EQ(form.OvenName, "");
    EXPECT_EQ(form.User_Message_Box.rfind("Thermal Device Name set == \r\n", 0), 0u);
    EXPECT_TRUE(rig.Said("Monitor Mode\r\n"));
    EXPECT_TRUE(form.Monitor_Interval.Enabled);
    EXPECT_FALSE(form.Control_Interval.Enabled);

    ASSERT_GE(rig.Line.Sent.size(), 2u);
    EXPECT_EQ(rig.Line.Sent[0], Build_Request(0, "MA01"));
    // One monitoring tick at once: set value, process value, output; no profile, so hours.
    EXPECT_EQ(rig.Line.Sent[1], Build_Request(0, "RS01"));
    EXPECT_EQ(form.TimeReadOut, "Time(hours)");
    EXPECT_EQ(form.Monitor_Interval.Interval, 60000);
    EXPECT_NE(form.Real_Temp_Display_1, "");
    EXPECT_EQ(form.Duty_Cycle.back(), '%');
    // Nothing is written while the window loads.
    EXPECT_FALSE(std::filesystem::exists(rig.Paths.Setup_File("Check_Flag.txt")));
}

TEST(Startup, SettingsAreReadAsWrittenAndNothingElse) {
    Main_Window_Rig rig;
    rig.Setup_File("Check_Flag.txt", "Checked");  // not "checked": recall stays off
    rig.Setup_File("CommPortNumber.txt", "4");
    rig.Setup_File("EnableEmailNotification.txt", "checked");
    rig.Setup_File("Email_List.txt", "potter@studio.example");
    rig.Setup_File("ThermalDeviceName.txt", "Big Skutt");
    rig.Line.Existing_Ports = {1, 4};
    rig.Form.Form_Load();
    EXPECT_FALSE(rig.Form.mnuRecallSetup);
    EXPECT_EQ(rig.Form.Comm_Port_Number, 4);
    EXPECT_EQ(rig.Form.mnuComm, (std::array<bool, 3>{false, false, false}));
    EXPECT_EQ(rig.Line.Comm_Port(), 4);
    EXPECT_TRUE(rig.Form.mnuEnableEmailNotification);
    EXPECT_EQ(rig.Form.Email_Notification, "potter@studio.example");
    EXPECT_EQ(rig.Form.OvenName, "Big Skutt");
    EXPECT_TRUE(rig.Said("Thermal Device Name set == Big Skutt\r\n"));
}

TEST(Startup, RecallReloadsProfileAndLogAndContinuesFromTheLastRecord) {
    Main_Window_Rig rig;
    rig.Write_Profile("fire.txt", {Ramp, Hold, End});
    rig.Setup_File("Check_Flag.txt", "checked");
    rig.Setup_File("Profile_Name.txt", "fire.txt");
    rig.Setup_File("Logfile_Name.txt", "fire_log.txt");
    Write_Whole_File(rig.Paths.Logfile("fire_log.txt"),
                     "124.00   998  990  \r\n125.00   1000 998  \r\n125");
    rig.Form.Form_Load();
    EXPECT_TRUE(rig.Form.Profile_Valid);
    EXPECT_EQ(rig.Form.Profile_Name, "fire.txt");
    EXPECT_EQ(rig.Form.LogFile, "fire_log.txt");
    EXPECT_EQ(rig.Form.Run_Elapsed, 125);
    EXPECT_EQ(rig.Form.Elapsed_Base, 125);
    EXPECT_EQ(rig.Form.Elapsed_Time, "125");
    EXPECT_TRUE(rig.Profile_Dialog.Open_Requests.empty());  // no dialog for a recall
    EXPECT_TRUE(rig.Log_Dialog.Open_Requests.empty());
    EXPECT_FALSE(rig.Form.Control_Interval.Enabled);  // never restarts a run by itself
    EXPECT_TRUE(rig.Said("Profile Loaded\r\n"));
    EXPECT_TRUE(rig.Said("LogFile Specified\r\n"));
    EXPECT_EQ(rig.Form.TimeReadOut, "Time(mins)");
}

TEST(Startup, RecallWithNothingToRecallSaysSo) {
    Main_Window_Rig rig;
    rig.Setup_File("Check_Flag.txt", "checked");
    rig.Form.Form_Load();
    EXPECT_TRUE(rig.Said("No previous profile to recall\r\nTry setting up with file specified and\r\n"
                         "exiting, then restarting\r\n"));
    EXPECT_TRUE(rig.Said("No previous Logfile to recall\r\nTry setting up and exiting, then "
                         "restarting\r\n"));
    EXPECT_EQ(rig.Form.Run_Elapsed, 0);
}

TEST(Startup, ExitStopsPollingClosesThePortAndSavesTheSetup) {
    Main_Window_Rig rig;
    rig.Form.Form_Load();
    rig.Form.mnuRecallSetup_Click();
    rig.Form.Email_Notification = "";
    rig.Form.mnuExitProgram_Click();
    EXPECT_FALSE(rig.Form.Monitor_Interval.Enabled);
    EXPECT_FALSE(rig.Form.Control_Interval.Enabled);
    EXPECT_TRUE(rig.Said("Polling turned off\r\n"));
    EXPECT_FALSE(rig.Line.Port_Open());
    EXPECT_TRUE(rig.Windows.Ended);
    EXPECT_EQ(Read_First_Line(rig.Paths.Setup_File("Check_Flag.txt")), "checked");
    EXPECT_EQ(Read_Whole_File(rig.Paths.Setup_File("Email_List.txt")), "\r\n");  // empty is written
    EXPECT_EQ(Read_First_Line(rig.Paths.Setup_File("CommPortNumber.txt")), "1");
    EXPECT_EQ(Read_First_Line(rig.Paths.Setup_File("EnableEmailNotification.txt")), "unchecked");
    EXPECT_FALSE(std::filesystem::exists(rig.Paths.Setup_File("Profile_Name.txt")));  // empty: not written
}

TEST(Startup, TheMessageAreaStartsAfreshPast1500CharactersAndVersionIsOneLine) {
    Main_Window_Rig rig;
    rig.Form.Display("");
    EXPECT_EQ(rig.Form.User_Message_Box, "\r\n");
    rig.Form.User_Message_Box = std::string(1490, 'x');
    rig.Form.Display("12345678");  // exactly 1500
    EXPECT_EQ(rig.Form.User_Message_Box.size(), 1500u);
    rig.Form.Display("");
    EXPECT_EQ(rig.Form.User_Message_Box, "");
    rig.Form.mnuVersion_Click();
    EXPECT_EQ(rig.Form.User_Message_Box, "Corvanel Version= 2.0-3\r\n");
}

TEST(Loading, TheWorkedExampleFillsTablesCaptionsAndTheTick) {
    Main_Window_Rig rig;
    rig.Form.Form_Load();
    rig.Write_Profile("example.txt", {Ramp, Hold, End});
    rig.Open_Profile("example.txt");
    Traj_form& form = rig.Form;
    EXPECT_TRUE(rig.Said("Profile syntax is is valid\r\n"));
    EXPECT_TRUE(rig.Said("Profile Loaded\r\n"));
    EXPECT_EQ(form.Finished_Segment, 3);
    EXPECT_EQ(form.Profile_Total_Time, 90);
    EXPECT_EQ(form.Tables.Seg_End_Time[1], 90);
    EXPECT_EQ(form.Tables.Seg_Error_Limit[0], 50);
    EXPECT_EQ(form.Tables.Seg_Error_Limit[1], 3000);
    EXPECT_EQ(form.SetPointReadOut, "SetTemp(F)");
    EXPECT_EQ(form.TimeReadOut, "Time(mins)");
    EXPECT_EQ(form.Control_Interval.Interval, 3000);
    EXPECT_EQ(form.Sensor_Type, "K    ");
    EXPECT_EQ(form.RunProfile_FlexGrid[1][5], "   1000");
    EXPECT_EQ(form.ProfileChart_Points.size(), 4u);
    EXPECT_EQ(rig.Profile_Dialog.Open_Requests.back().Initial_Folder, rig.Paths.Profiles_Folder());
    // The name change saved the setup at once.
    EXPECT_EQ(Read_First_Line(rig.Paths.Setup_File("Profile_Name.txt")), "example.txt");
}

TEST(Loading, ABadFileOrACancelLeavesTheLoadedProfileInForce) {
    Main_Window_Rig rig;
    rig.Form.Form_Load();
    rig.Write_Profile("good.txt", {Ramp, Hold, End});
    rig.Open_Profile("good.txt");
    std::string damaged = Read_Whole_File(rig.Paths.Profile_File("good.txt"));
    damaged[40] = '5';
    Write_Whole_File(rig.Paths.Profile_File("bad.txt"), damaged);

    rig.Form.Clear();
    rig.Open_Profile("bad.txt");
    EXPECT_EQ(rig.Form.User_Message_Box,
              "File found: Format not valid: \r\nProfile Syntax must be precise\r\n"
              "Use profile editor to create profiles\r\n");
    EXPECT_EQ(rig.Form.Profile_Name, "good.txt");
    EXPECT_EQ(rig.Form.Finished_Segment, 3);
    EXPECT_TRUE(rig.Form.Profile_Valid);

    rig.Form.Clear();
    rig.Form.mnuFileOpen_Click();  // the dialog is cancelled
    EXPECT_EQ(rig.Form.User_Message_Box, "Profile open cancelled\r\n");
    EXPECT_EQ(rig.Form.Profile_Name, "good.txt");

    // A checksum-valid file with a cell that is not a number: nothing of it is taken.
    rig.Write_Profile("odd.txt", {{"1", "0", "sixty", "r", "70", "200", "", "", "", ""},
                                  {"2", "60.00", "", "e", "200", "", "", "", "", ""}});
    rig.Form.Clear();
    rig.Open_Profile("odd.txt");
    EXPECT_TRUE(rig.Said("Profile Load Error: System error number=13\r\n"));
    EXPECT_EQ(rig.Form.Profile_Name, "good.txt");
    EXPECT_EQ(rig.Form.Tables.Seg_End_Time[0], 60);
}

TEST(Loading, HoursAndCelsiusAndPlatinumSensorsAreTakenFromTheFile) {
    Main_Window_Rig rig;
    rig.Write_Profile("pt.txt",
                      {{"1", "0", "2", "r", "20", "400", "190.00", "5", "", ""},
                       {"2", "2.00", "1", "h", "400", "400", "0", "", "", ""},
                       {"3", "3.00", "", "e", "400", "", "", "", "", ""}},
                      "PtJIS", false, false);
    rig.Open_Profile("pt.txt");
    EXPECT_EQ(rig.Form.SetPointReadOut, "SetTemp(C)");
    EXPECT_EQ(rig.Form.Temp_Scale, "C");
    EXPECT_EQ(rig.Form.TimeReadOut, "Time(hours)");
    EXPECT_EQ(rig.Form.Control_Interval.Interval, 60000);
    EXPECT_EQ(rig.Form.Tables.Seg_Start_Temp[0], 200);
    EXPECT_EQ(rig.Form.Tables.Seg_End_Temp[0], 4000);
    EXPECT_EQ(rig.Form.Tables.Seg_Error_Limit[0], 50);
}

}  // namespace
}  // namespace corvanel::testing
