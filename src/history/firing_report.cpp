// SPDX-License-Identifier: GPL-3.0-or-later
#include "history/firing_report.h"

#include <algorithm>
#include <cctype>
#include <filesystem>

#include "common/text.h"
#include "history/witness_cones.h"

namespace corvanel {

namespace {

// The cone by heat-work, how it was read, the kiln's offset and the witness cones.
void Add_Cone_Lines(std::vector<std::string>& lines, const Firing_Record_Header& h,
                    const Firing_Summary& summary, const Report_Style& style,
                    const std::string& witness_cones) {
    const Translate_Function label = [&](std::string_view english) {
        return style.Label(std::string(english));
    };
    auto add = [&](const std::string& name, const std::string& value) {
        lines.push_back(style.Label(name) + ": " + value);
    };
    add("Cone by heat-work", Format_Cone(summary, h, style));
    const Cone_Reached& cone = summary.Cone;
    if (cone.Known() && cone.Reached != Cone_Reached::Reach::Below_Chart) {
        const double climb = h.Temp_Scale == "F" ? Last_Climb_C * 9 / 5 : Last_Climb_C;
        auto degrees = [&](double value) {
            return Temperature_Shown(value, h.Temp_Scale, style.Numbers);
        };
        add("Last climb",
            Operator_Text::Phrase("the last %1 at %2/h, %3 near the peak, read as a climb at %4/h",
                                  {Operator_Text::Value(degrees(climb)),
                                   Operator_Text::Value(degrees(cone.Climb_Rate)),
                                   Operator_Text::Value(Duration_Shown(cone.Seconds_Near_Peak)),
                                   Operator_Text::Value(degrees(cone.Effective_Rate))})
                .Text(label));
    }
    const double offset = style.Offset.For(h.Kiln_Name);
    if (offset != 0 && cone.Known()) {
        add("Cone offset of this kiln",
            Operator_Text::Phrase("%1 cones",
                                  {Operator_Text::Value((offset > 0 ? "+" : "") +
                                                        Number_Shown(offset, 2, style.Numbers))})
                .Text(label));
    }
    if (witness_cones.empty()) return;
    const Witness_Reading witness = Read_Witness_Text(witness_cones, label);
    std::string seen = witness_cones;
    if (witness.Position) {
        Cone_Reached as_seen;
        as_seen.Reached = Cone_Reached::Reach::On_Chart;
        seen += " (" + Cone_Reached_Text(With_Cone_Offset(as_seen, *witness.Position)).Text(label) +
                ")";
    }
    add("Witness cones", seen);
}

}  // namespace

std::vector<std::string> Firing_Report_Lines(const Firing_Record& record,
                                             const Firing_Summary& summary,
                                             const Report_Style& style, const std::string& notes,
                                             const std::string& witness_cones) {
    const Firing_Record_Header& h = record.Header;
    const Number_Style& numbers = style.Numbers;
    std::vector<std::string> lines;
    auto add = [&](const std::string& name, const std::string& value) {
        lines.push_back(style.Label(name) + ": " + value);
    };
    auto shown = [](const std::string& text) { return text.empty() ? std::string("-") : text; };
    add("Profile", shown(h.Profile_Name));
    add("Kiln", Kiln_Name_Shown(h.Kiln_Name, style));
    add("Started", summary.Has_Start ? Clock_Shown(summary.Start, style.Now, numbers) : "-");
    add("Ended", summary.Has_Start ? Clock_Shown(Firing_End(summary), style.Now, numbers) : "-");
    add("How it ended", Firing_Outcome_Shown(summary, style));
    add("Peak", Format_Peak(summary, h, numbers));
    add("Time within 50 degrees of the peak", Duration_Shown(summary.Seconds_Near_Peak));
    Add_Cone_Lines(lines, h, summary, style, witness_cones);
    add("Duration", Duration_Shown(summary.Duration_Seconds));
    if (summary.Seconds_After_Run > 0) {
        add("Watched after the run", Duration_Shown(summary.Seconds_After_Run));
    }
    add("Energy",
        summary.Energy_kWh ? Number_Shown(*summary.Energy_kWh, 2, numbers) + " kWh" : "-");
    add("Cost", Format_Optional(summary.Cost, numbers));
    std::string alarms;
    for (const std::string& alarm : summary.Alarms) {
        alarms += (alarms.empty() ? "" : ", ") + style.Label(alarm);
    }
    add("Alarms", alarms.empty() ? style.Label("none") : alarms);
    if (!record.Problems.empty())
        add("Damaged lines skipped", std::to_string(record.Problems.size()));
    if (!notes.empty()) {
        lines.emplace_back();
        lines.push_back(style.Label("Notes") + ":");
        std::size_t at = 0;
        while (at <= notes.size()) {
            std::size_t end = notes.find('\n', at);
            if (end == std::string::npos) end = notes.size();
            std::string line = notes.substr(at, end - at);
            if (!line.empty() && line.back() == '\r') line.pop_back();
            lines.push_back(line);
            at = end + 1;
        }
    }
    lines.emplace_back();
    lines.push_back(style.Label("Events") + ":");
    for (const Firing_Record_Line& line : record.Lines) {
        if (line.Is_Reading()) continue;
        std::string text = line.Has_Clock ? Clock_Shown(line.Clock, style.Now, numbers) + "  "
                                          : Number_Shown(line.Elapsed, 2, numbers) + "  ";
        text += style.Label(line.Event);
        if (!line.Detail.empty()) text += ": " + line.Detail;
        lines.push_back(text);
    }
    return lines;
}

namespace {

std::string Day_Of(const Firing_Summary& summary) {
    return summary.Has_Start ? Format_Date_Time(summary.Start).substr(0, 10) : std::string();
}

std::string Profile_Stem(const Firing_Record& record) {
    const std::string name = record.Header.Profile_Name.empty()
                                 ? std::filesystem::path(record.Path).filename().string()
                                 : record.Header.Profile_Name;
    return name.substr(0, name.find('.'));
}

}  // namespace

std::string Report_Title(const std::vector<const Firing_Record*>& records,
                         const std::vector<Firing_Summary>& summaries, const Report_Style& style) {
    if (records.empty()) return "";
    auto day = [&](const Firing_Summary& s) {
        return s.Has_Start ? Clock_Shown(s.Start, style.Now, style.Numbers) : std::string("-");
    };
    if (records.size() == 1) {
        std::string title = Profile_Stem(*records[0]) + ", " + day(summaries[0]);
        if (!records[0]->Header.Kiln_Name.empty()) title += ", " + records[0]->Header.Kiln_Name;
        return title;
    }
    const auto [first, last] = std::minmax_element(
        summaries.begin(), summaries.end(), [](const Firing_Summary& a, const Firing_Summary& b) {
            return Seconds_Of(a.Start) < Seconds_Of(b.Start);
        });
    return style.Label("Firings") + " (" + std::to_string(records.size()) + "): " + day(*first) +
           " - " + day(*last);
}

std::string Report_File_Name(const std::vector<const Firing_Record*>& records,
                             const std::vector<Firing_Summary>& summaries) {
    std::string name;
    if (records.size() == 1) {
        name = Profile_Stem(*records[0]) + "_" + Day_Of(summaries[0]);
    } else {
        std::string first = Day_Of(summaries.front()), last = first;
        for (const Firing_Summary& s : summaries) {
            const std::string day = Day_Of(s);
            if (!day.empty() && (first.empty() || day < first)) first = day;
            if (day > last) last = day;
        }
        name = std::to_string(records.size()) + "_firings_" + first + "_to_" + last;
    }
    // Only what every file system takes.
    for (char& c : name) {
        if (!std::isalnum(static_cast<unsigned char>(c)) && c != '-' && c != '_') c = '_';
    }
    return name + "_report.pdf";
}

void Label_Firing_Chart(Firing_Chart& chart, const std::vector<const Firing_Record*>& records,
                        const std::vector<Firing_Summary>& summaries, const Report_Style& style) {
    chart.Title = Report_Title(records, summaries, style);
    chart.Record_Labels.clear();
    for (std::size_t r = 0; r < records.size() && r < summaries.size(); ++r) {
        const Firing_Summary& s = summaries[r];
        std::string label = Profile_Stem(*records[r]);
        if (s.Has_Start) label += ", " + Clock_Shown(s.Start, style.Now, style.Numbers);
        if (s.Has_Peak) {
            label += ", " + style.Label("peak") + " " +
                     Format_Peak(s, records[r]->Header, style.Numbers);
        }
        chart.Record_Labels.push_back(label);
    }
    for (std::string& name : chart.Kind_Names) name = style.Label(name);
    chart.X_Title = style.Label(chart.X_Title);
    chart.Y_Title = style.Label(chart.Y_Title);
    chart.Empty_Hint = style.Label("Choose one or more firings in the table to see their chart");
}

}  // namespace corvanel
