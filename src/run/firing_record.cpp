// SPDX-License-Identifier: GPL-3.0-or-later
#include "run/firing_record.h"

#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <deque>
#include <filesystem>
#include <fstream>
#include <system_error>

#include "common/text.h"
#include "profiles/profile_file.h"
#include "profiles/run_profile.h"
#include "setup/setup_files.h"

namespace corvanel {

namespace {

// Larger than a year of 3-second ticks; anything bigger is not a record.
constexpr std::uintmax_t Largest_Record = 256ull * 1024 * 1024;

// A skipped line is a notice: the rest of the record is read.
Record_Problem Skipped_Line(std::size_t number, std::string what) {
    return {number, Problem::Fixed(std::move(what), Severity::Notice)};
}

std::string_view Trim(std::string_view text) {
    if (text.empty() || (text.front() != ' ' && text.back() != ' ')) return text;
    std::size_t first = text.find_first_not_of(' ');
    if (first == std::string_view::npos) return {};
    std::size_t last = text.find_last_not_of(' ');
    return text.substr(first, last - first + 1);
}

// The usual shape of a number in a record, "-12.5", read without the general parser: a
// whole number of at most 15 digits over a power of ten up to 10^15 is one correctly
// rounded division, so the value is the one from_chars gives. False for anything else.
bool Plain_Decimal(std::string_view text, double& value) {
    static constexpr double Powers[] = {1,   1e1, 1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                        1e8, 1e9, 1e10, 1e11, 1e12, 1e13, 1e14, 1e15};
    const bool negative = !text.empty() && text[0] == '-';
    std::uint64_t whole = 0;
    int digits = 0, decimals = -1;
    for (std::size_t i = negative ? 1 : 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c >= '0' && c <= '9') {
            whole = whole * 10 + static_cast<std::uint64_t>(c - '0');
            ++digits;
            if (decimals >= 0) ++decimals;
        } else if (c == '.' && decimals < 0) {
            decimals = 0;
        } else {
            return false;
        }
    }
    // "5." and ".5" are numbers too, left to the general parser with everything else.
    if (digits == 0 || digits > 15 || decimals == 0 || decimals == digits) return false;
    const double magnitude = static_cast<double>(whole) / Powers[decimals < 0 ? 0 : decimals];
    value = negative ? -magnitude : magnitude;
    return true;
}

bool Number_Of(std::string_view text, double& value) {
    text = Trim(text);
    if (text.empty()) return false;
    if (Plain_Decimal(text, value)) return true;
    auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    return error == std::errc() && end == text.data() + text.size() && std::isfinite(value);
}

template <typename Int>
bool Whole_Of(std::string_view text, Int& value) {
    text = Trim(text);
    if (text.empty()) return false;
    auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    return error == std::errc() && end == text.data() + text.size();
}

// Calls `each` with every whole line (without its line end) and its number; a last line
// without a line end is torn and goes to `torn` instead.
template <typename Each, typename Torn>
void For_Each_Line(std::string_view text, Each each, Torn torn) {
    std::size_t number = 0, start = 0;
    while (start < text.size()) {
        ++number;
        std::size_t end = text.find('\n', start);
        if (end == std::string_view::npos) {
            torn(number);
            return;
        }
        std::string_view line = text.substr(start, end - start);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        each(line, number);
        start = end + 1;
    }
}

// A spreadsheet takes a cell that starts with one of these as a formula: "=cmd|..." in a
// profile name or a note would run on the computer that opens the export. Such a cell is
// written after an apostrophe, which a spreadsheet shows as text and our readers drop.
constexpr std::string_view Formula_Starts = "=+-@\t'";

std::string_view Spreadsheet_Text(std::string_view field) {
    if (field.size() > 1 && field[0] == '\'' && Formula_Starts.find(field[1]) != std::string_view::npos)
        field.remove_prefix(1);
    return field;
}

// The fields of a CSV line; false when a quoted field is not closed properly. A field is
// a view of the line, or of `unquoted` when it was quoted. Both are reused from line to
// line: a listing reads millions, and copying each field would be most of its time.
struct Csv_Fields {
    std::vector<std::string_view> Fields;
    std::deque<std::string> Unquoted;  // a deque: taking one more moves none
};

bool Split_Csv(std::string_view line, Csv_Fields& csv) {
    std::vector<std::string_view>& fields = csv.Fields;
    fields.clear();
    std::size_t quoted = 0, i = 0;
    while (true) {
        if (i < line.size() && line[i] == '"') {
            if (quoted == csv.Unquoted.size()) csv.Unquoted.emplace_back();
            std::string& field = csv.Unquoted[quoted++];
            field.clear();
            ++i;
            while (true) {
                if (i >= line.size()) return false;
                if (line[i] == '"') {
                    if (i + 1 < line.size() && line[i + 1] == '"') {
                        field += '"';
                        i += 2;
                        continue;
                    }
                    ++i;
                    break;
                }
                field += line[i++];
            }
            if (i < line.size() && line[i] != ',') return false;
            fields.emplace_back(Spreadsheet_Text(field));
        } else {
            std::size_t comma = i;  // fields are short: a plain loop beats a search call
            while (comma < line.size() && line[comma] != ',') ++comma;
            fields.push_back(Spreadsheet_Text(line.substr(i, comma - i)));
            i = comma;
        }
        if (i >= line.size()) return true;
        ++i;  // the comma
    }
}

std::string Header_Value(std::string text) {
    for (char& c : text) {
        if (c == '\r' || c == '\n') c = ' ';
    }
    return text;
}

std::string Plan_Text(const Plan_Points& plan) {
    std::string text;
    for (const auto& [time, temp] : plan) {
        if (!text.empty()) text += "; ";
        text += Format_Number(time) + " " + Format_Number(temp);
    }
    return text;
}

bool Parse_Plan(std::string_view text, Plan_Points& plan) {
    plan.clear();
    text = Trim(text);
    while (!text.empty()) {
        std::size_t end = text.find(';');
        std::string_view point = Trim(text.substr(0, end));
        std::size_t blank = point.find(' ');
        double time = 0, temp = 0;
        if (blank == std::string_view::npos || !Number_Of(point.substr(0, blank), time) ||
            !Number_Of(point.substr(blank + 1), temp)) {
            plan.clear();
            return false;
        }
        plan.emplace_back(time, temp);
        if (end == std::string_view::npos) break;
        text = text.substr(end + 1);
    }
    return true;
}

// One "# key: value" line into the header; the reason when the value is unusable.
std::string Take_Header_Line(std::string_view line, Firing_Record_Header& header) {
    line.remove_prefix(1);
    std::size_t colon = line.find(':');
    if (colon == std::string_view::npos) return "";  // a remark
    std::string_view key = Trim(line.substr(0, colon));
    std::string value(Trim(line.substr(colon + 1)));
    if (key == "program") {
        header.Program = value;
    } else if (key == "kiln") {
        header.Kiln_Name = value;
    } else if (key == "profile") {
        header.Profile_Name = value;
    } else if (key == "profile checksum") {
        header.Profile_Checksum = value;
    } else if (key == "sensor") {
        header.Sensor_Type = value;
    } else if (key == "scale") {
        if (value != "F" && value != "C") return "scale is neither F nor C";
        header.Temp_Scale = value;
    } else if (key == "time unit") {
        if (value != "M" && value != "H") return "time unit is neither M nor H";
        header.Time_Unit = value;
    } else if (key == "started") {
        header.Started = value;
    } else if (key == "tick length (s)") {
        double seconds = 0;
        if (!Number_Of(value, seconds) || seconds <= 0 || seconds > 3600) {
            return "tick length is not a number of seconds";
        }
        header.Tick_Length = seconds;
    } else if (key == "plan") {
        if (!Parse_Plan(value, header.Plan)) return "plan is not a list of time and temperature";
    } else if (key == "record") {
        header.Outside_Firing = value == Outside_Firing_Record;
    }
    return "";
}

// One data line; the reason when it is damaged.
std::string Take_Data_Line(const std::vector<std::string_view>& fields, Firing_Record_Line& line) {
    if (fields.size() != 8) return "has " + std::to_string(fields.size()) + " fields, not 8";
    if (!Parse_Clock(fields[0], line.Clock, line.Offset_Minutes)) return "clock is not readable";
    if (!Number_Of(fields[1], line.Elapsed)) return "elapsed time is not a number";
    if (!Whole_Of(fields[2], line.Segment) || line.Segment < 0 || line.Segment > 255) {
        return "segment is not a number from 0 to 255";
    }
    if (!Number_Of(fields[3], line.Set_Value)) return "set value is not a number";
    if (!Number_Of(fields[4], line.Measured)) return "measured temperature is not a number";
    if (!Number_Of(fields[5], line.Output_Percent)) return "output is not a number";
    line.Event = fields[6];
    line.Detail = fields[7];
    return "";
}

}  // namespace

bool Firing_Record_Line::Is_After_Run() const {
    return Event == After_Run_Event;
}

std::string Csv_Field(std::string text) {
    for (char& c : text) {
        if (c == '\r' || c == '\n') c = ' ';
    }
    if (!text.empty() && Formula_Starts.find(text[0]) != std::string_view::npos)
        text.insert(text.begin(), '\'');
    if (text.find_first_of(",\"") == std::string::npos) return text;
    std::string quoted = "\"";
    for (char c : text) {
        quoted += c;
        if (c == '"') quoted += '"';
    }
    return quoted + "\"";
}

std::optional<std::vector<std::string>> Csv_Line_Fields(std::string_view line) {
    Csv_Fields csv;
    if (!Split_Csv(line, csv)) return std::nullopt;
    return std::vector<std::string>(csv.Fields.begin(), csv.Fields.end());
}

std::string Firing_Record_Name(const std::string& log_file_name) {
    if (log_file_name.empty()) return "";
    std::size_t dot = log_file_name.rfind('.');
    std::string base = dot == std::string::npos ? log_file_name : log_file_name.substr(0, dot);
    return base + std::string(Firing_Record_Suffix);
}

std::string Format_Clock(const Date_Time& clock, int offset_minutes) {
    const int offset = offset_minutes < 0 ? -offset_minutes : offset_minutes;
    return Formatted("%04d-%02d-%02dT%02d:%02d:%02d%c%02d:%02d", clock.Year, clock.Month, clock.Day,
                     clock.Hour, clock.Minute, clock.Second, offset_minutes < 0 ? '-' : '+',
                     offset / 60 % 100, offset % 60);
}

bool Parse_Clock(std::string_view text, Date_Time& clock, int& offset_minutes) {
    // yyyy-mm-ddThh:mm:ss+hh:mm, digits and separators exactly where they belong. Read
    // for every line of every record a listing opens: one pass, no search.
    if (text.size() != 25 || text[4] != '-' || text[7] != '-' || text[10] != 'T' ||
        text[13] != ':' || text[16] != ':' || (text[19] != '+' && text[19] != '-') ||
        text[22] != ':') {
        return false;
    }
    bool digits = true;
    auto number = [&](std::size_t at, std::size_t length) {
        int value = 0;
        for (std::size_t i = at; i < at + length; ++i) {
            const unsigned digit = static_cast<unsigned char>(text[i]) - unsigned{'0'};
            digits = digits && digit < 10;
            value = value * 10 + static_cast<int>(digit);
        }
        return value;
    };
    Date_Time read{number(0, 4),  number(5, 2),  number(8, 2),
                   number(11, 2), number(14, 2), number(17, 2)};
    const int offset_hours = number(20, 2), offset_rest = number(23, 2);
    if (!digits || read.Month < 1 || read.Month > 12 || read.Day < 1 || read.Day > 31 ||
        read.Hour > 23 || read.Minute > 59 || read.Second > 60 || offset_hours > 14 ||
        offset_rest > 59) {
        return false;
    }
    clock = read;
    offset_minutes = (offset_hours * 60 + offset_rest) * (text[19] == '-' ? -1 : 1);
    return true;
}

std::string Firing_Record_Header_Text(const Firing_Record_Header& header) {
    std::string text;
    auto line = [&](const char* key, const std::string& value) {
        text += std::string("# ") + key + ": " + Header_Value(value) + "\r\n";
    };
    line("program", header.Program);
    line("kiln", header.Kiln_Name);
    line("profile", header.Profile_Name);
    line("profile checksum", header.Profile_Checksum);
    line("sensor", header.Sensor_Type);
    line("scale", header.Temp_Scale);
    line("time unit", header.Time_Unit);
    line("tick length (s)", Format_Number(header.Tick_Length));
    line("started", header.Started);
    line("plan", Plan_Text(header.Plan));
    if (header.Outside_Firing) line("record", std::string(Outside_Firing_Record));
    return text + std::string(Firing_Record_Columns) + "\r\n";
}

std::string Firing_Record_Line_Text(const Firing_Record_Line& line) {
    return Format_Clock(line.Clock, line.Offset_Minutes) + "," + Format_00(line.Elapsed) + "," +
           std::to_string(line.Segment) + "," + Format_Number(line.Set_Value) + "," +
           Format_Number(line.Measured) + "," + Format_Number(line.Output_Percent) + "," +
           Csv_Field(line.Event) + "," + Csv_Field(line.Detail) + "\r\n";
}

void Scan_Firing_Record(std::string_view text, Firing_Record_Header& header,
                        const std::function<void(Firing_Record_Line&&)>& take,
                        std::vector<Record_Problem>& problems) {
    Csv_Fields fields;
    For_Each_Line(
        text,
        [&](std::string_view line, std::size_t number) {
            if (line.empty() || line == Firing_Record_Columns) return;
            if (line.front() == '#') {
                std::string problem = Take_Header_Line(line, header);
                if (!problem.empty()) problems.push_back(Skipped_Line(number, problem));
                return;
            }
            Firing_Record_Line record;
            std::string problem = Split_Csv(line, fields) ? Take_Data_Line(fields.Fields, record)
                                                          : "has an unclosed quote";
            if (problem.empty()) {
                take(std::move(record));
            } else {
                problems.push_back(Skipped_Line(number, problem));
            }
        },
        [&](std::size_t number) {
            problems.push_back(Skipped_Line(number, "is torn (no line end)"));
        });
}

std::vector<double> Real_Elapsed_Times(const std::vector<Firing_Record_Line>& lines,
                                       const std::string& time_unit) {
    const double unit_seconds = Seconds_Per_Time_Unit(time_unit);
    // A tick's elapsed time counts whole minutes and is written to two decimals: its real
    // time is less than a minute and that rounding off.
    const double most_apart = (60 + 5) / unit_seconds + 0.005;
    std::vector<double> times;
    times.reserve(lines.size());
    bool anchored = false;
    double anchor_time = 0;
    long long anchor_clock = 0;
    for (const Firing_Record_Line& line : lines) {
        if (line.Has_Clock && (line.Event == "start" || line.Event == "resume")) {
            anchored = true;
            anchor_time = line.Elapsed;
            anchor_clock = line.Utc_Seconds();
        }
        if (!anchored || !line.Has_Clock) {
            times.push_back(line.Elapsed);
            continue;
        }
        double time = anchor_time + static_cast<double>(line.Utc_Seconds() - anchor_clock) / unit_seconds;
        // The computer's clock set by hand steps; the run's elapsed time, counted on a
        // clock that does not, is the truth then, and the lines after follow it.
        if (line.Is_Tick() && std::fabs(time - line.Elapsed) > most_apart) {
            anchor_time = time = line.Elapsed;
            anchor_clock = line.Utc_Seconds();
        }
        times.push_back(time);
    }
    return times;
}

Firing_Record Parse_Firing_Record(std::string_view text) {
    Firing_Record record;
    Scan_Firing_Record(
        text, record.Header,
        [&](Firing_Record_Line&& line) { record.Lines.push_back(std::move(line)); },
        record.Problems);
    return record;
}

Firing_Record Parse_Plain_Log(std::string_view text, const Firing_Record_Header& plan_header) {
    Firing_Record record;
    record.Header = plan_header;
    const double scale = Is_Platinum_Sensor(plan_header.Sensor_Type) ? 10.0 : 1.0;
    For_Each_Line(
        text,
        [&](std::string_view line, std::size_t number) {
            Firing_Record_Line read;
            read.Has_Clock = false;
            int set = 0, measured = 0;
            if (line.size() != 19 || !Number_Of(line.substr(0, 9), read.Elapsed) ||
                !Whole_Of(line.substr(9, 5), set) || !Whole_Of(line.substr(14, 5), measured)) {
                record.Problems.push_back(Skipped_Line(number, "is not a log record"));
                return;
            }
            read.Set_Value = set / scale;
            read.Measured = measured / scale;
            record.Lines.push_back(std::move(read));
        },
        [&](std::size_t number) {
            record.Problems.push_back(Skipped_Line(number, "is torn (no line end)"));
        });
    return record;
}

bool Header_Of_Profile_File(const std::string& path, Firing_Record_Header& header) {
    std::string text = Read_Profile_File(path);
    if (text.empty()) return false;
    Profile_Settings settings = Profile_Settings_Of_Text(text);
    header.Profile_Name = File_Name_Of_Path(path);
    if (text.size() >= Profile_Layout::Checksum_Position) {
        header.Profile_Checksum = std::string(Trim(std::string_view(text).substr(
            Profile_Layout::Checksum_Position - 1, Profile_Layout::Checksum_Length)));
    }
    header.Sensor_Type = settings.Sensor_Code;
    header.Temp_Scale = settings.Fahrenheit ? "F" : "C";
    header.Time_Unit = settings.Minutes ? "M" : "H";
    header.Tick_Length = settings.Minutes ? 3 : 60;
    header.Plan = Build_Run_Chart(Parse_Profile_Text(text));
    return true;
}

Maybe_Problem Read_Record_File(const std::string& path, std::string& text) {
    auto unread = [&](const char* why) { return Problem::Fixed(path + why); };
    std::error_code code;
    if (std::filesystem::is_directory(path, code)) return unread(": is a folder, not a record");
    std::ifstream in(path, std::ios::binary);
    if (!in) return unread(": cannot be read");
    std::uintmax_t size = std::filesystem::file_size(path, code);
    if (!code && size > Largest_Record) return unread(": too large to be a firing record");
    text.resize(code ? 0 : static_cast<std::size_t>(size));
    in.read(text.data(), static_cast<std::streamsize>(text.size()));
    text.resize(static_cast<std::size_t>(in.gcount()));
    return std::nullopt;
}

Maybe_Problem Read_Firing_Record(const std::string& path, const Firing_Record_Header& plan_header,
                                 Firing_Record& record) {
    std::string text;
    if (Maybe_Problem problem = Read_Record_File(path, text)) return problem;
    const bool is_record =
        (!text.empty() && text.front() == '#') ||
        (path.size() >= Firing_Record_Suffix.size() && path.ends_with(Firing_Record_Suffix));
    record = is_record ? Parse_Firing_Record(text) : Parse_Plain_Log(text, plan_header);
    record.Path = path;
    if (is_record && record.Header.Plan.empty()) record.Header.Plan = plan_header.Plan;
    return std::nullopt;
}

}  // namespace corvanel
