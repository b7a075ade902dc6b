// SPDX-License-Identifier: GPL-3.0-or-later
// The run window's model: first start, loading, locks, Setup files, ports, start at login;
// refused starts, typed times, bad set values, read-outs and link outages.

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <map>

#include "app/comm_setup_model.h"
#include "profiles/printout.h"
#include "run/live_view_setting.h"
#include "support/fake_devices.h"
#include "support/main_window_rig.h"
#include "support/worked_example.h"

namespace corvanel::testing {
namespace {

TEST(Startup, FirstStartUsesTheDefaultsSendsMA01FirstAndExitSavesTheSetup) {
    Main_Window_Rig rig;
    rig.Form.Form_Load();
    EXPECT_EQ(rig.Form.mnuComm, (std::array<bool, 3>{true, false, false}));  // port 1
    EXPECT_TRUE(rig.Form.Run().Monitor_Interval().Enabled &&
                !rig.Form.Run().Control_Interval().Enabled);
    // MA01 first, then one monitoring tick; without a profile it slows to once a minute.
    ASSERT_GE(rig.Line.Sent.size(), 2u);
    EXPECT_EQ(rig.Line.Sent[0] + rig.Line.Sent[1],
              Build_Request(0, "MA01") + Build_Request(0, "RS01"));
    EXPECT_EQ(
        rig.Form.TimeReadOut + " " + std::to_string(rig.Form.Run().Monitor_Interval().Interval),
        "Time(hours) 60000");
    // The chart's placeholder before any profile: (1,0) to (10,0).
    const Plan_Points& chart = rig.Form.Run().Profile().Chart_Points();
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
    EXPECT_FALSE(rig.Form.Run().Monitor_Interval().Enabled ||
                 rig.Form.Run().Control_Interval().Enabled);
    EXPECT_FALSE(rig.Line.Port_Open());
    EXPECT_TRUE(rig.Windows.Ended);
    // What is saved is pinned below; here: no empty profile name.
    EXPECT_FALSE(std::filesystem::exists(rig.Paths.Setup_File("Profile_Name.txt")));

    rig.Form.User_Message_Box = std::string(1490, 'x');
    rig.Form.Display("12345678");  // 1500 characters are kept; more start the area afresh
    EXPECT_EQ(rig.Form.User_Message_Box.size(), 1500u);
    rig.Form.Display("");
    EXPECT_EQ(rig.Form.User_Message_Box, "");
}

TEST(Loading, TheWorkedExampleAndAPlatinumProfileInHoursFillTablesCaptionsTheTickAndReadouts) {
    Main_Window_Rig rig;
    rig.Form.Form_Load();
    Write_Whole_File(rig.Paths.Profile_File("example.txt"), Worked_Example_Text());
    rig.Open_Profile("example.txt");
    EXPECT_EQ(rig.Loaded(),
              "example.txt rows=3 total=90 K    FM tick=3000 SetTemp(F) Time(mins) chart=4");
    EXPECT_EQ(rig.Form.Real_Temp_Display_1, std::to_string(rig.Protocol.Last_PV));
    EXPECT_EQ(rig.Form.RunProfile_FlexGrid[1][5], "   1000");
    EXPECT_EQ(rig.Profile_Dialog.Open_Requests.back().Initial_Folder, rig.Paths.Profiles_Folder());
    EXPECT_EQ(Read_First_Line(rig.Paths.Setup_File("Profile_Name.txt")), "example.txt");
    // Printed: row 0 without values, then the rows before the end row in two decimals.
    Printout printout = Build_Printout(rig.Form.Run().Profile().Sheet(), rig.Form.Profile_Name);
    EXPECT_EQ(printout.Name_Line + "|" + printout.Titles[1] + "|" + printout.Titles[8],
              "Profile Name=example.txt|Start-Time|Notif-Time");
    EXPECT_EQ(printout.Rows,
              (std::vector<std::array<std::string, 8>>{
                  {},
                  {"1.00", "0.00", "60.00", "r", "70.00", "1000.00", "15.50", "50.00"},
                  {"2.00", "60.00", "30.00", "h", "1000.00", "1000.00", "0.00", ""}}));
    EXPECT_TRUE(Build_Printout(Profile_Sheet{}, "").Rows.empty());  // no profile: titles only

    // A minute carried into a profile in hours is converted; a Celsius profile on the
    // simulated Fahrenheit controller is read out in Celsius.
    rig.Form.Elapsed_Time_GotFocus();
    for (char key : std::string("\b1\r")) rig.Form.Type_Elapsed_Key(key);
    rig.Open_Profile("celsius_hours.txt",
                     {{"1", "0", "2", "r", "20", "120", "50", "", "", ""},
                      {"2", "2.00", "", "e", "120", "", "", "", "", ""}},
                     "K    ", false, false);
    EXPECT_NEAR(rig.Form.Run().Engine().Elapsed(), 1.0 / 60, 1e-12);
    EXPECT_TRUE(
        rig.Said("The elapsed time was converted to this profile's time unit: "
                 "1.00 Minutes = 0.02 Hours"))
        << rig.Form.User_Message_Box;
    rig.Form.Monitor_Interval_Timer();
    const double celsius = (rig.Protocol.Last_PV - 32) * 5 / 9.0;
    EXPECT_EQ(rig.Form.Real_Temp_Display_1 + " " + rig.Form.SetPointReadOut,
              Format_Number(std::round(celsius)) + " SetTemp(C)");
    EXPECT_NEAR(rig.Form.Run().Firing_Status_Now().Measured, celsius, 1e-9);
    const int set_value = std::atoi(rig.Panel.Set_Point.c_str());
    EXPECT_EQ(rig.Form.Profile_Temperature, Format_Number(std::round((set_value - 32) * 5 / 9.0)));

    rig.Open_Profile("pt.txt",
                     {{"1", "0", "2", "r", "20", "400", "190.00", "5", "", ""},
                      {"2", "2.00", "1", "h", "400", "400", "0", "", "", ""},
                      {"3", "3.00", "", "e", "400", "", "", "", "", ""}},
                     "PtJIS", false, false);
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
        EXPECT_TRUE(rig.Form.Run().Profile().Valid());
    }
    rig.Open_Short_Profile();
    EXPECT_EQ(rig.Form.Elapsed_Time, "1.00");
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
    EXPECT_TRUE(rig.Form.Run().Control_Interval().Enabled);
}

// A start, a short firing and an exit leave these files in the Setup folder, byte for byte,
// and no others; the next start reads them back.
TEST(Setup_Folder, AStartAFiringAndAnExitLeaveTheSetupFilesByteForByte) {
    Main_Window_Rig rig;
    rig.Setup_File("ThermalDeviceName.txt", "Big Kiln ");
    std::string said;  // as the program reads it at start: a missing file is written
    EXPECT_TRUE(Read_Live_View_Setting(rig.Settings, said));
    EXPECT_EQ(said, "The live firing view is on: no choice had been saved yet.");
    for (auto [line, told] :
         {std::pair{"on", "Live firing view: \"on\" is not"},
          {"",
           "The live firing view is on: no choice had been saved yet."}}) {  // an empty file too
        rig.Setup_File("LiveFiringView.txt", line);
        EXPECT_TRUE(Read_Live_View_Setting(rig.Settings, said));
        EXPECT_EQ(said.substr(0, std::string(told).size()), told) << said;
    }
    rig.Form.Form_Load();
    rig.Form.mnuComm_Click(2);
    rig.Form.mnuEnableEmailNotification_Click();
    rig.Form.mnuSetUpName_Click();  // cancelled: the name stays
    rig.Open_Short_Profile();
    rig.Choose_Log("short_log.txt");
    rig.Form.Start_Profile_Click();
    rig.Control_Ticks(4);
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
         "Off_Heating_Rise_F=30\r\nOff_Heating_Rise_C=17\r\nKiln_Guard=1\r\nGuard_Minutes=10\r\nContinue_After_Restart=0\r\nContinue_Gap_Minutes=30\r\nStart_At_Login=0\r\n"
         "Off_Heating_Minutes=20\r\nHot_Off_Margin_F=100\r\nHot_Off_Margin_C=55\r\nHot_Off_Minutes=5\r\n"
         "Hot_Start_Question=1\r\nHot_Start_Margin_F=100\r\nHot_Start_Margin_C=55\r\n"
         "Never_Finishes_Alarm=1\r\nNever_Finishes_Climb_F=27\r\nNever_Finishes_Climb_C=15\r\n"
         "Never_Finishes_Hours=2\r\n"},
        {"ThermalDeviceName.txt", "Big Kiln \r\n"}};
    EXPECT_EQ(files, expected);

    // The next start reads them back. A value a setting may not have passes in silence:
    // a check mark is then off, a port number leaves port 1.
    const std::pair<const char*, const char*> starts[] = {
        {"", "short.txt short_log.txt Big Kiln |2 mail"},
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

// Ports 1 to 4 exist, the controller answers on port 3 only, no serial devices unless added.
struct Port_Setup_Test : ::testing::Test {
    Main_Window_Rig Rig;
    CommSetUp Setup{Rig.Form, Rig.Serial, Rig.Protocol, Rig.Settings};
    Fake_Devices Devices;

    void SetUp() override {
        Setup.Devices = Devices.Tree;
        Rig.Line.Existing_Ports = {1, 2, 3, 4};
        Rig.Line.Controller = &Rig.Server;
        Rig.Line.Only_Port = 3;
        Rig.Form.Form_Load();
    }
};

TEST_F(Port_Setup_Test,
       TheStepsStayWithinOneToTwentyUseSavesTheScanAndClosingReturnToTheStateOfOpening) {
    Setup.Form_Open();
    Setup.DecrPortNumber_Click();
    EXPECT_EQ(Setup.CommPortNumber + " " + std::to_string(Setup.Selected_Port), "1 1");
    for (int i = 0; i < 25; ++i) Setup.IncrPortNum_Click();
    EXPECT_EQ(Setup.CommPortNumber, "20");
    for (int i = 0; i < 16; ++i) Setup.DecrPortNumber_Click();
    Setup.SavePortSettings_Click();
    EXPECT_EQ(Rig.Line.Comm_Port(), 4);
    EXPECT_EQ(Read_First_Line(Rig.Paths.Setup_File("CommPortNumber.txt")), "4");

    Setup.SerialPortScan();
    EXPECT_EQ(Rig.Line.Comm_Port(), 1);  // the port in use when the window opened
    EXPECT_TRUE(Rig.Line.Port_Open());
    EXPECT_EQ(Rig.Form.Comm_Port_Number, 4);

    // Closing resumes the tick that ran at opening.
    for (const char* mode : {"run", "monitor"}) {
        Rig.Form.Set_Polling_Mode(mode);
        Setup.Form_Open();
        EXPECT_FALSE(Rig.Form.Run().Control_Interval().Enabled ||
                     Rig.Form.Run().Monitor_Interval().Enabled);
        Setup.Form_Close();
        EXPECT_EQ(Rig.Form.Run().Control_Interval().Enabled, mode == std::string("run")) << mode;
        EXPECT_EQ(Rig.Form.Run().Monitor_Interval().Enabled, mode == std::string("monitor"))
            << mode;
    }
}

TEST_F(Port_Setup_Test, AScanNamesTheControllersPortAndEachPortsDeviceUnlessTurnedOff) {
    Devices.Add({"ttyS0"});
    const std::string device = (Devices.Tree.Dev / "ttyS0").string() + ": built-in serial port";
    Setup.Form_Open();
    EXPECT_EQ(Setup.Port_Device_Text, device);
    Setup.IncrPortNum_Click();
    EXPECT_EQ(Setup.Port_Device_Text, "no serial device for this port number");
    // Ports 1 to 20 in order; the device's line after its port's own.
    const std::string stars = std::string(72, '*') + "\r\n";
    std::string scan =
        "Scanning Serial Port # Range\r\n" + std::string(35, '-') + "\r\n" +
        "Serial Port #1  ->Port seen, no controller seen on it<-\r\n    " + device +
        "\r\nSerial Port #2  ->Port seen, no controller seen on it<-\r\n" + stars + stars +
        "Serial Port #3  Temperature controller seen on this port number *\r\n" + stars + stars +
        "Serial Port #4  ->Port seen, no controller seen on it<-\r\n";
    for (int p = 5; p <= 20; ++p)
        scan += "Serial port number " + std::to_string(p) + " is not installed<-\r\n";
    scan += "\r\nScan finished\r\n";
    Setup.SerialPortScan();
    EXPECT_EQ(Setup.SerialPortPrompt, scan);

    Write_Text_File(Rig.Paths.Setup_File("SerialPortDetails.txt"), "unchecked");
    Setup.Form_Open();
    EXPECT_EQ(Setup.Port_Device_Text, "");
    Setup.SerialPortScan();  // the same scan without the device's line
    EXPECT_EQ(Setup.SerialPortPrompt, scan.erase(scan.find("    /"), device.size() + 6));

    Write_Text_File(Rig.Paths.Setup_File("SerialPortDetails.txt"), "off");
    Setup.Form_Open();  // a bad value keeps the default and says so
    EXPECT_EQ(Setup.Port_Device_Text, device);
    EXPECT_TRUE(
        Setup.SerialPortPrompt.ends_with("not checked or unchecked, the default is used "
                                         "(checked)\r\n"));
}

// Closing the window mid-firing, once the operator has said yes: what the kiln does then,
// after the safety settings in force.
TEST(Leaving_A_Firing, SaysTheSetValueKeptAndWhenTheGuardTurnsItDown) {
    for (const auto& [safety, then] : std::vector<std::pair<std::string, std::string>>{
             {"Guard_Minutes=25",
              "If the program is not started again within 25 min, the kiln guard turns the set "
              "value down to 70 °F."},
             {"Kiln_Guard=0",
              "The kiln guard is off: nothing turns it down until the program is started again "
              "or the kiln is switched off."}}) {
        Main_Window_Rig rig;
        rig.Setup_File("Safety.txt", safety);
        rig.Form.Form_Load();
        rig.Open_Short_Profile();
        rig.Form.Start_Profile_Click();
        rig.Control_Ticks(1);  // a minute up the ramp of 90 degrees a minute
        EXPECT_EQ(
            rig.Form.Leaving_Firing_Words(),
            "The controller keeps the set value of 160 °F while the program is closed.\r\n" + then);
    }
}

// A start that cannot be fired is refused with its reason and a soft off; the scale check
// can be turned off. A profile in the other scale is met with the way to convert it, and
// the editor opened next knows the controller's scale, which the watch of the kiln reads
// with or without a profile.
TEST(Refused_Start, SaysWhyAndSoftOffs) {
    const struct {
        const char* Name;
        bool Profile;
        sim::Unit_Settings Kiln;
        std::string Said;
        int Soft_Off;
        std::string Editor_Scale;
    } cases[] = {
        {"no profile", false, Kiln_Settings(), "Valid profile must be loaded \r\n", 20, "F"},
        {"a J controller", true, Kiln_Settings(3),
         "sensor type=K    \r\nController temperature sensor type =J    \r\n", 70, "F"},
        {"a Celsius controller", true, Kiln_Settings(2, false),
         "scale=F\r\nController temperature scale =C\r\n"
         "Edit profile and save with matching scale setting\r\n"
         "To convert it: Editor > Edit / Create Profile, File > Open, "
         "Scales > Convert Sheet to Celsius, File > SaveAs\r\n",
         70, "C"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Name);
        Main_Window_Rig rig;
        rig.Model = sim::Controller_Model({0}, c.Kiln);
        rig.Form.Form_Load();
        if (c.Profile) rig.Open_Short_Profile();
        rig.Set_Values_Sent();
        rig.Form.Start_Profile_Click();
        EXPECT_TRUE(rig.Said(c.Said)) << rig.Form.User_Message_Box;
        EXPECT_FALSE(rig.Form.Run().Control_Interval().Enabled);
        EXPECT_EQ(rig.Set_Values_Sent(), std::vector<int>{c.Soft_Off});
        EXPECT_EQ(rig.Beeper.Beeps, c.Profile ? 0 : 1);
        rig.Form.mnuEdit_Click();
        EXPECT_EQ(rig.Windows.Editor_Shown_With_Scale, c.Editor_Scale);
        if (c.Kiln.Fahrenheit) continue;
        rig.Safety_Switch("Scale_Check", false);
        rig.Form.Start_Profile_Click();
        EXPECT_TRUE(rig.Form.Run().Control_Interval().Enabled);
    }
}

TEST(Elapsed_Time_Entry, IsEditedOnlyWithinTheProfileAndAStartWithoutALogSaysSoOnce) {
    Main_Window_Rig rig;
    rig.Form.Form_Load();
    rig.Open_Short_Profile();
    Traj_form& form = rig.Form;
    form.Elapsed_Time_GotFocus();
    form.Type_Elapsed_Key(8);  // backspace empties the box
    for (char key : std::string("1x.5")) form.Type_Elapsed_Key(key);
    EXPECT_EQ(form.Elapsed_Time, "1.5");  // the letter is refused with a beep
    EXPECT_EQ(rig.Beeper.Beeps, 1);
    form.Start_Profile_Click();  // refused while editing
    EXPECT_TRUE(rig.Said("Must hit ENTER to update time or\r\n"));
    EXPECT_FALSE(form.Run().Control_Interval().Enabled);
    form.Type_Elapsed_Key(13);
    EXPECT_EQ(Format_Number(form.Run().Engine().Elapsed()) + " " +
                  Format_Number(form.Run().Engine().Base()),
              "1.5 1.5");
    EXPECT_FALSE(form.Editing_Elapsed());

    form.Elapsed_Time_GotFocus();
    form.Type_Elapsed_Key(8);
    form.Type_Elapsed_Key('9');  // past the profile's 3 minutes
    form.Clear();
    form.Type_Elapsed_Key(27);  // not even Escape is taken
    EXPECT_EQ(form.User_Message_Box, "Profile does not include time entered\r\n");
    EXPECT_TRUE(form.Editing_Elapsed());
    for (char key : std::string("\b2\x1b")) form.Type_Elapsed_Key(key);
    EXPECT_EQ(form.Elapsed_Time, "1.5");
    EXPECT_TRUE(rig.Said("Time change aborted, ready to run\r\n"));

    // Without a log, a firing says so once at its start and runs on.
    auto start_warns = [&] {
        form.Clear();
        form.Start_Profile_Click();
        return rig.Said("No log file: this firing is not being logged");
    };
    rig.Set_Values_Sent();
    EXPECT_TRUE(start_warns());  // continues at minute 1.5 of the ramp: 70 + 135
    EXPECT_EQ(rig.Set_Values_Sent(), std::vector<int>{205});
    form.Start_Profile_Click();                          // suspend
    EXPECT_FALSE(start_warns());                         // resumed: the same firing, said already
    EXPECT_TRUE(form.Run().Control_Interval().Enabled);  // the warning does not stop the run

    form.SoftOff_Click();
    rig.Setup_File("WarnWithoutLogFile.txt", "unchecked");
    EXPECT_FALSE(start_warns());
    rig.Setup_File("WarnWithoutLogFile.txt", "checked");
    form.SoftOff_Click();
    rig.Choose_Log("short_log.txt");
    EXPECT_FALSE(start_warns());
}

// A set value the profile cannot have (beyond a 16-bit value) is said with its tick step
// and the last good one stays in force; one beyond the controller's field goes out as
// the nearest it takes, and the operator is told.
TEST(Set_Value_Errors, AnImpossibleValueKeepsTheLastGoodOneOneBeyondTheFieldIsClampedOrRefused) {
    Main_Window_Rig rig;
    rig.Form.Form_Load();
    rig.Open_Profile("damaged.txt", {{"1", "0", "2", "r", "70", "80000", "", "", "", ""},
                                     {"2", "2.00", "", "e", "80000", "", "", "", "", ""}});
    rig.Set_Values_Sent();
    rig.Form.Start_Profile_Click();
    rig.Control_Ticks(1);
    EXPECT_TRUE(rig.Said("Control Timer Loop Error\r\nDesired Temp Calc\r\nError Number= 6\r\n"));
    EXPECT_EQ(rig.Set_Values_Sent(), (std::vector<int>{70, 70}));

    rig.Model = sim::Controller_Model({0}, Kiln_Settings(6));  // a platinum sensor
    rig.Open_Profile("platinum.txt",
                     {{"1", "0", "5", "h", "-100", "-100", "", "", "", ""},
                      {"2", "5.00", "", "e", "-100", "", "", "", "", ""}},
                     "PtJIS");
    rig.Form.SoftOff_Click();
    rig.Form.Clear();
    rig.Form.Start_Profile_Click();  // -100.0 degrees is -1000 tenths, the sensor's least
    EXPECT_EQ(rig.Set_Values_Sent(), (std::vector<int>{70, -999}));
    EXPECT_TRUE(rig.Said("sent instead: -1000 => -999\r\n")) << rig.Form.User_Message_Box;
    EXPECT_EQ(rig.Form.Profile_Temperature, "-100");  // tenths shown as degrees

    // A controller whose own set limit is below the profile refuses the set value (end code
    // 0D): the operator is told as for a lost line, and the run goes on.
    rig.Form.SoftOff_Click();
    rig.Form.mnuReset_Logfile_Click();
    sim::Unit_Settings kiln = Kiln_Settings();
    kiln.High_Limit = 200;
    rig.Model = sim::Controller_Model({0}, kiln);
    rig.Open_Short_Profile();
    rig.Form.Clear();
    rig.Form.Start_Profile_Click();
    EXPECT_FALSE(rig.Said("Set Value Communications Error"));
    rig.Control_Ticks(1, 120);  // 250 degrees asked
    EXPECT_TRUE(rig.Said("Set Value Communications Error")) << rig.Form.User_Message_Box;
    EXPECT_TRUE(rig.Form.Run().Control_Interval().Enabled);
}

// A profile whose rows do not join is not run; one beyond what the kiln may have is run
// held at the controller's high set limit, read when the program started, and that is
// said once and recorded.
TEST(Set_Value_Limits, RowsThatDoNotJoinAreRefusedAndASetValueIsHeldAtTheControllersLimit) {
    Main_Window_Rig rig;
    rig.Keep_Record();
    rig.Model = sim::Controller_Model({0}, [] {
        sim::Unit_Settings kiln = Kiln_Settings();
        kiln.High_Limit = 2250;  // below the K thermocouple's 2300
        return kiln;
    }());
    rig.Form.Form_Load();
    rig.Open_Profile("moved.txt", {{"1", "0", "2", "r", "70", "250", "90.00", "", "", ""},
                                   {"2", "2.50", "1", "h", "250", "250", "0", "", "", ""},
                                   {"3", "3.50", "", "e", "250", "", "", "", "", ""}});
    rig.Set_Values_Sent();
    rig.Form.Clear();
    rig.Form.Start_Profile_Click();
    EXPECT_FALSE(rig.Form.Run().Control_Interval().Enabled);
    // The check's words are the editor's (pinned there); the run says them and refuses.
    EXPECT_TRUE(rig.Form.User_Message_Box.starts_with("Segment 2 does not start when segment 1"));
    EXPECT_TRUE(rig.Said("save the profile\r\nRun not started\r\n")) << rig.Form.User_Message_Box;
    EXPECT_EQ(rig.Beeper.Beeps, 1);
    EXPECT_EQ(rig.Set_Values_Sent(), std::vector<int>{70});  // the refusal's soft off

    rig.Open_Profile("hot.txt", {{"1", "0", "2", "r", "2150", "2350", "100.00", "", "", ""},
                                 {"2", "2.00", "2", "h", "2350", "2350", "0", "", "", ""},
                                 {"3", "4.00", "", "e", "2350", "", "", "", "", ""}});
    rig.Choose_Log("hot.txt");
    rig.Form.Start_Profile_Click();
    rig.Control_Ticks(3);
    EXPECT_EQ(rig.Set_Values_Sent(), (std::vector<int>{2150, 2250, 2250, 2250}));
    std::vector<std::string> events = Events_Of(rig.Record("hot.txt"));
    std::erase_if(events, [](const std::string& e) { return !e.starts_with("set value held"); });
    EXPECT_EQ(events, std::vector<std::string>{
                          "set value held: The profile asks for 2350 here, beyond the "
                          "controller's high set limit: the set value is held at 2250"});

    // The kiln is moved to another controller on another port: its limit goes with it.
    rig.Form.SoftOff_Click();
    rig.Model = sim::Controller_Model({0}, Kiln_Settings());
    rig.Line.Existing_Ports.insert(2);
    rig.Serial.Switch_Port(2);
    rig.Set_Values_Sent();
    rig.Form.mnuReset_Logfile_Click();
    rig.Form.Start_Profile_Click();
    rig.Control_Ticks(1, 150);
    EXPECT_EQ(rig.Set_Values_Sent(), (std::vector<int>{2150, 2300})) << "the thermocouple's top";
}

// A firing of 70 to 1070 degrees in 20 minutes, started at 09:00:30 and recorded under `log`.
void Start_Long_Firing(Main_Window_Rig& rig, const std::string& log) {
    rig.Keep_Record();
    rig.Form.Form_Load();
    rig.Open_Profile("long.txt", {{"1", "0", "20", "r", "70", "1070", "", "", "", ""},
                                  {"2", "20.00", "", "e", "1070", "", "", "", "", ""}});
    rig.Choose_Log(log);
    rig.Form.Start_Profile_Click();
}

const std::string Lost_Text =
    "The controller does not answer: the program keeps trying to reach it, at least every 30 "
    "seconds";

// The adapter pulled mid-firing and plugged back two minutes later; then pulled again
// and the port chosen anew by the operator, which ends the reconnecting.
TEST(Link_Run, APortThatWentAwayIsOpenedAgainAndTheFiringGoesOnAtItsTime) {
    Main_Window_Rig rig;
    Start_Long_Firing(rig, "link.txt");
    int told = 0;
    auto tick = [&](int seconds) {
        rig.Control_Ticks(1, seconds);
        if (rig.Said(Lost_Text)) ++told;
    };
    tick(30);

    rig.Line.Existing_Ports.clear();  // pulled: the port closes under the program
    rig.Line.Set_Port_Open(false);
    for (int i = 0; i < 40; ++i) tick(3);
    EXPECT_TRUE(rig.Said("Comm port not open")) << rig.Form.User_Message_Box;
    EXPECT_EQ(rig.Form.Run().Safety().Active_Alarms(), std::vector<std::string>{"Controller lost"});
    EXPECT_TRUE(rig.Form.Run().Control_Interval().Enabled);
    EXPECT_TRUE(rig.Form.Run().Link_Retry_Interval().Enabled);
    rig.Line.Existing_Ports = {1};  // plugged back
    rig.Clock.Advance(30);          // the longest wait between tries
    rig.Form.Link_Retry_Timer();    // the port opened, its tick at once
    EXPECT_TRUE(rig.Line.Port_Open());
    EXPECT_FALSE(rig.Form.Run().Link_Retry_Interval().Enabled);
    EXPECT_TRUE(rig.Said("Controller answering again; no answer for 2 min 27 s"))
        << rig.Form.User_Message_Box;
    EXPECT_TRUE(rig.Said("Alarm cleared: Controller lost")) << rig.Form.User_Message_Box;
    EXPECT_EQ(told, 1);
    // 09:00:30 to 09:03:30: three minutes, and the set value of the third.
    EXPECT_EQ(rig.Form.Elapsed_Time + " " + rig.Form.Profile_Temperature, "3.00 220");

    rig.Line.Existing_Ports.clear();
    rig.Line.Set_Port_Open(false);
    tick(3);
    EXPECT_EQ(told, 2);  // a new outage is told again
    rig.Line.Existing_Ports = {1};
    rig.Form.mnuComm_Click(1);  // the operator's port: no outage left to end
    tick(3);
    EXPECT_FALSE(rig.Said("Controller answering again")) << rig.Form.User_Message_Box;
    EXPECT_EQ(told, 2);

    std::vector<std::string> events = Events_Of(rig.Record("link.txt"));
    std::erase_if(events,
                  [](const std::string& e) { return e.starts_with("communication error"); });
    EXPECT_EQ(events,
              (std::vector<std::string>{"start", "alarm raised: Controller lost",
                                        "link restored: Controller answering again; no answer "
                                        "for 2 min 27 s",
                                        "alarm cleared: Controller lost"}));
}

// The computer's clock going back an hour in the night (summer time ending, or set by
// hand) and then forward two: the firing goes on minute by minute, its set values rise as
// the profile asks, and the record read back keeps its ticks in order.
TEST(Wall_Clock_Step, MovesNoSetValueAndTheRecordStaysInOrder) {
    Main_Window_Rig rig;
    Start_Long_Firing(rig, "step.txt");
    std::vector<std::string> seen;
    auto minute = [&] {
        rig.Control_Ticks(1);
        seen.push_back(rig.Form.Elapsed_Time + " " + rig.Form.Profile_Temperature);
    };
    minute();
    rig.Clock.Set(Date_Time_Of_Seconds(Seconds_Of(rig.Clock.Now()) - 3600));
    minute();
    rig.Clock.Set(Date_Time_Of_Seconds(Seconds_Of(rig.Clock.Now()) + 2 * 3600));
    minute();
    EXPECT_EQ(seen, (std::vector<std::string>{"1.00 120", "2.00 170", "3.00 220"}));
    const Firing_Record record = rig.Record("step.txt");
    const std::vector<double> times = Real_Elapsed_Times(record);
    ASSERT_GE(times.size(), 4u);
    for (std::size_t i = 1; i < times.size(); ++i) {
        EXPECT_LE(times[i - 1], times[i]) << i;
        EXPECT_NEAR(times[i], record.Lines[i].Elapsed, 1.0) << i;
    }
}

}  // namespace
}  // namespace corvanel::testing
