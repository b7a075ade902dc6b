// SPDX-License-Identifier: GPL-3.0-or-later
#include "history/firing_summary.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>

#include "common/on_cores.h"
#include "common/text.h"

namespace corvanel {

namespace {

double Seconds_Per_Unit(const Firing_Record_Header& header) {
    return Seconds_Per_Time_Unit(header.Time_Unit);
}

}  // namespace

const char* Firing_Outcome_Name(Firing_Outcome outcome) {
    switch (outcome) {
        case Firing_Outcome::Finished:
            return "finished";
        case Firing_Outcome::Soft_Off:
            return "soft off by operator";
        case Firing_Outcome::Alarm:
            return "alarm";
        case Firing_Outcome::Unfinished:
            break;
    }
    return "unfinished";
}

namespace {

// A reading after the run stands for the minute the writer keeps one of.
constexpr double After_Run_Line_Seconds = 60;

}  // namespace

void Firing_Summary_Builder::Add(const Firing_Record_Line& line) {
    // The watch after a run lasts from its first reading until the next run's lines.
    if (line.Is_After_Run()) {
        After_Run_ = true;
    } else if (line.Is_Tick() || line.Event == "start" || line.Event == "resume") {
        After_Run_ = false;
    }
    if (line.Is_Reading()) {
        Readings_.push_back(
            {line.Has_Clock ? static_cast<double>(line.Utc_Seconds()) : line.Elapsed,
             line.Measured});
    }
    if (After_Run_) {
        if (line.Has_Clock) Last_After_Run_Second_ = line.Utc_Seconds();
        if (line.Is_After_Run()) Add_Peak(line.Measured);
        return;
    }
    if (line.Has_Clock) {
        if (!Has_Clock_) {
            Summary_.Has_Start = true;
            Summary_.Start = line.Clock;
            First_Second_ = line.Utc_Seconds();
        }
        Has_Clock_ = true;
        Last_Second_ = line.Utc_Seconds();
    }
    if (!Has_Elapsed_) First_Elapsed_ = line.Elapsed;
    Has_Elapsed_ = true;
    Last_Elapsed_ = line.Elapsed;

    if (line.Is_Tick()) {
        ++Summary_.Ticks;
        Output_Sum_ += line.Output_Percent;
        Add_Peak(line.Measured);
    } else if (line.Event == "start") {
        Summary_.Outcome = Firing_Outcome::Unfinished;
    } else if (line.Event == "profile finished") {
        Summary_.Outcome = Firing_Outcome::Finished;
    } else if (line.Event == "soft off") {
        // The run's own soft off after "profile finished" keeps it finished.
        if (Summary_.Outcome != Firing_Outcome::Finished) {
            Summary_.Outcome =
                Active_Alarms_.empty() ? Firing_Outcome::Soft_Off : Firing_Outcome::Alarm;
            // The latest raised of those still on.
            for (const std::string& alarm : Summary_.Alarms)
                if (Active_Alarms_.contains(alarm)) Summary_.Ending_Alarm = alarm;
        }
    } else if (line.Event == "alarm raised") {
        Active_Alarms_.insert(line.Detail);
        if (std::find(Summary_.Alarms.begin(), Summary_.Alarms.end(), line.Detail) ==
            Summary_.Alarms.end()) {
            Summary_.Alarms.push_back(line.Detail);
        }
    } else if (line.Event == "alarm cleared") {
        if (line.Detail.empty()) {
            Active_Alarms_.clear();
        } else {
            Active_Alarms_.erase(line.Detail);
        }
    }
}

void Firing_Summary_Builder::Add_Peak(double measured) {
    if (!Summary_.Has_Peak || measured > Summary_.Peak) Summary_.Peak = measured;
    Summary_.Has_Peak = true;
}

Firing_Summary Firing_Summary_Builder::Result(const Firing_Record_Header& header,
                                              const Energy_Settings& energy) const {
    Firing_Summary summary = Summary_;
    // Such a record exists because of its alarm.
    if (header.Outside_Firing && !summary.Alarms.empty()) {
        summary.Outcome = Firing_Outcome::Alarm;
        if (summary.Ending_Alarm.empty()) summary.Ending_Alarm = summary.Alarms.front();
    }
    summary.Duration_Seconds =
        Has_Clock_ ? static_cast<double>(Last_Second_ - First_Second_)
                   : std::max(0.0, Last_Elapsed_ - First_Elapsed_) * Seconds_Per_Unit(header);
    if (Has_Clock_ && Last_After_Run_Second_ > Last_Second_) {
        summary.Seconds_After_Run = static_cast<double>(Last_After_Run_Second_ - Last_Second_);
    }
    if (Has_Clock_) {
        summary.Cone = Cone_Of_Readings(Readings_, header.Temp_Scale);
    } else {
        std::vector<Kiln_Reading> readings = Readings_;
        for (Kiln_Reading& reading : readings) reading.Seconds *= Seconds_Per_Unit(header);
        summary.Cone = Cone_Of_Readings(readings, header.Temp_Scale);
    }
    if (energy.Kiln_Power_kW) {
        // Each tick runs the elements for its output share of the tick's length.
        summary.Energy_kWh = Output_Sum_ / 100 * *energy.Kiln_Power_kW * header.Tick_Length / 3600;
        if (energy.Price_Per_kWh) summary.Cost = *summary.Energy_kWh * *energy.Price_Per_kWh;
    }
    return summary;
}

Firing_Summary Summarise(const Firing_Record& record, const Energy_Settings& energy) {
    Firing_Summary_Builder builder;
    for (const Firing_Record_Line& line : record.Lines) builder.Add(line);
    Firing_Summary summary = builder.Result(record.Header, energy);
    if (summary.Has_Peak) {
        // Without clocks (a plain log) a tick is as long as the profile's tick.
        std::size_t near = 0, near_after = 0;
        for (const Firing_Record_Line& line : record.Lines) {
            if (line.Is_Reading() && line.Measured >= summary.Peak - 50) {
                ++(line.Is_Tick() ? near : near_after);
            }
        }
        summary.Seconds_Near_Peak = static_cast<double>(near) * record.Header.Tick_Length +
                                    static_cast<double>(near_after) * After_Run_Line_Seconds;
    }
    return summary;
}

std::vector<Firing_List_Entry> List_Firing_Records(const std::string& folder,
                                                   const Energy_Settings& energy) {
    std::vector<Firing_List_Entry> entries;
    std::error_code error;
    for (std::filesystem::directory_iterator it(folder, error), end; !error && it != end;
         it.increment(error)) {
        const std::string name = it->path().filename().string();
        if (!name.ends_with(Firing_Record_Suffix) || !it->is_regular_file(error)) continue;
        Firing_List_Entry entry;
        entry.Path = it->path().string();
        entry.File_Name = name;
        entries.push_back(std::move(entry));
    }
    // Each record is read on its own, so the cores share them; each worker holds one
    // record's text at a time.
    std::vector<char> readable(entries.size(), 0);
    On_Cores(entries.size(), [&](std::size_t i) {
        std::string text;
        Firing_List_Entry& entry = entries[i];
        if (Read_Record_File(entry.Path, text)) return;
        Firing_Summary_Builder builder;
        std::vector<Record_Problem> problems;
        Scan_Firing_Record(
            text, entry.Header, [&](Firing_Record_Line&& line) { builder.Add(line); }, problems);
        entry.Summary = builder.Result(entry.Header, energy);
        entry.Problems = problems.size();
        readable[i] = 1;
    });
    std::size_t kept = 0;
    for (std::size_t i = 0; i < entries.size(); ++i) {
        if (!readable[i]) continue;
        if (kept != i) entries[kept] = std::move(entries[i]);
        ++kept;
    }
    entries.resize(kept);
    auto start_of = [](const Firing_List_Entry& entry) {
        return entry.Summary.Has_Start ? Seconds_Of(entry.Summary.Start) : -1;
    };
    std::sort(entries.begin(), entries.end(), [&](const auto& a, const auto& b) {
        if (start_of(a) != start_of(b)) return start_of(a) > start_of(b);
        return a.File_Name < b.File_Name;
    });
    return entries;
}

std::string Format_Peak(const Firing_Summary& summary, const Firing_Record_Header& header,
                        const Number_Style& style) {
    if (!summary.Has_Peak) return "-";
    return Temperature_Shown(summary.Peak, header.Temp_Scale, style);
}

Cone_Reached Cone_Shown(const Firing_Summary& summary, const Firing_Record_Header& header,
                        const Cone_Offset& offset) {
    return With_Cone_Offset(summary.Cone, offset.For(header.Kiln_Name));
}

std::string Format_Cone(const Firing_Summary& summary, const Firing_Record_Header& header,
                        const Report_Style& style) {
    const Cone_Reached shown = Cone_Shown(summary, header, style.Offset);
    if (!shown.Known()) return "-";
    return Cone_Reached_Text(shown).Text(
        [&](std::string_view english) { return style.Label(std::string(english)); });
}

std::string Format_Optional(const std::optional<double>& value, const Number_Style& style) {
    return value ? Number_Shown(*value, 2, style) : "-";
}

Date_Time Firing_End(const Firing_Summary& summary) {
    return Date_Time_Of_Seconds(Seconds_Of(summary.Start) +
                                static_cast<long long>(summary.Duration_Seconds));
}

std::string Firing_Outcome_Shown(const Firing_Summary& summary, const Report_Style& style) {
    const std::string outcome = style.Label(Firing_Outcome_Name(summary.Outcome));
    if (summary.Outcome != Firing_Outcome::Alarm || summary.Ending_Alarm.empty()) return outcome;
    return outcome + ": " + style.Label(summary.Ending_Alarm);
}

std::string Kiln_Name_Shown(const std::string& name, const Report_Style& style) {
    if (!name.empty()) return name;
    return style.Label("not named") + " (" + style.Label("SetUp") + " -> " +
           style.Label("SetDeviceName") + ")";
}

std::array<std::string, 9> Firing_List_Row(const Firing_List_Entry& entry,
                                           const Report_Style& style) {
    const Firing_Summary& s = entry.Summary;
    const std::string profile = entry.Header.Outside_Firing
                                    ? style.Label("Kiln alarm outside a firing")
                                : entry.Header.Profile_Name.empty() ? "-"
                                                                    : entry.Header.Profile_Name;
    return {s.Has_Start ? Clock_Shown(s.Start, style.Now, style.Numbers) : "-",
            profile,
            Kiln_Name_Shown(entry.Header.Kiln_Name, style),
            Duration_Shown(s.Duration_Seconds),
            Format_Peak(s, entry.Header, style.Numbers),
            Firing_Outcome_Shown(s, style),
            Format_Cone(s, entry.Header, style),
            Format_Optional(s.Energy_kWh, style.Numbers),
            Format_Optional(s.Cost, style.Numbers)};
}

std::string Firing_List_Csv(const std::vector<Firing_List_Entry>& entries,
                            const Cone_Offset& offset) {
    std::string text =
        "start,profile,kiln,duration_min,peak,scale,outcome,cone,energy_kWh,cost,record\r\n";
    auto number = [](const std::optional<double>& value, int decimals) {
        if (!value) return std::string();
        return Formatted("%.*f", decimals, *value);
    };
    for (const Firing_List_Entry& entry : entries) {
        const Firing_Summary& s = entry.Summary;
        text += (s.Has_Start ? Format_Clock(s.Start, 0).substr(0, 19) : "") + "," +
                Csv_Field(entry.Header.Outside_Firing ? std::string(Outside_Firing_Record)
                                                      : entry.Header.Profile_Name) +
                "," + Csv_Field(entry.Header.Kiln_Name) + "," + number(s.Duration_Seconds / 60, 1) +
                "," + (s.Has_Peak ? number(s.Peak, 1) : "") + "," + entry.Header.Temp_Scale + "," +
                Csv_Field(Firing_Outcome_Name(s.Outcome)) + "," +
                Csv_Field(Cone_Reached_Text(Cone_Shown(s, entry.Header, offset)).English()) + "," +
                number(s.Energy_kWh, 2) + "," + number(s.Cost, 2) + "," +
                Csv_Field(entry.File_Name) + "\r\n";
    }
    return text;
}

}  // namespace corvanel
