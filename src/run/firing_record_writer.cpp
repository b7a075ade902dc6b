// SPDX-License-Identifier: GPL-3.0-or-later
#include "run/firing_record_writer.h"

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <system_error>

#include "run/firing_record.h"
#include "setup/setup_files.h"

namespace corvanel {

namespace {

namespace fs = std::filesystem;

bool Creates_Record(const Firing_Status& status, Firing_Event event) {
    return event == Firing_Event::Start || event == Firing_Event::Resume ||
           (event == Firing_Event::Tick && status.Run_Active());
}

bool Is_Recorded(const Firing_Status& status, Firing_Event event) {
    switch (event) {
        case Firing_Event::Tick:
        case Firing_Event::Start:
        case Firing_Event::Suspend:
        case Firing_Event::Resume:
        case Firing_Event::Soft_Off:
        case Firing_Event::Finished:
        case Firing_Event::Elapsed_Edited:
        case Firing_Event::Communication_Error:
        case Firing_Event::Recall_Resume:
        case Firing_Event::Interrupted:
        case Firing_Event::Set_Value_Held:
        case Firing_Event::Segment_Skipped:
        case Firing_Event::Hold_Extended:
        case Firing_Event::Segment_Changed:
            return true;
        case Firing_Event::Alarm_Raised:
        case Firing_Event::Alarm_Cleared:
        case Firing_Event::Cooling_Ended:
            return status.Run_Active() || status.State == Firing_State::Cooling;
        case Firing_Event::Link_Restored:
            return status.Run_Active() || status.State == Firing_State::Cooling;
        case Firing_Event::Monitor_Tick:
            return status.State == Firing_State::Cooling;
        case Firing_Event::Profile_Loaded:
        case Firing_Event::Log_Changed:
        case Firing_Event::Start_Waiting:
        case Firing_Event::Start_Cancelled:
            break;
    }
    return false;
}

// Cuts a torn last line (a power cut in the middle of a write) off the file, so the next
// line starts on a line of its own. Everything before the last line end stays.
bool Cut_To_Whole_Lines(const std::string& path) {
    std::error_code error;
    if (fs::is_symlink(path, error)) return false;  // never cut what a link points to
    const std::uintmax_t size = fs::file_size(path, error);
    if (error || size == 0) return true;
    std::ifstream in(path, std::ios::binary);
    if (!in) return false;
    std::uintmax_t keep = size;
    char chunk[4096];
    while (keep > 0) {
        const std::uintmax_t from = keep > sizeof chunk ? keep - sizeof chunk : 0;
        in.seekg(static_cast<std::streamoff>(from));
        in.read(chunk, static_cast<std::streamsize>(keep - from));
        if (!in) return false;
        for (std::uintmax_t i = keep - from; i > 0; --i) {
            if (chunk[i - 1] == '\n') {
                keep = from + i;
                if (keep == size) return true;
                in.close();
                fs::resize_file(path, keep, error);
                return !error;
            }
        }
        keep = from;
    }
    in.close();
    fs::resize_file(path, 0, error);  // not one whole line: begin again
    return !error;
}

}  // namespace

Firing_Record_Writer::Firing_Record_Writer(Program_Paths paths, std::string program)
    : Paths_(std::move(paths)), Program_(std::move(program)) {}

std::string Firing_Record_Writer::Record_Path(const Firing_Status& status) const {
    std::string name = Firing_Record_Name(status.Log_File);
    return name.empty() ? "" : Paths_.Logfile(name);
}

void Firing_Record_Writer::Firing_Changed(const Firing_Status& status, Firing_Event event,
                                          const std::string& detail) {
    Held_->Retry();  // what a full disk refused, as soon as it takes it
    if (!status.Alarm_Record.empty() && status.State == Firing_State::Monitor) {
        Alarm_Record_Changed(status, event, detail);
        return;
    }
    if (!Is_Recorded(status, event)) return;
    const std::string path = Record_Path(status);
    if (path.empty()) return;
    // After the run the kiln is read every tick, but a line a minute is enough to keep.
    const bool after_run = event == Firing_Event::Monitor_Tick;
    if (after_run && !Reading_Due(path, status.Clock)) return;
    const bool exists = Begun(path);
    if (!exists && !Creates_Record(status, event)) return;

    const int offset = Local_Offset_Minutes(status.Clock);
    std::string text;
    if (!exists) {
        Firing_Record_Header header;
        Header_Of_Profile_File(Paths_.Profile_File(status.Profile_Name), header);
        header.Program = Program_;
        header.Kiln_Name = status.Kiln_Name;
        Copy_Profile_Fields(header, status);
        header.Tick_Length = status.Tick_Length;
        header.Started = Format_Clock(status.Clock, offset);
        header.Plan = status.Plan ? *status.Plan : Plan_Points{};
        text = Firing_Record_Header_Text(header);
        Units_[path] = {header.Temp_Scale, header.Time_Unit};
    }
    Firing_Record_Line line;
    line.Clock = status.Clock;
    line.Offset_Minutes = offset;
    line.Elapsed =
        status.State == Firing_State::Cooling ? status.Elapsed_After_Run() : status.Elapsed;
    line.Segment = status.Segment;
    line.Set_Value = status.Set_Value;
    line.Measured = status.Measured;
    line.Output_Percent = status.Output_Percent;
    if (after_run) {
        line.Event = std::string(After_Run_Event);
    } else if (event != Firing_Event::Tick) {
        line.Event = Firing_Event_Name(event);
    }
    line.Detail = detail;
    Put_In_Units(path, status, line);
    text += Firing_Record_Line_Text(line);
    Append(path, text);
}

bool Firing_Record_Writer::Begun(const std::string& path) const {
    std::error_code error;
    return Held_->Holding(path) || (fs::file_size(path, error) > 0 && !error);
}

namespace {

// Converted to tenths of a degree, as many places as a platinum sensor gives.
double In_Scale(double degrees, const std::string& from, const std::string& to) {
    if (from == to) return degrees;
    const double converted = to == "C" ? (degrees - 32) * 5 / 9 : degrees * 9 / 5 + 32;
    return std::round(converted * 10) / 10;
}

}  // namespace

const Firing_Record_Writer::Record_Units& Firing_Record_Writer::Units_Of(
    const std::string& path, const Firing_Status& status) {
    if (auto known = Units_.find(path); known != Units_.end()) return known->second;
    Record_Units units{status.Temp_Scale, status.Time_Unit};
    // The scale and unit stand near the top; the plan, the longest header line, after them.
    std::ifstream in(path, std::ios::binary);
    std::string head(8192, '\0');
    in.read(head.data(), static_cast<std::streamsize>(head.size()));
    head.resize(static_cast<std::size_t>(in.gcount()));
    if (!head.empty() && head.starts_with("#")) {
        head.resize(head.rfind('\n') == std::string::npos ? 0 : head.rfind('\n') + 1);
        Firing_Record_Header header;
        std::vector<Record_Problem> ignored;
        Scan_Firing_Record(
            head, header, [](Firing_Record_Line&&) {}, ignored);
        units = {header.Temp_Scale, header.Time_Unit};
    }
    return Units_[path] = units;
}

void Firing_Record_Writer::Put_In_Units(const std::string& path, const Firing_Status& status,
                                        Firing_Record_Line& line) {
    const Record_Units& units = Units_Of(path, status);
    line.Set_Value = In_Scale(line.Set_Value, status.Temp_Scale, units.Scale);
    line.Measured = In_Scale(line.Measured, status.Temp_Scale, units.Scale);
    if (status.Time_Unit != units.Unit) {
        line.Elapsed = line.Elapsed * Seconds_Per_Time_Unit(status.Time_Unit) /
                       Seconds_Per_Time_Unit(units.Unit);
    }
}

bool Firing_Record_Writer::Reading_Due(const std::string& path, const Date_Time& clock) {
    const long long now = Seconds_Of(clock);
    if (path == After_Run_Path_ && now - Last_After_Run_ < After_Run_Seconds) return false;
    After_Run_Path_ = path;
    Last_After_Run_ = now;
    return true;
}

void Firing_Record_Writer::Alarm_Record_Changed(const Firing_Status& status, Firing_Event event,
                                                const std::string& detail) {
    const bool reading = event == Firing_Event::Monitor_Tick;
    if (!reading && event != Firing_Event::Alarm_Raised && event != Firing_Event::Alarm_Cleared &&
        event != Firing_Event::Cooling_Ended && event != Firing_Event::Link_Restored) {
        return;
    }
    const std::string path = Paths_.Logfile(Firing_Record_Name(status.Alarm_Record));
    const bool exists = Begun(path);
    if (!exists && event != Firing_Event::Alarm_Raised) return;
    if (reading && !Reading_Due(path, status.Clock)) return;

    const int offset = Local_Offset_Minutes(status.Clock);
    std::string text;
    if (!exists) {
        Firing_Record_Header header;
        header.Program = Program_;
        header.Kiln_Name = status.Kiln_Name;
        header.Sensor_Type = status.Sensor_Type;
        header.Temp_Scale = status.Temp_Scale;
        header.Time_Unit = "M";
        header.Tick_Length = static_cast<double>(After_Run_Seconds);  // a reading a minute
        header.Started = Format_Clock(status.Clock, offset);
        header.Outside_Firing = true;
        text = Firing_Record_Header_Text(header);
        Units_[path] = {header.Temp_Scale, header.Time_Unit};
        Reading_Due(path, status.Clock);  // the alarm's own line holds this minute's reading
    }
    Firing_Record_Line line;
    line.Clock = status.Clock;
    line.Offset_Minutes = offset;
    line.Set_Value = status.Set_Value;
    line.Measured = status.Measured;
    line.Output_Percent = status.Output_Percent;
    if (event == Firing_Event::Cooling_Ended) {
        line.Event = std::string(Outside_Firing_End_Event);
    } else if (!reading) {
        line.Event = Firing_Event_Name(event);
    }
    line.Detail = detail;
    const std::string unit = Units_Of(path, status).Unit;
    Put_In_Units(path, status, line);
    line.Elapsed = status.Seconds_Of_Alarm_Record / Seconds_Per_Time_Unit(unit);
    Append(path, text + Firing_Record_Line_Text(line));
}

bool Firing_Record_Writer::Append(const std::string& path, const std::string& text) {
    // Kept texts may be written after this writer is gone (the store is shared).
    std::shared_ptr<std::string> whole = Whole_Path_;
    return Held_->Write(path, text, [whole](const std::string& file, const std::string& lines) {
        if (file != *whole) {
            std::error_code ignored;
            fs::create_directories(fs::path(file).parent_path(), ignored);
            if (!Cut_To_Whole_Lines(file)) return false;
            *whole = file;
        }
        if (Append_File_Contents(file, lines)) return true;
        whole->clear();  // look at its end again before the next line
        return false;
    });
}

}  // namespace corvanel
