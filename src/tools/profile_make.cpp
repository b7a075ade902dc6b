// SPDX-License-Identifier: GPL-3.0-or-later
// corvanel-profile make: segments from a CSV file, typed into the editor cell by cell
// as an operator would, checked, and saved through the editor's own save.

#include <istream>
#include <optional>
#include <ostream>

#include "common/numeric.h"
#include "common/text.h"
#include "profiles/editor_typing.h"
#include "profiles/sensor_table.h"
#include "setup/setup_files.h"
#include "tools/profile_tool_parts.h"

namespace corvanel {

std::string Console_Text(const std::string& message_box_text) {
    std::string text;
    for (std::size_t i = 0; i < message_box_text.size(); ++i) {
        if (message_box_text.compare(i, 2, CRLF) == 0) {
            text += '\n';
            ++i;
        } else {
            text += message_box_text[i];
        }
    }
    return text;
}

std::string Load_Into_Editor(Profile_Editor& editor, const std::string& text,
                             const std::string& file_name) {
    std::string code = Profile_Settings_Of_Text(text).Sensor_Code;
    editor.User_Prompt.clear();
    editor.Load_Profile_Text(text, File_Name_Of_Path(file_name));
    std::string messages = "Profile is valid\n";
    if (!Sensor_Index_Of_Code(code)) messages += "Profile sensor defaulted to type= K\n";
    return messages;
}

std::string Option_Value(const std::vector<std::string>& args, std::size_t& i) {
    if (i + 1 >= args.size()) throw Problem_Error("option " + args[i] + " needs a value");
    return args[++i];
}

bool Take_Sensor_Or_Scale(const std::vector<std::string>& args, std::size_t& i, int& sensor,
                          bool& fahrenheit) {
    if (args[i] == "--sensor") {
        std::string code = Option_Value(args, i);
        std::optional<int> index = Sensor_Index_Of_Caption(code);
        if (!index)
            throw Problem_Error("unknown sensor " + code + " (R S K J T E PtJIS PtDIN L U)");
        sensor = *index;
        return true;
    }
    if (args[i] == "--scale") {
        std::string scale = Option_Value(args, i);
        if (scale != "F" && scale != "C") throw Problem_Error("--scale takes F or C, not " + scale);
        fahrenheit = scale == "F";
        return true;
    }
    return false;
}

namespace {

struct Segment_Row {
    int Line = 0;
    Typed_Segment Typed;
};

struct Make_Options {
    int Sensor = 2;  // K
    bool Fahrenheit = true;
    bool Minutes = true;
    std::string Start_Temp = "70";
    std::string Out;
};

std::string Trim(std::string text) {
    while (!text.empty() && (text.back() == '\r' || text.back() == ' ' || text.back() == '\t')) {
        text.pop_back();
    }
    std::size_t first = text.find_first_not_of(" \t");
    return first == std::string::npos ? "" : text.substr(first);
}

std::vector<std::string> Split_Fields(const std::string& line) {
    std::vector<std::string> fields;
    std::size_t start = 0;
    while (true) {
        std::size_t comma = line.find(',', start);
        fields.push_back(Trim(line.substr(start, comma - start)));
        if (comma == std::string::npos) break;
        start = comma + 1;
    }
    return fields;
}

// A value the editor's key filter lets through whole, and that converts.
void Require_Number(const Segment_Row& row, const char* column, const std::string& value,
                    bool whole, bool may_be_negative) {
    std::string where = "line " + std::to_string(row.Line) + ": " + column + " ";
    for (char c : value) {
        bool allowed = (c >= '0' && c <= '9') || c == '.' || (may_be_negative && c == '-');
        if (!allowed)
            throw Problem_Error(where + "\"" + value + "\" is not a number the editor takes");
    }
    bool converts = whole ? Convert_To_Int16(value).Value.has_value()
                          : Convert_To_Double(value).Value.has_value();
    if (!converts) {
        throw Problem_Error(where + "\"" + value + "\" is not " +
                            (whole ? "a whole number from -32768 to 32767" : "a number"));
    }
}

std::vector<Segment_Row> Read_Segments(std::istream& in) {
    const std::string header = "end_temp,duration,ramp_rate,error_limit,command";
    std::vector<Segment_Row> rows;
    std::string line;
    int number = 0;
    bool header_seen = false;
    while (std::getline(in, line)) {
        ++number;
        std::string trimmed = Trim(line);
        if (trimmed.empty() || trimmed[0] == '#') continue;
        if (!header_seen) {
            std::string compact;
            for (char c : trimmed)
                if (c != ' ' && c != '\t') compact += c;
            if (compact != header) {
                throw Problem_Error("line " + std::to_string(number) + ": expected the header " +
                                    header);
            }
            header_seen = true;
            continue;
        }
        std::vector<std::string> fields = Split_Fields(trimmed);
        if (fields.size() != 5) {
            throw Problem_Error("line " + std::to_string(number) + ": expected 5 fields, found " +
                                std::to_string(fields.size()));
        }
        Segment_Row row{number, {fields[0], fields[1], fields[2], fields[3], fields[4]}};
        if (row.Typed.End_Temp.empty())
            throw Problem_Error("line " + std::to_string(number) + ": end_temp is missing");
        Require_Number(row, "end_temp", row.Typed.End_Temp, true, true);
        if (!row.Typed.Duration.empty())
            Require_Number(row, "duration", row.Typed.Duration, false, false);
        if (!row.Typed.Ramp_Rate.empty())
            Require_Number(row, "ramp_rate", row.Typed.Ramp_Rate, false, true);
        if (!row.Typed.Error_Limit.empty())
            Require_Number(row, "error_limit", row.Typed.Error_Limit, true, false);
        if (row.Typed.Duration.empty() == row.Typed.Ramp_Rate.empty()) {
            throw Problem_Error("line " + std::to_string(number) +
                                ": give either duration or ramp_rate, not both and not neither");
        }
        if (!row.Typed.Command.empty() && row.Typed.Command != "wait") {
            throw Problem_Error("line " + std::to_string(number) + ": command \"" +
                                row.Typed.Command + "\" is not known (only wait)");
        }
        rows.push_back(row);
    }
    if (in.bad()) throw Problem_Error("the segments could not be read");
    if (!header_seen) throw Problem_Error("no CSV header: expected " + header);
    if (rows.size() > 254)
        throw Problem_Error("more than 254 segments: a profile holds 254 and its end row");
    return rows;
}

Make_Options Parse_Make_Options(const std::vector<std::string>& args) {
    Make_Options options;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        auto value = [&] { return Option_Value(args, i); };
        if (Take_Sensor_Or_Scale(args, i, options.Sensor, options.Fahrenheit)) continue;
        if (arg == "--unit") {
            std::string unit = value();
            if (unit != "M" && unit != "H") throw Problem_Error("--unit takes M or H, not " + unit);
            options.Minutes = unit == "M";
        } else if (arg == "--start-temp") {
            options.Start_Temp = value();
            bool typeable =
                options.Start_Temp.find_first_not_of("0123456789.-") == std::string::npos;
            if (!typeable || !Convert_To_Int16(options.Start_Temp).Value) {
                throw Problem_Error("--start-temp takes a whole temperature, not " +
                                    options.Start_Temp);
            }
        } else if (arg.rfind("--", 0) == 0) {
            throw Problem_Error("unknown option " + arg + " for make");
        } else if (options.Out.empty()) {
            options.Out = arg;
        } else {
            throw Problem_Error("make writes one file; unexpected " + arg);
        }
    }
    if (options.Out.empty()) throw Problem_Error("make needs the OUT file to write");
    return options;
}

}  // namespace

int Make_Profile(const std::vector<std::string>& args, std::istream& in, std::ostream& out,
                 std::ostream& err) {
    Make_Options options;
    std::vector<Segment_Row> segments;
    try {
        options = Parse_Make_Options(args);
        segments = Read_Segments(in);
    } catch (const Problem_Error& error) {
        Report_Tool_Problem(err, Profile_Tool_Name, error.Carried);
        return 2;
    }

    Typed_Profile profile;
    profile.Fahrenheit = options.Fahrenheit;
    profile.Minutes = options.Minutes;
    profile.Sensor = options.Sensor;
    profile.Start_Temp = options.Start_Temp;
    std::vector<std::string> labels;
    double start_temp = Number_Of(options.Start_Temp);
    for (const Segment_Row& segment : segments) {
        double end_temp = Number_Of(segment.Typed.End_Temp);
        if (end_temp == start_temp && segment.Typed.Duration.empty()) {
            Report_Tool_Problem(err, Profile_Tool_Name,
                                Problem::Fixed("line " + std::to_string(segment.Line) +
                                               ": a hold (end_temp equal to its start) needs a "
                                               "duration"));
            return 2;
        }
        profile.Segments.push_back(segment.Typed);
        labels.push_back("line " + std::to_string(segment.Line));
        start_temp = end_temp;
    }
    return Save_Typed_Profile(profile, labels, options.Out, out);
}

int Save_Typed_Profile(const Typed_Profile& profile, const std::vector<std::string>& labels,
                       const std::string& path, std::ostream& out) {
    Tool_Editor tool;
    Profile_Editor& editor = tool.Editor;
    std::vector<std::string> messages = Type_Profile(editor, profile);
    std::string typing_messages;
    for (std::size_t i = 0; i < messages.size(); ++i) {
        if (messages[i].empty()) continue;
        typing_messages += (i < labels.size() ? labels[i] : "segment " + std::to_string(i + 1)) +
                           ": " + Console_Text(messages[i]);
    }
    tool.Save_To(path);
    editor.mnuSaveFileAs_Click();
    out << typing_messages << Console_Text(editor.User_Prompt);
    return editor.Profile_Error || editor.User_Prompt.find("PROFILE SAVED") == std::string::npos
               ? 1
               : 0;
}

}  // namespace corvanel
