#include "run/firing_record.h"
#include "main_window_rig.h"
#include "run/firing_record_writer.h"
#include "run/firing_summary.h"
#include "run/log_file.h"

namespace corvanel::testing {
namespace {

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
