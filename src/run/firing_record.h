// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "common/clock.h"
#include "common/problem.h"
#include "run/firing_status.h"

namespace corvanel {

// A firing record: Logfiles/<log name without extension>.firing.csv beside the 21-byte
// log. A block of "# key: value" lines, the column line, then one CSV line per control
// tick and one per run event. Lines end with CR LF; readers take LF alone as well.

// The header: what the firing was and how to read its numbers.
struct Firing_Record_Header {
    std::string Program, Kiln_Name, Profile_Name, Profile_Checksum, Sensor_Type;
    std::string Temp_Scale = "F", Time_Unit = "M";  // "F"/"C", "M"/"H"
    std::string Started;                            // ISO 8601 with offset
    double Tick_Length = 3;                         // seconds between control ticks
    Plan_Points Plan;                               // the profile's corner points
    // The record of an alarm outside a firing: its lines are the kiln read a minute apart,
    // from the alarm on, with no profile followed.
    bool Outside_Firing = false;
};

// One line after the header. Temperatures in degrees of the record's scale.
struct Firing_Record_Line {
    Date_Time Clock;
    int Offset_Minutes = 0;  // the clock's offset from UTC
    bool Has_Clock = true;   // false for a line of a plain log
    double Elapsed = 0;      // in the record's time unit
    int Segment = 0;
    double Set_Value = 0, Measured = 0, Output_Percent = 0;
    std::string Event;  // "" on a control tick, else the event's name ("start", "soft off")
    std::string Detail;

    bool Is_Tick() const { return Event.empty(); }
    // The clock as seconds in UTC, so lines on both sides of a change of offset compare.
    long long Utc_Seconds() const { return Seconds_Of(Clock) - 60LL * Offset_Minutes; }
    // A reading kept while the kiln was watched after its run (one a minute at most).
    bool Is_After_Run() const;
    // A line with a measured temperature of the kiln: a tick, or a reading after the run.
    bool Is_Reading() const { return Is_Tick() || Is_After_Run(); }
};

// Where each line sits on the firing's real time axis, in the record's time unit: the
// elapsed time of the start or resume it follows plus the time its clock has moved on
// since, so the ticks lie at their real times and not at whole minute boundaries. A line
// before any start, or without a clock (a plain log), sits at its elapsed time.
std::vector<double> Real_Elapsed_Times(const std::vector<Firing_Record_Line>& lines,
                                       const std::string& time_unit);

// A line skipped by a reader: its number (from 1) and what is wrong with it (a notice in
// the reader's fixed English words: "is torn (no line end)").
struct Record_Problem {
    std::size_t Line_Number = 0;
    Problem What;
};

struct Firing_Record {
    std::string Path;
    Firing_Record_Header Header;
    std::vector<Firing_Record_Line> Lines;
    std::vector<Record_Problem> Problems;
};

inline constexpr std::string_view Firing_Record_Suffix = ".firing.csv";
// The event column of a reading after the run: an event to a reader that knows only ticks,
// so its columns and its ticks stay as they were.
inline constexpr std::string_view After_Run_Event = "after run";
// The header's "record" value of a record of an alarm outside a firing, and its last line's
// event (its detail says why: "below 150 F", "acknowledged", "new firing").
inline constexpr std::string_view Outside_Firing_Record = "kiln alarm outside a firing";
inline constexpr std::string_view Outside_Firing_End_Event = "record ended";
// The event of the line the kiln guard writes when it soft-offs a firing.
inline constexpr std::string_view Guard_Event = "guard";
inline constexpr std::string_view Firing_Record_Columns =
    "clock,elapsed,segment,set_value,measured,output_percent,event,detail";

// The record's file name for a log file name: "glaze_04_03_2027_14_05.txt" gives
// "glaze_04_03_2027_14_05.firing.csv". "" for an empty name.
std::string Firing_Record_Name(const std::string& log_file_name);

// "2027-04-03T14:05:09+02:00"; and back, false for anything else.
std::string Format_Clock(const Date_Time& clock, int offset_minutes);
bool Parse_Clock(std::string_view text, Date_Time& clock, int& offset_minutes);

// The header block and the column line, each line ended by CR LF.
std::string Firing_Record_Header_Text(const Firing_Record_Header& header);
// One line with its CR LF. A detail holding commas or quotes is quoted; line breaks in it
// become blanks, so a line is always one line.
std::string Firing_Record_Line_Text(const Firing_Record_Line& line);

// A CSV field: quoted when it holds a comma or a quote, line breaks made blanks, and a
// text a spreadsheet would take for a formula (= + - @ tab at its start) written after an
// apostrophe, which the readers of records drop again.
std::string Csv_Field(std::string text);
// The fields of one CSV line written so; nothing when a quoted field is not closed.
std::optional<std::vector<std::string>> Csv_Line_Fields(std::string_view line);

// Reads a record from its text, line by line: the header into `header`, each good line to
// `take`, each damaged line (and a torn last line) into `problems`. Never fails on any
// input; used both by the full reader and by the listing, which keeps no lines.
void Scan_Firing_Record(std::string_view text, Firing_Record_Header& header,
                        const std::function<void(Firing_Record_Line&&)>& take,
                        std::vector<Record_Problem>& problems);

// The record in the text, every good line kept.
Firing_Record Parse_Firing_Record(std::string_view text);

inline std::vector<double> Real_Elapsed_Times(const Firing_Record& record) {
    return Real_Elapsed_Times(record.Lines, record.Header.Time_Unit);
}

// A plain log of 21-byte records (elapsed, set value, measured in controller units). The
// header comes from `plan_header` (the profile's plan and settings when one is given);
// values of a platinum sensor are divided to degrees.
Firing_Record Parse_Plain_Log(std::string_view text, const Firing_Record_Header& plan_header);

// The header of a profile file for reading a plain log against it: plan, sensor, scale,
// unit, checksum. False when the file is not a readable profile.
bool Header_Of_Profile_File(const std::string& path, Firing_Record_Header& header);

// Reads a file whole into `text`. The problem when it cannot be read or is larger than
// any record can be; none when it was read.
Maybe_Problem Read_Record_File(const std::string& path, std::string& text);

// A record file, or a plain log when its first line is not a "#" line. The problem when
// the file cannot be read; none when `record` holds it.
Maybe_Problem Read_Firing_Record(const std::string& path, const Firing_Record_Header& plan_header,
                                 Firing_Record& record);

}  // namespace corvanel
