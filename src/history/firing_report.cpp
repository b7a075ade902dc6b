// SPDX-License-Identifier: GPL-3.0-or-later
#include "history/firing_report.h"

#include "common/text.h"

namespace corvanel {

std::vector<std::string> Firing_Report_Lines(const Firing_Record& record,
                                             const Firing_Summary& summary,
                                             const Label_Translation& label) {
    const Firing_Record_Header& h = record.Header;
    std::vector<std::string> lines;
    auto add = [&](const std::string& name, const std::string& value) {
        lines.push_back(label(name) + ": " + value);
    };
    add("Record", record.Path);
    add("Program", h.Program);
    add("Kiln", h.Kiln_Name);
    add("Profile", h.Profile_Name);
    add("Profile checksum", h.Profile_Checksum);
    add("Sensor", h.Sensor_Type);
    add("Scale", h.Temp_Scale);
    add("Time unit", h.Time_Unit);
    add("Started", h.Started.empty() ? Format_Start(summary) : h.Started);
    lines.emplace_back();
    add("Duration", Format_Duration(summary.Duration_Seconds));
    add("Peak", Format_Peak(summary, h));
    add("Time within 50 of the peak", Format_Duration(summary.Seconds_Near_Peak));
    if (summary.Seconds_After_Run > 0) {
        add("Watched after the run", Format_Duration(summary.Seconds_After_Run));
    }
    add("Energy (kWh)", Format_Optional_00(summary.Energy_kWh));
    add("Cost", Format_Optional_00(summary.Cost));
    add("Outcome", label(Firing_Outcome_Name(summary.Outcome)));
    add("Ticks", std::to_string(summary.Ticks));
    add("Skipped lines", std::to_string(record.Problems.size()));
    lines.emplace_back();
    lines.push_back(label("Events") + ":");
    for (const Firing_Record_Line& line : record.Lines) {
        if (line.Is_Reading()) continue;
        std::string text =
            line.Has_Clock ? Format_Clock(line.Clock, line.Offset_Minutes) + "  " : std::string();
        text += Format_00(line.Elapsed) + "  " + line.Event;
        if (!line.Detail.empty()) text += ": " + line.Detail;
        lines.push_back(text);
    }
    return lines;
}

}  // namespace corvanel
