// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/profile_tool.h"

#include <algorithm>
#include <ostream>

#include "common/text.h"
#include "profiles/profile_editor_model.h"
#include "profiles/sensor_table.h"
#include "tools/profile_tool_parts.h"

namespace corvanel {

namespace {

const char* const Usage =
    "usage: corvanel-profile check FILE...\n"
    "       corvanel-profile show FILE\n"
    "       corvanel-profile make [--sensor CODE] [--scale F|C] [--unit M|H] [--start-temp N] OUT "
    "< segments.csv\n"
    "       corvanel-profile cone CONE [--speed slow|medium|fast] [--scale F|C] [--sensor CODE]\n"
    "                             [--preheat HOURS] [--hold MINUTES] [--cool RATE:TEMP]\n"
    "                             [--error-limit N] [--fixed-peak] OUT\n"
    "       corvanel-profile cone --list\n"
    "\n"
    "check  reads each profile file as the program does and runs the editor's content check\n"
    "show   prints a profile's settings and its segment table\n"
    "make   types the segments of a CSV file into the editor and saves the profile when it\n"
    "       passes the check; CSV header: end_temp,duration,ramp_rate,error_limit,command\n"
    "       defaults: --sensor K --scale F --unit M --start-temp 70\n"
    "       sensor codes: R S K J T E PtJIS PtDIN L U\n"
    "cone   works out a firing in hours from the cone chart: preheat at 180 F (82 C) if\n"
    "       asked, the speed's rate (slow 150, medium 300, fast 500 F/h) to 200 F (110 C)\n"
    "       under the cone, the chart's final rate (108 F/h slow, else 270 F/h) to the\n"
    "       cone, a hold in minutes and a cooling at RATE degrees/h to TEMP if asked;\n"
    "       --error-limit puts the alerts' error limit on every segment;\n"
    "       cones as potters write them (\"04\" is not \"4\"); --list prints the chart\n"
    "       the firing ends on heat-work (OUT.heat-work beside OUT names the cone): the run\n"
    "       moves the peak to the chart's temperature for the rate the kiln climbs at and\n"
    "       ends the hold once the cone is reached; --fixed-peak fires to the peak as set\n"
    "       defaults: --speed medium --scale F --sensor K\n"
    "\n"
    "exit status: 0 success, 1 a profile that is unreadable or fails the check,\n"
    "             2 a usage or input error\n";

std::string Trim(const std::string& cell) {
    std::size_t first = cell.find_first_not_of(' ');
    return first == std::string::npos ? "" : cell.substr(first);
}

int Check(const std::vector<std::string>& files, std::ostream& out) {
    bool all_pass = true;
    for (const std::string& file : files) {
        out << file << '\n';
        std::string text = Read_Profile_File(file);
        if (text.empty()) {
            out << Console_Text(Profile_Format_Message()) << '\n';
            all_pass = false;
            continue;
        }
        Tool_Editor editor;
        out << Console_Text(Load_Into_Editor(editor.Editor, text, file));
        editor.Editor.Check_Profile();
        out << Console_Text(editor.Editor.User_Prompt);
        all_pass = all_pass && !editor.Editor.Profile_Error;
    }
    return all_pass ? 0 : 1;
}

int Show(const std::string& file, std::ostream& out) {
    std::string text = Read_Profile_File(file);
    if (text.empty()) {
        out << file << '\n' << Console_Text(Profile_Format_Message()) << '\n';
        return 1;
    }
    Profile_Settings settings = Profile_Settings_Of_Text(text);
    Profile_Sheet sheet = Parse_Profile_Text(text);
    std::optional<int> sensor = Sensor_Index_Of_Code(settings.Sensor_Code);
    out << "Sensor type: "
        << (sensor ? Sensor_Types[*sensor].Caption : "unknown (\"" + settings.Sensor_Code + "\")")
        << '\n';
    out << "Temperature scale: " << (settings.Fahrenheit ? "Fahrenheit" : "Celsius") << '\n';
    out << "Time unit: " << (settings.Minutes ? "Minutes" : "Hours") << '\n' << '\n';

    const int rows = Last_Used_Row(sheet);
    std::array<std::size_t, Sheet_Columns> width{};
    for (int col = 0; col < Sheet_Columns; ++col) {
        width[col] = std::string(Sheet_Column_Titles[col]).size();
        for (int row = 1; row <= rows; ++row) {
            width[col] = std::max(width[col], Trim(sheet[row][col]).size());
        }
    }
    auto print_row = [&](auto cell_of) {
        std::string line;
        for (int col = 0; col < Sheet_Columns; ++col) {
            if (col > 0) line += "  ";
            line += Right_Align(cell_of(col), width[col]);
        }
        line.erase(line.find_last_not_of(' ') + 1);
        out << line << '\n';
    };
    print_row([](int col) { return std::string(Sheet_Column_Titles[col]); });
    for (int row = 1; row <= rows; ++row) {
        print_row([&](int col) { return Trim(sheet[row][col]); });
    }
    return 0;
}

}  // namespace

int Run_Profile_Tool(const std::vector<std::string>& args, std::istream& in, std::ostream& out,
                     std::ostream& err) {
    if (args.empty()) {
        Report_Tool_Problem(
            err, Profile_Tool_Name,
            Problem::Fixed("no command given (check, show, make or cone); see --help"));
        return 2;
    }
    const std::string& command = args[0];
    std::vector<std::string> rest(args.begin() + 1, args.end());
    if (command == "--help" || command == "-h" || command == "help") {
        out << Usage;
        return 0;
    }
    for (const std::string& arg : rest) {
        if (arg == "--help" || arg == "-h") {
            out << Usage;
            return 0;
        }
    }
    if (command == "check") {
        for (const std::string& arg : rest) {
            if (arg.rfind("--", 0) == 0) {
                Report_Tool_Problem(err, Profile_Tool_Name,
                                    Problem::Fixed("unknown option " + arg + " for check"));
                return 2;
            }
        }
        if (rest.empty()) {
            Report_Tool_Problem(err, Profile_Tool_Name,
                                Problem::Fixed("check needs at least one FILE"));
            return 2;
        }
        return Check(rest, out);
    }
    if (command == "show") {
        if (rest.size() != 1 || rest[0].rfind("--", 0) == 0) {
            Report_Tool_Problem(err, Profile_Tool_Name,
                                Problem::Fixed("show needs exactly one FILE"));
            return 2;
        }
        return Show(rest[0], out);
    }
    if (command == "make") return Make_Profile(rest, in, out, err);
    if (command == "cone") return Make_Cone_Profile(rest, out, err);
    Report_Tool_Problem(
        err, Profile_Tool_Name,
        Problem::Fixed("unknown command " + command + " (check, show, make or cone)"));
    return 2;
}

}  // namespace corvanel
