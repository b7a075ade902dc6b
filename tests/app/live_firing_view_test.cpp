#include "run/live_firing_view.h"
#include "main_window_rig.h"
#include "run/firing_record.h"
#include "run/firing_record_writer.h"
#include "run/log_file.h"

namespace corvanel::testing {
namespace {

// A platinum firing in hours, cut short by a power failure and recalled at the restart:
// the view draws its history from the log in degrees (the log keeps tenths), the record
// goes on with a restart line and no second header, and another profile empties the view.
TEST(Live_Firing_View, ARecalledFiringIsRedrawnFromItsLogAndContinuesItsRecord) {
    sim::Unit_Settings platinum = Kiln_Settings(6, false);  // PtJIS
    platinum.Start_Temperature = 19.5;
    Main_Window_Rig first;
    first.Model = sim::Controller_Model({0}, platinum);
    Firing_Record_Writer writer(first.Paths, "Corvanel");
    first.Form.Firing.Attach(writer);
    first.Form.Form_Load();
    first.Write_Profile("pt.txt",
                        {{"1", "0", "60", "r", "20", "200", "3.00", "", "", ""},
                         {"2", "60.00", "", "e", "200", "", "", "", "", ""}},
                        "PtJIS", false, false);
    first.Open_Profile("pt.txt");
    first.Choose_Log("pt_run.txt");
    first.Form.mnuRecallSetup_Click();
    first.Form.Save_Setup();
    first.Form.Start_Profile_Click();
    first.Clock.Advance(90 * 60);
    first.Form.Control_Interval_Timer();
    first.Form.Firing.Detach(writer);  // the power goes
    const std::string log = first.Paths.Logfile("pt_run.txt");
    ASSERT_TRUE(Append_Log_Record(log, "2.0"));  // a torn last record

    Main_Window_Rig again;
    again.Model = sim::Controller_Model({0}, platinum);
    std::filesystem::copy(first.Folder.Path(), again.Folder.Path(),
                          std::filesystem::copy_options::recursive |
                              std::filesystem::copy_options::overwrite_existing);
    Live_Firing_View view{again.Paths};
    Firing_Record_Writer after_restart(again.Paths, "Corvanel");
    again.Form.Firing.Attach(view);
    again.Form.Firing.Attach(after_restart);
    again.Form.Form_Load();
    // Profile and log are taken without a dialog; the time is the last whole record's, and
    // the run is never restarted by itself.
    EXPECT_EQ(again.Form.Profile_Name + " " + again.Form.LogFile + " " + again.Form.Elapsed_Time,
              "pt.txt pt_run.txt 1.5");
    EXPECT_TRUE(again.Profile_Dialog.Open_Requests.empty() &&
                again.Log_Dialog.Open_Requests.empty());
    EXPECT_FALSE(again.Form.Control_Interval.Enabled);
    EXPECT_EQ(view.Set_Value(), (Trace_Points{{0, 20}, {1.5, 24.5}}));
    EXPECT_EQ(view.Measured(), (Trace_Points{{0, 19.5}, {1.5, 19.5}}));
    EXPECT_EQ(view.Time_Axis_Title() + "|" + view.Temperature_Axis_Title(),
              "Time (hours)|Temperature (°C)");
    again.Form.Start_Profile_Click();
    again.Form.Firing.Detach(after_restart);
    std::string text = Read_Whole_File(again.Paths.Logfile("pt_run.firing.csv"));
    std::vector<std::string> events;
    for (const auto& line : Parse_Firing_Record(text).Lines) events.push_back(line.Event);
    EXPECT_EQ(events, (std::vector<std::string>{"start", "", "", "program started with recall",
                                                "start", ""}));
    EXPECT_EQ(text.find("# program:"), text.rfind("# program:"));

    again.Open_Short_Profile();
    EXPECT_TRUE(view.Measured().empty());
    again.Form.Firing.Detach(view);
}

// The Process Temp read-out turns red beyond the segment's limit, on either side; and the
// time left in hours and minutes, with the finish's date once it is not today.
TEST(Live_Firing_View, ComparesTheDifferenceWithTheLimitAndShowsTheFinishesDate) {
    Temp_Folder folder;
    Live_Firing_View view{Program_Paths(folder.Path())};
    const struct {
        const char* Name;
        double Measured, Error_Limit;
        Firing_State State;
        bool Off;
    } cases[] = {{"too cold", 949, 50, Firing_State::Running, true},
                 {"too hot", 1051, 50, Firing_State::Running, true},
                 {"on the limit", 950, 50, Firing_State::Running, false},
                 {"no limit", 20, 0, Firing_State::Running, false},
                 {"no run", 20, 50, Firing_State::Monitor, false}};
    Firing_Status status;
    status.Set_Value = 1000;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Name);
        status.State = c.State;
        status.Measured = c.Measured;
        status.Error_Limit = c.Error_Limit;
        view.Firing_Changed(status, Firing_Event::Tick, "");
        EXPECT_EQ(view.Off_Profile(), c.Off);
    }
    status.State = Firing_State::Running;
    status.Time_Unit = "H";
    status.Total_Time = 10;
    status.Elapsed = 4 + 40 / 60.0;
    status.Clock = {2026, 12, 31, 20, 15, 0};
    view.Firing_Changed(status, Firing_Event::Tick, "");
    EXPECT_EQ(view.Time_Left() + " | " + view.Finishes_At(), "5 h 20 min | 2027-01-01 01:35");
    EXPECT_EQ(Hours_And_Minutes_Text(60), "1 h 0 min");
    // Twenty ticks a minute share an elapsed time: the chart draws the first and the last.
    EXPECT_EQ(Drawn_Points({{0, 70}, {0, 71}, {0, 73}, {0, 72}, {1, 80}, {2, 90}, {2, 91}}),
              (Trace_Points{{0, 70}, {0, 72}, {1, 80}, {2, 90}, {2, 91}}));
}

}  // namespace
}  // namespace corvanel::testing
