// SPDX-License-Identifier: GPL-3.0-or-later
// The run on its model: refused starts, typed times, bad set values, read-outs, outages.

#include <cmath>

#include "run/firing_record_writer.h"
#include "support/main_window_rig.h"

namespace corvanel::testing {
namespace {

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

TEST(Elapsed_Time_Entry, TheElapsedTimeIsEditedOnlyWithinTheProfile) {
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
    EXPECT_FALSE(form.Control_Interval.Enabled);
    form.Type_Elapsed_Key(13);
    EXPECT_EQ(Format_Number(form.Engine().Elapsed()) + " " + Format_Number(form.Engine().Base()),
              "1.5 1.5");
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
    EXPECT_TRUE(rig.Said("Time change aborted, ready to run\r\n"));

    rig.Set_Values_Sent();
    form.Start_Profile_Click();  // continues at minute 1.5 of the ramp: 70 + 135
    EXPECT_EQ(rig.Set_Values_Sent(), std::vector<int>{205});
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

// A set value the profile cannot have (beyond a 16-bit value) is said with its tick step
// and the last good one stays in force; one beyond the controller's field goes out as
// the nearest it takes, and the operator is told.
TEST(Set_Value_Errors, AnImpossibleValueKeepsTheLastGoodOneAndOneBeyondTheFieldIsClamped) {
    Main_Window_Rig rig;
    rig.Form.Form_Load();
    rig.Write_Profile("damaged.txt", {{"1", "0", "2", "r", "70", "80000", "", "", "", ""},
                                      {"2", "2.00", "", "e", "80000", "", "", "", "", ""}});
    rig.Open_Profile("damaged.txt");
    rig.Set_Values_Sent();
    rig.Form.Start_Profile_Click();
    rig.Clock.Advance(60);
    rig.Form.Control_Interval_Timer();
    EXPECT_TRUE(rig.Said("Control Timer Loop Error\r\nDesired Temp Calc\r\nError Number= 6\r\n"));
    EXPECT_EQ(rig.Set_Values_Sent(), (std::vector<int>{70, 70}));

    rig.Model = sim::Controller_Model({0}, Kiln_Settings(6));  // a platinum sensor
    rig.Write_Profile("platinum.txt",
                      {{"1", "0", "5", "h", "1200", "1200", "", "", "", ""},
                       {"2", "5.00", "", "e", "1200", "", "", "", "", ""}},
                      "PtJIS");
    rig.Open_Profile("platinum.txt");
    rig.Form.SoftOff_Click();
    rig.Form.Clear();
    rig.Form.Start_Profile_Click();  // 1200.0 degrees is 12000 tenths
    EXPECT_EQ(rig.Set_Values_Sent(), (std::vector<int>{70, 9999}));
    EXPECT_TRUE(rig.Said("sent instead: 12000 => 9999\r\n")) << rig.Form.User_Message_Box;
    EXPECT_EQ(rig.Form.Profile_Temperature, "1200");  // tenths shown as degrees
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

// The run window's numbers say what they are: a Celsius profile on a Fahrenheit
// controller, and a time carried into a profile counted in the other unit.
TEST(Run_Readouts, OtherScaleShownInTheProfilesAndOtherTimeUnitConverted) {
    Main_Window_Rig rig;  // the simulated controller reads in Fahrenheit, as short.txt is
    rig.Form.Form_Load();
    rig.Open_Short_Profile();
    EXPECT_EQ(rig.Form.Real_Temp_Display_1, std::to_string(rig.Protocol.Last_PV));
    rig.Form.Elapsed_Time_GotFocus();
    for (char key : std::string("\b1\r")) rig.Form.Type_Elapsed_Key(key);

    rig.Write_Profile("celsius_hours.txt",
                      {{"1", "0", "2", "r", "20", "120", "50", "", "", ""},
                       {"2", "2.00", "", "e", "120", "", "", "", "", ""}},
                      "K    ", false, false);
    rig.Open_Profile("celsius_hours.txt");
    EXPECT_NEAR(rig.Form.Engine().Elapsed(), 1.0 / 60, 1e-12);
    EXPECT_TRUE(
        rig.Said("The elapsed time was converted to this profile's time unit: "
                 "1.00 Minutes = 0.02 Hours"))
        << rig.Form.User_Message_Box;
    rig.Form.Monitor_Interval_Timer();
    const double celsius = (rig.Protocol.Last_PV - 32) * 5 / 9.0;
    EXPECT_EQ(rig.Form.Real_Temp_Display_1 + " " + rig.Form.SetPointReadOut,
              Format_Number(std::round(celsius)) + " SetTemp(C)");
    EXPECT_NEAR(rig.Form.Firing_Status_Now().Measured, celsius, 1e-9);
    const int set_value = std::atoi(rig.Panel.Set_Point.c_str());
    EXPECT_EQ(rig.Form.Profile_Temperature, Format_Number(std::round((set_value - 32) * 5 / 9.0)));

    rig.Open_Short_Profile();
    EXPECT_EQ(rig.Form.Elapsed_Time, "1.00");
}

const std::string Lost_Text =
    "The controller does not answer: the program keeps trying to reach it, at least every 30 "
    "seconds";

// The adapter pulled mid-firing and plugged back two minutes later; then pulled again
// and the port chosen anew by the operator, which ends the reconnecting.
TEST(Link_Run, APortThatWentAwayIsOpenedAgainAndTheFiringGoesOnAtItsTime) {
    Main_Window_Rig rig;
    Firing_Record_Writer writer(rig.Paths, "Corvanel");
    rig.Form.Firing.Attach(writer);
    rig.Form.Form_Load();
    rig.Write_Profile("long.txt", {{"1", "0", "20", "r", "70", "1070", "", "", "", ""},
                                   {"2", "20.00", "", "e", "1070", "", "", "", "", ""}});
    rig.Open_Profile("long.txt");
    rig.Choose_Log("link.txt");
    rig.Form.Start_Profile_Click();  // at 09:00:30
    int told = 0;
    auto tick = [&](int seconds) {
        rig.Clock.Advance(seconds);
        rig.Form.Control_Interval_Timer();
        if (rig.Said(Lost_Text)) ++told;
    };
    tick(30);

    rig.Line.Existing_Ports.clear();  // pulled: the port closes under the program
    rig.Line.Set_Port_Open(false);
    for (int i = 0; i < 40; ++i) tick(3);
    EXPECT_TRUE(rig.Said("Comm port not open")) << rig.Form.User_Message_Box;
    EXPECT_EQ(rig.Form.Supervisor.Active_Alarms(), std::vector<std::string>{"Controller lost"});
    EXPECT_TRUE(rig.Form.Control_Interval.Enabled);
    EXPECT_TRUE(rig.Form.Link_Retry_Interval.Enabled);
    rig.Line.Existing_Ports = {1};  // plugged back
    rig.Clock.Advance(30);          // the longest wait between tries
    rig.Form.Link_Retry_Timer();    // the port opened, its tick at once
    EXPECT_TRUE(rig.Line.Port_Open());
    EXPECT_FALSE(rig.Form.Link_Retry_Interval.Enabled);
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

    std::vector<std::string> events =
        Events_Of(Parse_Firing_Record(Read_Whole_File(rig.Paths.Logfile("link.firing.csv"))));
    std::erase_if(events,
                  [](const std::string& e) { return e.starts_with("communication error"); });
    EXPECT_EQ(events,
              (std::vector<std::string>{"start", "alarm raised: Controller lost",
                                        "link restored: Controller answering again; no answer "
                                        "for 2 min 27 s",
                                        "alarm cleared: Controller lost"}));
    rig.Form.Firing.Detach(writer);
}

}  // namespace
}  // namespace corvanel::testing
