// SPDX-License-Identifier: GPL-3.0-or-later
#include <cstring>
#include <map>

#include "profiles/printout.h"
#include "run/live_view_setting.h"
#include "support/main_window_rig.h"

namespace corvanel::testing {
namespace {

const std::array<std::string, 10> Ramp{"1", "0", "60", "r", "70", "1000", "15.50", "50", "", ""};
const std::array<std::string, 10> Hold{"2", "60.00", "30", "h", "1000", "1000", "0", "", "", ""};
const std::array<std::string, 10> End{"3", "90.00", "", "e", "1000", "", "", "", "", ""};

TEST(Startup, FirstStartUsesTheDefaultsSendsMA01FirstAndExitSavesTheSetup) {
    Main_Window_Rig rig;
    rig.Form.Form_Load();
    EXPECT_EQ(rig.Form.mnuComm, (std::array<bool, 3>{true, false, false}));  // port 1
    EXPECT_TRUE(rig.Form.Monitor_Interval.Enabled && !rig.Form.Control_Interval.Enabled);
    // MA01 first, then one monitoring tick; without a profile it slows to once a minute.
    ASSERT_GE(rig.Line.Sent.size(), 2u);
    EXPECT_EQ(rig.Line.Sent[0] + rig.Line.Sent[1],
              Build_Request(0, "MA01") + Build_Request(0, "RS01"));
    EXPECT_EQ(rig.Form.TimeReadOut + " " + std::to_string(rig.Form.Monitor_Interval.Interval),
              "Time(hours) 60000");
    // The chart's placeholder before any profile: (1,0) to (10,0).
    const Plan_Points& chart = rig.Form.Profile().Chart_Points();
    ASSERT_EQ(chart.size(), 10u);
    EXPECT_EQ(chart.front(), std::make_pair(1.0, 0.0));
    EXPECT_EQ(chart.back(), std::make_pair(10.0, 0.0));
    EXPECT_FALSE(std::filesystem::exists(rig.Paths.Setup_File("Check_Flag.txt")))
        << "saved while loading";

    rig.Form.mnuComm_Click(3);  // the last port of the Comm menu
    EXPECT_EQ(rig.Form.mnuComm, (std::array<bool, 3>{false, false, true}));
    EXPECT_TRUE(rig.Said("Comm port 3 set")) << rig.Form.User_Message_Box;
    rig.Form.mnuRecallSetup_Click();
    rig.Form.mnuExitProgram_Click();
    EXPECT_FALSE(rig.Form.Monitor_Interval.Enabled || rig.Form.Control_Interval.Enabled);
    EXPECT_FALSE(rig.Line.Port_Open());
    EXPECT_TRUE(rig.Windows.Ended);
    // What is saved is pinned below; here: the port chosen from the menu, and no empty
    // profile name.
    EXPECT_EQ(Read_Whole_File(rig.Paths.Setup_File("CommPortNumber.txt")), "3\r\n");
    EXPECT_FALSE(std::filesystem::exists(rig.Paths.Setup_File("Profile_Name.txt")));

    rig.Form.User_Message_Box = std::string(1490, 'x');
    rig.Form.Display("12345678");  // 1500 characters are kept; more start the area afresh
    EXPECT_EQ(rig.Form.User_Message_Box.size(), 1500u);
    rig.Form.Display("");
    EXPECT_EQ(rig.Form.User_Message_Box, "");
}

TEST(Loading, TheWorkedExampleAndAPlatinumProfileInHoursFillTablesCaptionsAndTheTick) {
    Main_Window_Rig rig;
    rig.Form.Form_Load();
    rig.Write_Profile("example.txt", {Ramp, Hold, End});
    rig.Open_Profile("example.txt");
    EXPECT_EQ(rig.Loaded(),
              "example.txt rows=3 total=90 K    FM tick=3000 SetTemp(F) Time(mins) chart=4");
    EXPECT_EQ(rig.Form.RunProfile_FlexGrid[1][5], "   1000");
    EXPECT_EQ(rig.Profile_Dialog.Open_Requests.back().Initial_Folder, rig.Paths.Profiles_Folder());
    EXPECT_EQ(Read_First_Line(rig.Paths.Setup_File("Profile_Name.txt")), "example.txt");
    // Printed: row 0 without values, then the rows before the end row in two decimals.
    Printout printout = Build_Printout(rig.Form.Profile().Sheet(), rig.Form.Profile_Name);
    EXPECT_EQ(printout.Name_Line + "|" + printout.Titles[1] + "|" + printout.Titles[8],
              "Profile Name=example.txt|Start-Time|Notif-Time");
    EXPECT_EQ(printout.Rows,
              (std::vector<std::array<std::string, 8>>{
                  {},
                  {"1.00", "0.00", "60.00", "r", "70.00", "1000.00", "15.50", "50.00"},
                  {"2.00", "60.00", "30.00", "h", "1000.00", "1000.00", "0.00", ""}}));
    EXPECT_TRUE(Build_Printout(Profile_Sheet{}, "").Rows.empty());  // no profile: titles only

    rig.Write_Profile("pt.txt",
                      {{"1", "0", "2", "r", "20", "400", "190.00", "5", "", ""},
                       {"2", "2.00", "1", "h", "400", "400", "0", "", "", ""},
                       {"3", "3.00", "", "e", "400", "", "", "", "", ""}},
                      "PtJIS", false, false);
    rig.Open_Profile("pt.txt");
    EXPECT_EQ(rig.Loaded(),
              "pt.txt rows=3 total=3 PtJISCH tick=60000 SetTemp(C) Time(hours) chart=4");

    // A damaged file or a cell that is not a number leaves the loaded profile in force.
    const std::string loaded = rig.Loaded();
    std::string damaged = Read_Whole_File(rig.Paths.Profile_File("pt.txt"));
    damaged[40] = '5';
    Write_Whole_File(rig.Paths.Profile_File("bad.txt"), damaged);
    rig.Write_Profile("odd.txt", {{"1", "0", "sixty", "r", "70", "200", "", "", "", ""},
                                  {"2", "60.00", "", "e", "200", "", "", "", "", ""}});
    const std::pair<const char*, const char*> attempts[] = {
        {"bad.txt", "File found: Format not valid: \r\n"},
        {"odd.txt",
         "Profile syntax is is valid\r\nProfile Load Error: System error number=13\r\n"}};
    for (auto [file, message] : attempts) {
        rig.Form.Clear();
        rig.Open_Profile(file);
        EXPECT_EQ(rig.Form.User_Message_Box.substr(0, std::strlen(message)), message);
        EXPECT_EQ(rig.Loaded(), loaded);
        EXPECT_TRUE(rig.Form.Profile().Valid());
    }
}

// The panel's open and close are the run window's menu story; here what it refuses.
TEST(Controls, LockingOrARunKeepsTheFrontPanelShutAndLockingStopsAutoTune) {
    Main_Window_Rig rig;
    rig.Form.Form_Load();
    rig.Form.mnuLockControls_Click();
    EXPECT_EQ(rig.Line.Sent.back(), Build_Request(0, "AP01"));
    EXPECT_FALSE(rig.Form.Start_Profile_Enabled);
    rig.Form.mnuFrontPanel_Click();
    EXPECT_FALSE(rig.Form.mnuFrontPanel || rig.Windows.Front_Panel_Shown);
    EXPECT_TRUE(rig.Said("Unlock and stop run to access front panel\r\n"));
    std::size_t frames = rig.Line.Sent.size();
    rig.Form.mnuLockControls_Click();
    EXPECT_TRUE(rig.Form.Start_Profile_Enabled);
    EXPECT_EQ(rig.Line.Sent.size(), frames);  // unlocking sends nothing

    rig.Form.Set_Polling_Mode("run");
    rig.Form.mnuFrontPanel_Click();
    EXPECT_FALSE(rig.Windows.Front_Panel_Shown);
    EXPECT_TRUE(rig.Form.Control_Interval.Enabled);
}

// A start, a short firing and an exit leave these files in the Setup folder, byte for byte,
// and no others; the next start reads them back.
TEST(Setup_Folder, AStartAFiringAndAnExitLeaveTheSetupFilesByteForByte) {
    Main_Window_Rig rig;
    rig.Setup_File("ThermalDeviceName.txt", "Big Kiln ");
    std::string said;  // as the program reads it at start: a missing file is written
    EXPECT_TRUE(Read_Live_View_Setting(rig.Paths, said));
    EXPECT_EQ(said, "The live firing view is on: no choice had been saved yet.");
    for (auto [line, told] :
         {std::pair{"on", "Live firing view: \"on\" is not"},
          {"",
           "The live firing view is on: no choice had been saved yet."}}) {  // an empty file too
        rig.Setup_File("LiveFiringView.txt", line);
        EXPECT_TRUE(Read_Live_View_Setting(rig.Paths, said));
        EXPECT_EQ(said.substr(0, std::string(told).size()), told) << said;
    }
    rig.Form.Form_Load();
    rig.Form.mnuComm_Click(2);
    rig.Form.mnuEnableEmailNotification_Click();
    rig.Form.mnuSetUpName_Click();  // cancelled: the name stays
    rig.Open_Short_Profile();
    rig.Choose_Log("short_log.txt");
    rig.Form.Start_Profile_Click();
    for (int minute = 0; minute < 4; ++minute) {
        rig.Clock.Advance(60);
        rig.Form.Control_Interval_Timer();
    }
    rig.Form.mnuRecallSetup_Click();
    rig.Form.mnuExitProgram_Click();

    std::map<std::string, std::string> files;
    for (const auto& entry : std::filesystem::directory_iterator(rig.Paths.Folder() / "Setup"))
        files[entry.path().filename().string()] = Read_Whole_File(entry.path().string());
    const std::map<std::string, std::string> expected = {
        {"Check_Flag.txt", "checked\r\n"},
        {"CommPortNumber.txt", "2\r\n"},
        {"Email_List.txt", "\r\n"},
        {"EnableEmailNotification.txt", "checked\r\n"},
        {"LiveFiringView.txt", "checked\r\n"},
        {"Logfile_Name.txt", "short_log.txt\r\n"},
        {"Profile_Name.txt", "short.txt\r\n"},
        {"Safety.txt",  // the safety settings' defaults, written at the start of the firing
         "Controller_Lost_Alarm=1\r\nController_Lost_Ticks=5\r\nFailure_To_Heat_Alarm=1\r\n"
         "Heat_Gap_F=50\r\nHeat_Gap_C=28\r\nHeat_Rise=10\r\nHeat_Minutes=20\r\n"
         "Over_Temperature_Alarm=1\r\nOver_Temperature_Margin=50\r\nStuck_Relay_Minutes=20\r\n"
         "Thermocouple_Break_Alarm=1\r\nThermocouple_Break_Ticks=2\r\nSoft_Off_On_Alarm=1\r\n"
         "Scale_Check=1\r\nCarried_Over_Notice=1\r\nStart_At_Kiln_Temperature=0\r\n"
         "Alarm_Confirm_Seconds=18\r\nCooling_End_F=150\r\nCooling_End_C=65\r\n"
         "Off_Heating_Rise_F=30\r\nOff_Heating_Rise_C=17\r\nKiln_Guard=1\r\nGuard_Minutes=10\r\nContinue_After_Restart=0\r\nContinue_Gap_Minutes=30\r\nStart_At_Login=0\r\n"},
        {"ThermalDeviceName.txt", "Big Kiln \r\n"}};
    EXPECT_EQ(files, expected);

    // The next start reads them back. A value a setting may not have passes in silence:
    // a check mark is then off, a port number leaves port 1; one is rounded half to even.
    const std::pair<const char*, const char*> starts[] = {
        {"", "short.txt short_log.txt Big Kiln |2 mail"},
        {"CommPortNumber.txt=3.5", "short.txt short_log.txt Big Kiln |4 mail"},
        {"CommPortNumber.txt=two", "short.txt short_log.txt Big Kiln |1 mail"},
        {"EnableEmailNotification.txt=Checked", "short.txt short_log.txt Big Kiln |2 no mail"},
        {"Check_Flag.txt=checked ", "  Big Kiln |2 mail"}};
    for (auto [change, read] : starts) {
        Main_Window_Rig next;
        std::filesystem::copy(rig.Paths.Folder() / "Setup", next.Paths.Folder() / "Setup");
        const std::string line = change;
        const std::size_t equals = line.find('=');
        if (equals != std::string::npos)
            next.Setup_File(line.substr(0, equals), line.substr(equals + 1));
        next.Write_Profile("short.txt", {{"1", "0", "2", "r", "70", "250", "90.00", "50", "", ""},
                                         {"2", "2.00", "", "e", "250", "", "", "", "", ""}});
        next.Form.Form_Load();
        const Traj_form& form = next.Form;
        EXPECT_EQ(form.Profile_Name + " " + form.LogFile + " " + form.OvenName + "|" +
                      std::to_string(form.Comm_Port_Number) +
                      (form.mnuEnableEmailNotification ? " mail" : " no mail"),
                  read);
        if (equals != std::string::npos)
            EXPECT_FALSE(next.Said("\"" + line.substr(equals + 1) + "\"")) << change;
    }
}

}  // namespace
}  // namespace corvanel::testing
