// SPDX-License-Identifier: GPL-3.0-or-later
#include "history/kiln_events.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>

#include "common/text.h"
#include "run/firing_record.h"
#include "setup/setup_files.h"

namespace corvanel {

const char* Kiln_Event_Name(Kiln_Event_Kind kind) {
    switch (kind) {
        case Kiln_Event_Kind::Thermocouple_Replaced:
            return "thermocouple replaced";
        case Kiln_Event_Kind::Relay_Replaced:
            return "relay replaced";
        case Kiln_Event_Kind::Kiln_Relined:
            return "kiln relined";
        case Kiln_Event_Kind::Elements_Replaced:
            break;
    }
    return "elements replaced";
}

std::string Format_Day(const Date_Time& day) {
    return Formatted("%04d-%02d-%02d", day.Year, day.Month, day.Day);
}

std::optional<Date_Time> Parse_Day(const std::string& text) {
    Date_Time day;
    int used = 0;
    if (text.size() != 10 ||
        std::sscanf(text.c_str(), "%4d-%2d-%2d%n", &day.Year, &day.Month, &day.Day, &used) != 3 ||
        used != 10 || text[4] != '-' || text[7] != '-') {
        return std::nullopt;
    }
    // The day must be one the calendar has: counting seconds there and back keeps it.
    if (day.Month < 1 || day.Month > 12 || day.Day < 1 || day.Year < 1900) return std::nullopt;
    const Date_Time back = Date_Time_Of_Seconds(Seconds_Of(day));
    if (back.Day != day.Day || back.Month != day.Month) return std::nullopt;
    return day;
}

namespace {

std::string Events_Path(const std::string& folder) {
    return (std::filesystem::path(folder) / Kiln_Events_File).string();
}

}  // namespace

namespace {

// One line of the file; nothing when it is not an event (written by hand, torn).
std::optional<Kiln_Event> Parse_Event_Line(const std::string& line) {
    const std::vector<std::string> fields =
        Csv_Line_Fields(line).value_or(std::vector<std::string>{""});
    const std::optional<Date_Time> day = Parse_Day(fields[0]);
    const auto kind = std::find_if(
        Kiln_Event_Kinds.begin(), Kiln_Event_Kinds.end(),
        [&](Kiln_Event_Kind k) { return fields.size() > 1 && fields[1] == Kiln_Event_Name(k); });
    if (!day || kind == Kiln_Event_Kinds.end()) return std::nullopt;
    return Kiln_Event{*day, *kind, fields.size() > 2 ? fields[2] : ""};
}

// The file's lines without their line ends, empty ones left out.
std::vector<std::string> Lines_Of(const std::string& text) {
    std::vector<std::string> lines;
    std::size_t at = 0;
    while (at < text.size()) {
        std::size_t end = text.find('\n', at);
        if (end == std::string::npos) end = text.size();
        std::string line = text.substr(at, end - at);
        at = end + 1;
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (!line.empty()) lines.push_back(std::move(line));
    }
    return lines;
}

}  // namespace

std::vector<Kiln_Event> Read_Kiln_Events(const std::string& folder,
                                         std::vector<Problem>* problems) {
    std::vector<Kiln_Event> events;
    std::string text;
    std::error_code missing;
    if (!std::filesystem::exists(Events_Path(folder), missing)) return events;
    if (Read_Record_File(Events_Path(folder), text)) {
        if (problems) {
            problems->push_back(
                {Operator_Text::Phrase("The kiln's marked events could not be read."),
                 Operator_Text::Phrase("Check that the records' folder can be read.")});
        }
        return events;
    }
    for (const std::string& line : Lines_Of(text)) {
        std::optional<Kiln_Event> event = Parse_Event_Line(line);
        if (!event) {
            if (problems) {
                problems->push_back(
                    {Operator_Text::Phrase("A marked event of the kiln could not be read: %1",
                                           {Operator_Text::Value(line)}),
                     Operator_Text::Phrase("Mark it again if it matters for the kiln's health.")});
            }
            continue;
        }
        events.push_back(std::move(*event));
    }
    std::stable_sort(events.begin(), events.end(), [](const Kiln_Event& a, const Kiln_Event& b) {
        return Seconds_Of(a.Date) < Seconds_Of(b.Date);
    });
    return events;
}

Maybe_Problem Add_Kiln_Event(const std::string& folder, const Kiln_Event& event) {
    const Problem not_kept{
        Operator_Text::Phrase("The event was not kept."),
        Operator_Text::Phrase("Check that the records' folder can be written and mark it again.")};
    // Every line there stays, one that cannot be read as an event too: the new one goes in
    // before the first later event. A file that cannot be read is not written over.
    std::string text;
    std::error_code missing;
    const bool there = std::filesystem::exists(Events_Path(folder), missing);
    if (missing || (there && Read_Record_File(Events_Path(folder), text))) {
        return not_kept;
    }
    std::vector<std::string> lines = Lines_Of(text);
    const auto later = std::find_if(lines.begin(), lines.end(), [&](const std::string& line) {
        const std::optional<Kiln_Event> kept = Parse_Event_Line(line);
        return kept && Seconds_Of(kept->Date) > Seconds_Of(event.Date);
    });
    lines.insert(later, Format_Day(event.Date) + "," + Kiln_Event_Name(event.Kind) + "," +
                            Csv_Field(event.Note));
    std::string written;
    for (const std::string& line : lines) written += line + "\r\n";
    if (Replace_File_Contents(Events_Path(folder), written)) return std::nullopt;
    return not_kept;
}

}  // namespace corvanel
