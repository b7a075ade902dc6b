#include "run/firing_record.h"
#include "main_window_rig.h"
#include "run/firing_record_writer.h"
#include "run/firing_summary.h"
#include "run/log_file.h"

namespace corvanel::testing {
namespace {

// A whole firing of a 2-minute ramp and a 1-minute hold against the simulated
// controller, with a suspend and an edited time on the way: the record has one line for
// every log record, in the same order with the same values, and the run's events between.
TEST(Firing_Record, AWholeFiringLeavesOneLinePerTickAndEventBesideTheLog) {
    Main_Window_Rig rig;
    Firing_Record_Writer writer(rig.Paths, "Corvanel 9.9.9");
    rig.Form.Firing.Attach(writer);
    rig.Setup_File("ThermalDeviceName.txt", "Big Kiln");
    rig.Form.Form_Load();
    rig.Write_Short_Profile();
    rig.Open_Profile("short.txt");
    rig.Log_Dialog.Answers.push_back(File_Dialog_Result::Chosen("/x/short_04_03_2027.txt"));
    rig.Form.mnuSpecifyLogFile_Click();
    auto tick = [&] {
        rig.Clock.Advance(3);
        rig.Model.Advance(3);
        rig.Form.Control_Interval_Timer();
    };
    rig.Form.Start_Profile_Click();
    for (int i = 0; i < 5; ++i) tick();
    rig.Form.Start_Profile_Click();  // suspend
    rig.Form.Elapsed_Time_GotFocus();
    for (char key : std::string("\b1.5\r")) rig.Form.Type_Elapsed_Key(key);
    rig.Form.Start_Profile_Click();  // resume
    for (int i = 0; i < 200 && rig.Form.Control_Interval.Enabled; ++i) tick();
    ASSERT_FALSE(rig.Form.Control_Interval.Enabled);

    const std::string path = rig.Paths.Logfile("short_04_03_2027.firing.csv");
    Firing_Record record = Parse_Firing_Record(Read_Whole_File(path));
    EXPECT_TRUE(record.Problems.empty());
    EXPECT_EQ(record.Header.Program, "Corvanel 9.9.9");
    EXPECT_EQ(record.Header.Kiln_Name, "Big Kiln");
    EXPECT_EQ(record.Header.Profile_Name, "short.txt");
    std::string checksum = Profile_Checksum(Read_Profile_File(rig.Paths.Profile_File("short.txt")));
    EXPECT_EQ(record.Header.Profile_Checksum, checksum.substr(checksum.find_first_not_of(' ')));
    EXPECT_EQ(record.Header.Started, "2026-12-05T09:00:30+00:00");
    EXPECT_EQ(record.Header.Plan.size(), 4u);

    std::string log = Read_Whole_File(rig.Paths.Logfile("short_04_03_2027.txt"));
    std::vector<std::string> events;
    std::size_t ticks = 0;
    for (const Firing_Record_Line& line : record.Lines) {
        if (!line.Is_Tick()) {
            events.push_back(line.Event + (line.Detail.empty() ? "" : " " + line.Detail));
            continue;
        }
        ASSERT_LT(ticks * Log_Record_Length, log.size());
        std::string logged = log.substr(ticks++ * Log_Record_Length, Log_Record_Length);
        EXPECT_EQ(logged, Log_Record(Format_00(line.Elapsed), static_cast<int16_t>(line.Set_Value),
                                     static_cast<int16_t>(line.Measured)))
            << "tick " << ticks;
    }
    EXPECT_EQ(ticks * Log_Record_Length, log.size());
    EXPECT_EQ(events, (std::vector<std::string>{"start", "suspend", "elapsed edited 0.00 -> 1.50",
                                                "resume", "profile finished", "soft off"}));
    EXPECT_TRUE(record.Lines.back().Is_Tick());  // the tick that ended the run
    EXPECT_EQ(Summarise(record, {}).Outcome, Firing_Outcome::Finished);
    rig.Form.Firing.Detach(writer);
}

// The program started again with recall continues the same record: the restart is an
// event line and no second header is written.
TEST(Firing_Record, ARecalledFiringContinuesItsRecord) {
    Main_Window_Rig first;
    Firing_Record_Writer writer(first.Paths, "Corvanel");
    first.Form.Firing.Attach(writer);
    first.Form.Form_Load();
    first.Write_Profile("short.txt", {{"1", "0", "10", "r", "70", "250", "18.00", "", "", ""},
                                      {"2", "10.00", "", "e", "250", "", "", "", "", ""}});
    first.Open_Profile("short.txt");
    first.Log_Dialog.Answers.push_back(File_Dialog_Result::Chosen("/x/long.txt"));
    first.Form.mnuSpecifyLogFile_Click();
    first.Form.mnuRecallSetup_Click();
    first.Form.Save_Setup();
    first.Form.Start_Profile_Click();
    first.Form.Firing.Detach(writer);  // the power goes

    Main_Window_Rig again;
    std::filesystem::copy(first.Folder.Path(), again.Folder.Path(),
                          std::filesystem::copy_options::recursive |
                              std::filesystem::copy_options::overwrite_existing);
    Firing_Record_Writer after_restart(again.Paths, "Corvanel");
    again.Form.Firing.Attach(after_restart);
    again.Form.Form_Load();
    again.Form.Start_Profile_Click();
    again.Form.Firing.Detach(after_restart);
    std::string text = Read_Whole_File(again.Paths.Logfile("long.firing.csv"));
    Firing_Record record = Parse_Firing_Record(text);
    std::vector<std::string> events;
    for (const auto& line : record.Lines) events.push_back(line.Event);
    EXPECT_EQ(events,
              (std::vector<std::string>{"start", "", "program started with recall", "start", ""}));
    EXPECT_EQ(text.find("# program:"), text.rfind("# program:"));
}

}  // namespace
}  // namespace corvanel::testing
