// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/profile_tool.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>

#include "support/case_name.h"
#include "support/temp_folder.h"
#include "support/worked_example.h"

namespace corvanel {
namespace {

struct Run_Result {
    int Status;
    std::string Out, Err;
};

// The tool run with the words of a command line (no word has a blank in it here).
Run_Result Run_Tool(const std::string& command_line, const std::string& input = "") {
    std::vector<std::string> args;
    std::istringstream words(command_line);
    for (std::string word; words >> word;) args.push_back(word);
    std::istringstream in(input);
    std::ostringstream out, err;
    int status = Run_Profile_Tool(args, in, out, err);
    return {status, out.str(), err.str()};
}

const std::string Header = "end_temp,duration,ramp_rate,error_limit,command\n";

// `count` segments, each holding the start temperature for a minute.
std::string Holds(int count) {
    std::string csv = Header;
    for (int i = 0; i < count; ++i) csv += "70,1,,,\n";
    return csv;
}

TEST(Profile_Tool, MakeCheckShowTheWorkedExampleAndRefuseAProfileTooHotForItsSensor) {
    Temp_Folder folder;
    std::string file = folder.File("example.txt");
    Run_Result made = Run_Tool("make --scale F --unit M " + file,  // K unless told otherwise
                               Header + "1000,60,,50,\n1000,30,,,\n");
    EXPECT_EQ(made.Status, 0) << made.Out << made.Err;
    EXPECT_EQ(made.Out, "PROFILE SAVED\n");
    EXPECT_TRUE(Read_Whole_File(file) == Worked_Example_Text() + "\r\n") << "file differs";

    Run_Result checked = Run_Tool("check " + file);
    EXPECT_EQ(checked.Status, 0);
    EXPECT_TRUE(checked.Out.starts_with(file + "\nProfile is valid\n"));
    EXPECT_TRUE(
        checked.Out.ends_with("\nNo Errors found in profile. You may now save and run it.\n"));

    Run_Result shown = Run_Tool("show " + file);
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
    made = Run_Tool("make --sensor T " + hot, Header + "1000,60,,,\n1000,30,,,\n");
    EXPECT_EQ(made.Status, 1);
    EXPECT_TRUE(made.Out.starts_with("Out of range temp entry at\nsegment=1\ncol=6\n"));
    EXPECT_TRUE(made.Out.ends_with("Profile Error - FILE NOT SAVED\n")) << made.Out;
    EXPECT_FALSE(std::filesystem::exists(hot));
    Run_Result result = Run_Tool("check " + file + " " + hot);
    EXPECT_EQ(result.Status, 1);
    EXPECT_NE(result.Out.find(hot + "\nFile found: Format not valid: \nProfile Syntax must be "
                                    "precise\nUse profile editor to create profiles\n"),
              std::string::npos)
        << result.Out;
}

struct Bad_Input {
    std::string Command_Line;  // OUT stands for a file in a fresh folder
    std::string Csv;
    std::string Message;
};

class Profile_Tool_Bad_Input : public ::testing::TestWithParam<Bad_Input> {};

TEST_P(Profile_Tool_Bad_Input, GivesOneClearLineAndExits2) {
    Temp_Folder folder;
    std::string command_line = GetParam().Command_Line;
    if (std::size_t at = command_line.find("OUT"); at != std::string::npos)
        command_line.replace(at, 3, folder.File("out.txt"));
    Run_Result result = Run_Tool(command_line, GetParam().Csv);
    EXPECT_EQ(result.Status, 2);
    EXPECT_EQ(result.Err, "corvanel-profile: " + GetParam().Message + "\n");
    EXPECT_FALSE(std::filesystem::exists(folder.File("out.txt")));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, Profile_Tool_Bad_Input,
    ::testing::Values(
        Bad_Input{"", "", "no command given (check, show, make or cone); see --help"},
        Bad_Input{"burn", "", "unknown command burn (check, show, make or cone)"},
        Bad_Input{"check", "", "check needs at least one FILE"},
        Bad_Input{"make --colour red OUT", "", "unknown option --colour for make"},
        Bad_Input{"make --sensor Q OUT", "", "unknown sensor Q (R S K J T E PtJIS PtDIN L U)"},
        Bad_Input{"make --unit", "", "option --unit needs a value"},
        Bad_Input{"make", Header, "make needs the OUT file to write"},
        Bad_Input{"make OUT", "", "no CSV header: expected " + Header.substr(0, Header.size() - 1)},
        Bad_Input{"make OUT", Header + "1000,60,,,\n500,x,,,\n",
                  "line 3: duration \"x\" is not a number the editor takes"},
        Bad_Input{"make OUT", Header + "1000,60,,\n", "line 2: expected 5 fields, found 4"},
        Bad_Input{"make OUT", Header + "1000,60,10,,\n",
                  "line 2: give either duration or ramp_rate, not both and not neither"},
        Bad_Input{"make OUT", Header + "\n1000,60,,,stop\n",
                  "line 3: command \"stop\" is not known (only wait)"},
        Bad_Input{"make OUT", Header + "70,,5,,\n",
                  "line 2: a hold (end_temp equal to its start) needs a duration"},
        Bad_Input{"make OUT", Holds(255),
                  "more than 254 segments: a profile holds 254 and its end row"},
        Bad_Input{"cone 11 OUT", "", "Not a cone of the chart (022 to 01, 1 to 10): 11"},
        Bad_Input{"cone 6 --speed warp OUT", "", "--speed takes slow, medium or fast, not warp"},
        Bad_Input{"cone 6 --cool 150 OUT", "",
                  "--cool takes RATE:TEMP, for example 150:1500, not 150"},
        Bad_Input{"cone 10 OUT", "",
                  "The cone temperature is above the sensor's limit: 2381 > 2300 (K)"}),
    [](const auto& info) { return Case_Name_Of(info.param.Message); });

TEST(Profile_Tool, ConeWritesTheFileThatTypingItsRowsWrites) {
    Temp_Folder folder;
    std::string cone = folder.File("cone.txt"), typed = folder.File("typed.txt");
    Run_Result made = Run_Tool(
        "cone 04 --speed slow --scale C --sensor R --preheat 2 --hold 10 "
        "--cool 100:600 --error-limit 40 " +
        cone);
    ASSERT_EQ(made.Status, 0) << made.Out << made.Err;
    EXPECT_EQ(made.Out, "PROFILE SAVED\n");
    // 04 slow in C: 1063 C at 60 C/h, 953 at 83.33 C/h (150 F/h) first, preheat at 82 C.
    Run_Result by_hand = Run_Tool(
        "make --sensor R --scale C --unit H --start-temp 21 " + typed,
        Header +
            "# 04 slow\n82,,83.33,40,\n82,2,,40,\n953,,83.33,40,\n1063,,60,40,\n1063,0.17,,40,\n" +
            "600,,-100,40,\n");
    ASSERT_EQ(by_hand.Status, 0) << by_hand.Out << by_hand.Err;
    EXPECT_TRUE(Read_Whole_File(cone) == Read_Whole_File(typed)) << "the files differ";

    // The chart it works from, in columns a potter can read against a printed one.
    Run_Result list = Run_Tool("cone --list");
    EXPECT_EQ(list.Out.substr(0, 80),
              "cone  60 C/h  150 C/h  108 F/h  270 F/h\n"
              " 022     586      590     1087     1094\n");
}

}  // namespace
}  // namespace corvanel
