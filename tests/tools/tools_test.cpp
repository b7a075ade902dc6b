// SPDX-License-Identifier: GPL-3.0-or-later
// The command-line tools: corvanel-profile makes, checks and shows profiles; corvanel-log
// reads firing records and plain logs.

#include "tools/log_tool.h"
#include "tools/profile_tool.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdlib>

#include <algorithm>
#include <filesystem>
#include <iterator>
#include <sstream>

#include "common/numeric.h"
#include "history/planted_kiln.h"
#include "history/synthetic_firing.h"
#include "profiles/profile_file.h"
#include "run/firing_record.h"
#include "run/log_file.h"
#include "setup/setup_files.h"
#include "support/temp_folder.h"
#include "support/worked_example.h"

namespace corvanel {
namespace {

using ::testing::EndsWith, ::testing::HasSubstr, ::testing::StartsWith;

struct Tool_Run {
    int Status;
    std::string Out, Err;
};

std::vector<std::string> Words(const std::string& line) {
    std::istringstream in(line);
    return {std::istream_iterator<std::string>(in), {}};
}

// The tool run with the words of a command line (no word has a blank in it here).
Tool_Run Run_Tool(const std::string& command_line, const std::string& input = "") {
    std::istringstream in(input);
    std::ostringstream out, err;
    int status = Run_Profile_Tool(Words(command_line), in, out, err);
    return {status, out.str(), err.str()};
}

const std::string Csv_Header = "end_temp,duration,ramp_rate,error_limit,command\n";

// `count` segments, each holding the start temperature for a minute.
std::string Holds(int count) {
    std::string csv = Csv_Header;
    for (int i = 0; i < count; ++i) csv += "70,1,,,\n";
    return csv;
}

TEST(Profile_Tool, MakeCheckShowTheWorkedExampleAndRefuseAProfileTooHotForItsSensor) {
    Temp_Folder folder;
    std::string file = folder.File("example.txt");
    Tool_Run made = Run_Tool("make --scale F --unit M " + file,  // K unless told otherwise
                             Csv_Header + "1000,60,,50,\n1000,30,,,\n");
    EXPECT_EQ(made.Status, 0) << made.Out << made.Err;
    EXPECT_EQ(made.Out, "PROFILE SAVED\n");
    EXPECT_TRUE(Read_Whole_File(file) == Worked_Example_Text() + "\r\n") << "file differs";

    Tool_Run checked = Run_Tool("check " + file);
    EXPECT_EQ(checked.Status, 0);
    EXPECT_THAT(checked.Out, StartsWith(file + "\nProfile is valid\n"));
    EXPECT_THAT(checked.Out,
                EndsWith("\nNo Errors found in profile. You may now save and run it.\n"));

    // Segment 2's start moved by hand and the checksum made again: refused, both rows named.
    Profile_Sheet moved = Parse_Profile_Text(Read_Whole_File(file));
    moved[2][Col_Start_Time] = "  65.00";
    const std::string moved_file = folder.File("moved.txt");
    Write_Whole_File(moved_file, Build_Profile_Text(moved, {"K    ", true, true}) + "\r\n");
    Tool_Run refused = Run_Tool("check " + moved_file);
    EXPECT_EQ(refused.Status, 1);
    // The check's words are the editor's (pinned there), a line each.
    EXPECT_THAT(refused.Out, HasSubstr("\nSegment 2 does not start when segment 1 ends: it "
                                       "starts at 65.00, segment 1 ends at 60.00\nType the "));
    EXPECT_THAT(refused.Out, HasSubstr("profile\nSegment 3 does not start when segment 2 ends"));

    Tool_Run shown = Run_Tool("show " + file);
    EXPECT_EQ(shown.Status, 0);
    EXPECT_EQ(shown.Out,
              "Sensor type: K\nTemperature scale: Fahrenheit\nTime unit: Minutes\n\n"
              "Seg  Start Time  Duration  Action  Start Temp  End Temp  Ramp Rate  Error Limits"
              "  Command  Notify= t,T\n"
              "  1           0        60       r          70      1000      15.50            50\n"
              "  2       60.00        30       h        1000      1000          0\n"
              "  3       90.00                 e        1000\n");

    // The most a profile holds: 254 segments and its end row.
    EXPECT_EQ(Run_Tool("make " + folder.File("longest.txt"), Holds(254)).Status, 0);

    // Too hot for a T thermocouple: not written, and check fails on any bad file.
    std::string hot = folder.File("hot.txt");
    made = Run_Tool("make --sensor T " + hot, Csv_Header + "1000,60,,,\n1000,30,,,\n");
    EXPECT_EQ(made.Status, 1);
    EXPECT_THAT(made.Out, StartsWith("Out of range temp entry at\nsegment=1\ncol=6\n"));
    EXPECT_THAT(made.Out, EndsWith("Profile Error - FILE NOT SAVED\n"));
    EXPECT_FALSE(std::filesystem::exists(hot));
    Tool_Run result = Run_Tool("check " + file + " " + hot);
    EXPECT_EQ(result.Status, 1);
    EXPECT_THAT(result.Out,
                HasSubstr(hot + "\nFile found: Format not valid: \nProfile Syntax must be "
                                "precise\nUse profile editor to create profiles\n"));
}

TEST(Profile_Tool, ConeWritesTheFileThatTypingItsRowsWrites) {
    Temp_Folder folder;
    std::string cone = folder.File("cone.txt"), typed = folder.File("typed.txt");
    Tool_Run made = Run_Tool(
        "cone 04 --speed slow --scale C --sensor R --preheat 2 --hold 10 "
        "--cool 100:600 --error-limit 40 " +
        cone);
    ASSERT_EQ(made.Status, 0) << made.Out << made.Err;
    EXPECT_EQ(made.Out, "PROFILE SAVED\n");
    // 04 slow in C: 1063 C at 60 C/h, 953 at 83.33 C/h (150 F/h) first, preheat at 82 C.
    Tool_Run by_hand = Run_Tool(
        "make --sensor R --scale C --unit H --start-temp 21 " + typed,
        Csv_Header +
            "# 04 slow\n82,,83.33,40,\n82,2,,40,\n953,,83.33,40,\n1063,,60,40,\n1063,0.17,,40,\n" +
            "600,,-100,40,\n");
    ASSERT_EQ(by_hand.Status, 0) << by_hand.Out << by_hand.Err;
    EXPECT_TRUE(Read_Whole_File(cone) == Read_Whole_File(typed)) << "the files differ";
    // The cone it ends on by heat-work goes beside it, never into it; saved again with
    // --fixed-peak it fires to its own peak.
    EXPECT_EQ(Read_Whole_File(cone + ".heat-work"), "end on heat-work: cone 04\r\n");
    EXPECT_FALSE(std::filesystem::exists(typed + ".heat-work"));
    ASSERT_EQ(Run_Tool("cone 04 --fixed-peak " + cone).Status, 0);
    EXPECT_FALSE(std::filesystem::exists(cone + ".heat-work"));

    // The chart it works from, in columns a potter can read against a printed one.
    Tool_Run list = Run_Tool("cone --list");
    EXPECT_EQ(list.Out.substr(0, 80),
              "cone  60 C/h  150 C/h  108 F/h  270 F/h\n"
              " 022     586      590     1087     1094\n");
}

const std::string Golden = std::string(CORVANEL_TEST_DATA) + "/tools/golden/";
// A firing record with a damaged line in the middle and a torn last line.
const std::string Glaze = Golden + "glaze.firing.csv";

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
        // After a deliberate change of the outputs: CORVANEL_UPDATE_GOLDEN=1 rewrites them.
        if (std::getenv("CORVANEL_UPDATE_GOLDEN")) Write_Whole_File(Golden + golden, run.Out);
        EXPECT_EQ(run.Out, Read_Whole_File(Golden + golden)) << golden;
    }
}

// Which records are listed and in what order is pinned with the firing list itself.
TEST_F(Log_Tool, ListShowsTheFolderAsATable) {
    Write_Whole_File(Program.File("Logfiles/glaze.firing.csv"), Read_Whole_File(Glaze));
    Tool_Run run = Run({"list"});
    EXPECT_EQ(run.Status, 0) << run.Err;
    EXPECT_EQ(
        run.Out,
        "Start              Profile    Kiln         Duration  Peak    Outcome   Cone            "
        "Energy (kWh)  Cost  Record\n"
        "3 Apr 2027, 14:05  glaze.txt  Studio kiln  6 min     201 °C  finished  below cone 022  "
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
        EXPECT_THAT(run.Out, HasSubstr(field));
}

// Bad input to either tool: one clear line naming the problem, exit status 2, nothing on
// standard output and no file written.
TEST_F(Log_Tool, BadInputToEitherToolGivesOneLineAndStatusTwo) {
    const struct {
        const char* Tool;          // corvanel-profile or corvanel-log
        std::string Command_Line;  // OUT stands for a file in a fresh folder
        std::string Csv, Message;
    } cases[] = {
        {"profile", "", "", "no command given (check, show, make or cone); see --help"},
        {"profile", "burn", "", "unknown command burn (check, show, make or cone)"},
        {"profile", "check", "", "check needs at least one FILE"},
        {"profile", "make --colour red OUT", "", "unknown option --colour for make"},
        {"profile", "make --sensor Q OUT", "", "unknown sensor Q (R S K J T E PtJIS PtDIN L U)"},
        {"profile", "make --unit", "", "option --unit needs a value"},
        {"profile", "make", Csv_Header, "make needs the OUT file to write"},
        {"profile", "make OUT", "",
         "no CSV header: expected " + Csv_Header.substr(0, Csv_Header.size() - 1)},
        {"profile", "make OUT", Csv_Header + "1000,60,,,\n500,x,,,\n",
         "line 3: duration \"x\" is not a number the editor takes"},
        {"profile", "make OUT", Csv_Header + "1000,60,,\n", "line 2: expected 5 fields, found 4"},
        {"profile", "make OUT", Csv_Header + "1000,60,10,,\n",
         "line 2: give either duration or ramp_rate, not both and not neither"},
        {"profile", "make OUT", Csv_Header + "\n1000,60,,,stop\n",
         "line 3: command \"stop\" is not known (only wait)"},
        {"profile", "make OUT", Csv_Header + "70,,5,,\n",
         "line 2: a hold (end_temp equal to its start) needs a duration"},
        {"profile", "make OUT", Holds(255),
         "more than 254 segments: a profile holds 254 and its end row"},
        {"profile", "cone 11 OUT", "", "Not a cone of the chart (022 to 01, 1 to 10): 11"},
        {"profile", "cone 6 --speed warp OUT", "", "--speed takes slow, medium or fast, not warp"},
        {"profile", "cone 6 --cool 150 OUT", "",
         "--cool takes RATE:TEMP, for example 150:1500, not 150"},
        {"profile", "cone 10 OUT", "",
         "The cone temperature is above the sensor's limit: 2381 > 2300 (K)"},
        {"log", "", "",
         "no command given (list, show, export, plot, health or forecast); see --help"},
        {"log", "print", "",
         "unknown command print (list, show, export, plot, health or forecast)"},
        {"log", "show x --fast", "", "unknown option --fast for show"},
        {"log", "show /no/such.firing.csv", "", "/no/such.firing.csv: cannot be read"},
        {"log", "export a", "", "export needs --format csv or --format json"},
        {"log", "export " + Glaze + " --format xml", "", "--format must be csv or json, not xml"},
        {"log", "plot a", "", "plot needs -o OUT.png, OUT.svg or OUT.pdf"},
        {"log", "plot a -o x.svg", "", "plot needs a build with Qt"},
        {"log", "show a --profile /no/profile.txt", "", "/no/profile.txt: not a readable profile"},
        {"log", "list /no/such/folder", "", "/no/such/folder: not a folder"},
        {"log", "health /no/such/place", "", "/no/such/place: not a folder"},
        {"log", "health --format json", "", "--format must be text or csv, not json"},
        {"log", "health --scale K", "", "--scale must be F or C, not K"},
        {"log", "health --profile x", "", "unknown option --profile for health"},
        {"log", "forecast", "", "forecast needs a PROFILE and at most one FOLDER"},
        {"log", "forecast " + Glaze, "", Glaze + ": not a readable profile"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Message);
        Temp_Folder folder;
        std::string command_line = c.Command_Line;
        if (std::size_t at = command_line.find("OUT"); at != std::string::npos)
            command_line.replace(at, 3, folder.File("out.txt"));
        const bool log = c.Tool == std::string("log");
        const Tool_Run run = log ? Run(Words(command_line)) : Run_Tool(command_line, c.Csv);
        EXPECT_EQ(run.Status, 2);
        EXPECT_EQ(run.Err, "corvanel-" + std::string(c.Tool) + ": " + c.Message + "\n");
        EXPECT_EQ(run.Out, "");
        EXPECT_FALSE(std::filesystem::exists(folder.File("out.txt")));
    }
}

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
    EXPECT_THAT(failed.Err, EndsWith("corvanel-log: x.png: disk full\n"));
}

std::vector<std::string> Split(const std::string& text, char by) {
    std::vector<std::string> parts;
    std::istringstream in(text);
    for (std::string part; std::getline(in, part, by);) parts.push_back(part);
    return parts;
}

// A bisque, three glaze firings, then three with the top band 25% slower; the last is kept
// in Celsius. New elements were marked before them all. The figures of each are the kiln
// health's own test; here is how the tool lays them out.
TEST_F(Log_Tool, HealthIsATableTheEventsAndTheReadingOrInCsvOneLineAFiringOfNumbers) {
    const std::string folder = Program.File("Logfiles");
    Write_Synthetic_Firings(folder, {1, 2, 3, 4, 5, 6, 7}, [](Synthetic_Firing& firing, int day) {
        if (day == 1) firing.Peak = 1200;
        firing.Rates.back().second = day < 5 ? 300 : 225;
        if (day == 7) firing = firing.Celsius();
    });
    Write_Whole_File(folder + "/kiln_events.csv", "2027-01-01,elements replaced,new set\r\n");
    Tool_Run run = Run({"health", "--scale", "F"});
    EXPECT_EQ(run.Status, 0) << run.Err;
    std::vector<std::string> lines = Split(run.Out, '\n');
    ASSERT_EQ(lines.size(), 13u) << run.Out;  // the climb's reading too
    EXPECT_EQ(lines[0],
              "Start             Profile    600-1000 F/h  1000-1500 F/h  1500-2000 F/h  Full power "
              "(%)  Ramp lag (F)  Last climb (min)  Energy (kWh)  Cost   Outcome");
    std::vector<std::string> bisque = Words(lines[1]), glaze = Words(lines[2]);
    ASSERT_EQ(glaze.size(), 12u) << lines[2];
    EXPECT_EQ(glaze[0] + " " + glaze[1] + " " + glaze[2], "2027-01-02 08:00 glaze.txt");
    // 600, 480, 300 F/h; 551 of 611 ticks at full power; the set value 40 F ahead; the
    // last 200 F in 40 minutes; 581 ticks' worth of full power: 4.84 h of 10 kW at 0.30.
    const double expected[] = {600, 480, 300, 90, 40, 40, 48.4, 14.5};
    for (std::size_t i = 0; i < std::size(expected); ++i) {
        EXPECT_NEAR(std::stod(glaze[3 + i]), expected[i], expected[i] * 0.03) << i;
    }
    EXPECT_EQ(glaze[11], "finished");
    EXPECT_EQ(bisque[5], "-") << lines[1];  // the bisque never reached the top band

    EXPECT_EQ(lines[9], "2027-01-01  elements replaced  new set");
    EXPECT_THAT(lines[11],
                HasSubstr("slower between 1,500 °F and 2,000 °F than with the elements fitted "
                          "on 1 January 2027: plan to replace the elements"));

    // The thresholds are the program's settings.
    Write_Text_File(Program.File("Setup/KilnHealth.txt"), "Replace_Percent=40");
    run = Run({"health", "--scale", "F"});
    EXPECT_THAT(run.Out, HasSubstr("the elements are wearing; watch the next firings."));

    // CSV: numbers only, units in the header, in the latest firing's scale when none is asked.
    run = Run({"health", folder, "--format", "csv"});
    EXPECT_EQ(run.Status, 0) << run.Err;
    lines = Split(run.Out, '\n');
    ASSERT_EQ(lines.size(), 8u) << run.Out;
    EXPECT_EQ(lines[0],
              "start,profile,rate_315_540_C_per_h,rate_540_815_C_per_h,rate_815_1095_C_per_h,"
              "full_power_percent,ramp_lag_C,last_climb_minutes,energy_kWh,cost,outcome");
    bisque = Split(lines[1], ',');
    ASSERT_EQ(bisque.size(), 11u) << lines[1];
    EXPECT_EQ(bisque[4], "") << "the bisque's top band";
    const std::vector<std::string> latest = Split(lines[7], ',');
    ASSERT_EQ(latest.size(), 11u) << lines[7];
    for (std::size_t f = 2; f < 10; ++f)
        EXPECT_TRUE(!latest[f].empty() && Convert_To_Double(latest[f]).Value) << latest[f];
    EXPECT_NEAR(std::stod(latest[2]), 600 * 5.0 / 9, 4);
    EXPECT_NEAR(std::stod(latest[4]), 225 * 5.0 / 9, 2);
    EXPECT_NEAR(std::stod(latest[6]), 40 * 5.0 / 9, 1);
    EXPECT_EQ(latest[10], "finished");
    EXPECT_THAT(Run({"health", folder, "--format", "csv", "--scale", "F"}).Out,
                HasSubstr("rate_600_1000_F_per_h"));
}

// The worked example asks 930 F/h from 70 F, more than the planted kiln's 640 F/h: without
// records the plan's times, said so; with three firings of the kiln (the climb at full
// output from the start), the curve to the likely end as a table or as CSV.
TEST_F(Log_Tool, ForecastPrintsTheLikelyFinishAndCurveOrThePlansTimesWithoutHistory) {
    const std::string profile = Program.File("example.txt"), folder = Program.File("Logfiles");
    Write_Whole_File(profile, Worked_Example_Text() + "\r\n");
    Tool_Run run = Run({"forecast", profile});
    EXPECT_EQ(run.Status, 0) << run.Err;
    EXPECT_THAT(run.Out,
                StartsWith("Forecast of example.txt from the firing records in " + folder +
                           "/\nNo firings of this kiln to learn from: the times are the "
                           "plan's.\nPlan ends after 1 h 30 min\nTop 1,000 °F reached "
                           "after 1 h 00 min\n\nElapsed     Temperature\n0 s         70 °F\n"));
    EXPECT_THAT(run.Out, EndsWith("\n1 h 00 min  1,000 °F\n1 h 30 min  1,000 °F\n"));

    const Planted_Kiln kiln;
    Write_Planted_Glazes(folder, kiln, Planted_Plan({{0, 70}, {150, 2250}, {330, 2250}}));
    // The kiln climbs at full output from 70 to 1,000 F.
    double hours = 0;
    for (double f = 70; f < 1000; f += 0.1) hours += 0.1 / kiln.Rate(f + 0.05);
    const double late_minutes = hours * 60 - 60;
    EXPECT_EQ(Run({"forecast", profile, "/no/such"}).Err, "corvanel-log: /no/such: not a folder\n");
    run = Run({"forecast", profile, folder});
    EXPECT_EQ(run.Status, 0) << run.Err;
    std::vector<std::string> lines = Split(run.Out, '\n');
    ASSERT_GE(lines.size(), 9u) << run.Out;
    EXPECT_EQ(lines[1], "Kiln model: 3 firings from 2027-01-04 to 2027-01-18");
    EXPECT_THAT(lines[2], StartsWith("  heating at full output: 63"));
    EXPECT_THAT(lines[4], StartsWith("  cooling with the power off: dT/dt = -0.28"));
    EXPECT_THAT(lines[5], StartsWith("Plan ends after 1 h 30 min; likely after "));
    EXPECT_THAT(lines[5], HasSubstr(" min late: the kiln is climbing "));

    run = Run({"forecast", "--csv", profile, folder});
    EXPECT_EQ(run.Status, 0) << run.Err;
    lines = Split(run.Out, '\n');
    ASSERT_GE(lines.size(), 10u) << run.Out;
    EXPECT_EQ(lines[0], "elapsed_min,temperature_F");
    EXPECT_EQ(lines[1], "0,70");
    const std::vector<std::string> last = Split(lines.back(), ',');
    ASSERT_EQ(last.size(), 2u);
    EXPECT_NEAR(std::stod(last[0]), 90 + late_minutes, 1.5) << "the likely end";
    EXPECT_NEAR(std::stod(last[1]), 1000, 3);
}

}  // namespace
}  // namespace corvanel
