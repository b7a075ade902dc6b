// SPDX-License-Identifier: GPL-3.0-or-later
#include "guard/guard_heartbeat.h"

#include <cmath>
#include <cstdio>
#include <fstream>
#include <sstream>

#include "common/numeric.h"
#include "common/text.h"
#include "setup/setup_files.h"

namespace corvanel {

namespace {

std::string Escaped(std::string_view value) {
    std::string text;
    for (char c : value) {
        if (c == '\\') {
            text += "\\\\";
        } else if (c == '\n') {
            text += "\\n";
        } else if (c == '\r') {
            text += "\\r";
        } else {
            text += c;
        }
    }
    return text;
}

std::string Unescaped(std::string_view value) {
    std::string text;
    for (std::size_t i = 0; i < value.size(); ++i) {
        if (value[i] != '\\' || i + 1 == value.size()) {
            text += value[i];
            continue;
        }
        const char next = value[++i];
        text += next == 'n' ? '\n' : next == 'r' ? '\r' : next;
    }
    return text;
}

}  // namespace

std::string Heartbeat_Text(const Guard_Heartbeat& beat) {
    std::ostringstream text;
    text << "beat=" << beat.Beat << "\npid=" << beat.Program_Pid
         << "\nrecord=" << Escaped(beat.Record_Path) << "\ndevice=" << Escaped(beat.Device)
         << "\nprofile=" << Escaped(beat.Profile_Name) << "\nsensor=" << Escaped(beat.Sensor_Type)
         << "\nscale=" << Escaped(beat.Temp_Scale) << "\nunit=" << Escaped(beat.Time_Unit)
         << "\nelapsed=" << Format_Number(beat.Elapsed) << "\nsegment=" << beat.Segment
         << "\nmeasured=" << Format_Number(beat.Measured) << "\nend\n";
    return text.str();
}

std::optional<Guard_Heartbeat> Parse_Heartbeat(std::string_view text) {
    const std::optional<std::vector<Key_Value_Line>> lines = Key_Value_Lines(text, "end");
    if (!lines) return std::nullopt;
    Guard_Heartbeat beat;
    bool has_beat = false;
    for (const auto& [key, escaped] : *lines) {
        const std::string value = Unescaped(escaped);
        const std::optional<double> number = Convert_To_Double(value).Value;
        if (key == "beat" || key == "pid" || key == "segment" || key == "elapsed" ||
            key == "measured") {
            if (!number || !std::isfinite(*number)) return std::nullopt;
        }
        // A count or an id must be one, in range, before it is made whole: a number past
        // the integer's range would be no number at all.
        auto whole = [&](double low, double high) { return *number >= low && *number <= high; };
        if (key == "beat") {
            if (!whole(0, 9.0e15)) return std::nullopt;
            beat.Beat = static_cast<long long>(*number);
            has_beat = true;
        } else if (key == "pid") {
            if (!whole(0, 2147483647.0)) return std::nullopt;
            beat.Program_Pid = static_cast<long>(*number);
        } else if (key == "record") {
            beat.Record_Path = value;
        } else if (key == "device") {
            beat.Device = value;
        } else if (key == "profile") {
            beat.Profile_Name = value;
        } else if (key == "sensor") {
            beat.Sensor_Type = value;
        } else if (key == "scale") {
            beat.Temp_Scale = value;
        } else if (key == "unit") {
            beat.Time_Unit = value;
        } else if (key == "elapsed") {
            beat.Elapsed = *number;
        } else if (key == "segment") {
            if (!whole(0, 100000)) return std::nullopt;
            beat.Segment = static_cast<int>(*number);
        } else if (key == "measured") {
            beat.Measured = *number;
        }
    }
    if (!has_beat) return std::nullopt;
    return beat;
}

Guard_Heartbeat Heartbeat_Of(const Firing_Status& status) {
    Guard_Heartbeat beat;
    Copy_Profile_Fields(beat, status);
    beat.Elapsed = status.Elapsed;
    beat.Segment = status.Segment;
    beat.Measured = status.Measured;
    return beat;
}

Firing_Status Watched_Status_Of(const Guard_Heartbeat& beat, const Date_Time& now, double set_value,
                                double measured) {
    Firing_Status status;
    status.State = Firing_State::Cooling;
    status.Clock = now;
    Copy_Profile_Fields(status, beat);
    status.Segment = beat.Segment;
    status.Elapsed = beat.Elapsed;
    status.Set_Value = set_value;
    status.Measured = measured;
    status.Has_Reading = true;
    status.Last_Reading = now;
    status.Plan = std::make_shared<const Plan_Points>();
    return status;
}

bool Write_Heartbeat(const std::filesystem::path& program_folder, const Guard_Heartbeat& beat) {
    return Replace_File_Contents((program_folder / Heartbeat_File_Name).string(),
                                 Heartbeat_Text(beat));
}

std::optional<Guard_Heartbeat> Read_Heartbeat(const std::filesystem::path& program_folder) {
    std::ifstream in(program_folder / Heartbeat_File_Name, std::ios::binary);
    if (!in) return std::nullopt;
    std::string text(Longest_Heartbeat + 1, '\0');
    in.read(text.data(), static_cast<std::streamsize>(text.size()));
    if (in.gcount() > static_cast<std::streamsize>(Longest_Heartbeat)) return std::nullopt;
    text.resize(static_cast<std::size_t>(in.gcount()));
    return Parse_Heartbeat(text);
}

}  // namespace corvanel
