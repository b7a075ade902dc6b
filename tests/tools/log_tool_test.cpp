// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/log_tool.h"

#include <gtest/gtest.h>

#include <sstream>

#include "run/log_file.h"
#include "setup/setup_files.h"
#include "support/case_name.h"
#include "support/temp_folder.h"
#include "support/worked_example.h"

namespace corvanel {
namespace {

const std::string Golden = std::string(CORVANEL_TEST_DATA) + "/tools/golden/";
// A firing record with a damaged line in the middle and a torn last line.
const std::string Glaze = Golden + "glaze.firing.csv";

struct Tool_Run {
    int Status;
    std::string Out, Err;
};

// The tool over a program folder of its own with a 10 kW kiln at 0.30 a kWh.
struct Log_Tool : ::testing::Test {
    Temp_Folder Program;
    Chart_File_Writer Writer;
    void SetUp() override {
        Write_Text_File(Program.File("Setup/KilnPower.txt"), "10");
        Write_Text_File(Program.File("Setup/EnergyPrice.txt"), "0.30");
    }
    Tool_Run Run(const std::vector<std::string>& args) {
        std::ostringstream out, err;
        int status = Run_Log_Tool(args, Program.Path().string(), Writer, out, err);
        return {status, out.str(), err.str()};
    }
};

// The damaged lines are named on standard error, and every output leaves them out.
TEST_F(Log_Tool, ShowAndExportMatchTheirGoldenFiles) {
    const std::string skipped = "corvanel-log: " + Glaze +
                                ": line 22 skipped: has 1 fields, not 8\ncorvanel-log: " + Glaze +
                                ": line 26 skipped: is torn (no line end)\n";
    for (auto [args, golden] : std::vector<std::pair<std::vector<std::string>, std::string>>{
             {{"show", Glaze}, "show.txt"},
             {{"export", Glaze, "--format", "csv"}, "export.csv"},
             {{"export", "--format", "json", Glaze}, "export.json"}}) {
        Tool_Run run = Run(args);
        EXPECT_EQ(run.Status, 0) << golden;
        EXPECT_EQ(run.Err, skipped) << golden;
        if (std::size_t at = run.Out.find(Golden); at != std::string::npos)
            run.Out.replace(at, Golden.size(), "GOLDEN/");
        EXPECT_EQ(run.Out, Read_Whole_File(Golden + golden)) << golden;
    }
}

// Which records are listed and in what order is pinned with the firing list itself.
TEST_F(Log_Tool, ListShowsTheFolderAsATable) {
    Write_Whole_File(Program.File("Logfiles/glaze.firing.csv"), Read_Whole_File(Glaze));
    Tool_Run run = Run({"list"});
    EXPECT_EQ(run.Status, 0) << run.Err;
    EXPECT_EQ(run.Out,
              "Start             Profile    Kiln         Duration  Peak   Outcome   "
              "Energy (kWh)  Cost  Record\n"
              "2027-04-03 14:05  glaze.txt  Studio kiln  0:06      201 C  finished  "
              "0.63          0.19  glaze.firing.csv\n");
}

// A log from before the records came, read against its profile: the profile gives the
// scale, the units and the tick of a minutes profile, 3 seconds, that times each line.
TEST_F(Log_Tool, APlainLogIsReadAgainstItsProfile) {
    const std::string log = Program.File("old.txt"), profile = Program.File("example.txt");
    Write_Whole_File(profile, Worked_Example_Text() + "\r\n");
    Write_Whole_File(log, Log_Record("1.00", 85, 80) + Log_Record("2.00", 100, 96));
    Tool_Run run = Run({"export", log, "--format", "json", "--profile", profile});
    EXPECT_EQ(run.Status, 0) << run.Err;
    for (const char* field :
         {R"("scale":"F","time_unit":"M","tick_length_s":3,)", R"("peak":96,"near_peak_s":6,)"})
        EXPECT_NE(run.Out.find(field), std::string::npos) << field << " in " << run.Out;
}

struct Bad_Input_Case {
    std::vector<std::string> Args;
    std::string Message;
};

struct Log_Tool_Bad_Input : Log_Tool, ::testing::WithParamInterface<Bad_Input_Case> {};

// Bad input: one line naming the problem, exit status 2, nothing on standard output.
TEST_P(Log_Tool_Bad_Input, OneLineAndStatusTwo) {
    Tool_Run run = Run(GetParam().Args);
    EXPECT_EQ(run.Status, 2);
    EXPECT_EQ(run.Err, "corvanel-log: " + GetParam().Message + "\n");
    EXPECT_EQ(run.Out, "");
}

INSTANTIATE_TEST_SUITE_P(
    Arguments, Log_Tool_Bad_Input,
    ::testing::Values(
        Bad_Input_Case{{}, "no command given (list, show, export or plot); see --help"},
        Bad_Input_Case{{"print"}, "unknown command print (list, show, export or plot)"},
        Bad_Input_Case{{"show", "x", "--fast"}, "unknown option --fast for show"},
        Bad_Input_Case{{"show", "/no/such.firing.csv"}, "/no/such.firing.csv: cannot be read"},
        Bad_Input_Case{{"export", "a"}, "export needs --format csv or --format json"},
        Bad_Input_Case{{"export", Glaze, "--format", "xml"},
                       "--format must be csv or json, not xml"},
        Bad_Input_Case{{"plot", "a"}, "plot needs -o OUT.png, OUT.svg or OUT.pdf"},
        Bad_Input_Case{{"plot", "a", "-o", "x.svg"}, "plot needs a build with Qt"},
        Bad_Input_Case{{"show", "a", "--profile", "/no/profile.txt"},
                       "/no/profile.txt: not a readable profile"},
        Bad_Input_Case{{"list", "/no/such/folder"}, "/no/such/folder: not a folder"}),
    [](const auto& info) { return Case_Name_Of(info.param.Message); });

TEST_F(Log_Tool, PlotHandsTheOverlaidChartToTheWriter) {
    Firing_Chart drawn;
    std::string to;
    Writer = [&](const Firing_Chart& chart, const std::string& path) {
        drawn = chart;
        to = path;
        return std::string();
    };
    Tool_Run run = Run({"plot", Glaze, Glaze, "-o", "both.svg"});
    EXPECT_EQ(run.Status, 0) << run.Err;
    EXPECT_EQ(to, "both.svg");
    EXPECT_EQ(drawn.Series.size(), 6u);  // plan, set value, measured of each

    Writer = [](const Firing_Chart&, const std::string&) { return std::string("disk full"); };
    Tool_Run failed = Run({"plot", Glaze, "-o", "x.png"});
    EXPECT_EQ(failed.Status, 2);
    EXPECT_TRUE(failed.Err.ends_with("corvanel-log: x.png: disk full\n")) << failed.Err;
}

}  // namespace
}  // namespace corvanel
