// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <optional>
#include <string>
#include <vector>

#include "common/clock.h"
#include "common/problem.h"

namespace corvanel {

// What the operator did to the kiln that changes how it fires. Each starts a new
// baseline for the kiln's health.
enum class Kiln_Event_Kind {
    Elements_Replaced,
    Thermocouple_Replaced,
    Relay_Replaced,
    Kiln_Relined
};
inline constexpr std::array<Kiln_Event_Kind, 4> Kiln_Event_Kinds = {
    Kiln_Event_Kind::Elements_Replaced, Kiln_Event_Kind::Thermocouple_Replaced,
    Kiln_Event_Kind::Relay_Replaced, Kiln_Event_Kind::Kiln_Relined};

// "elements replaced", "thermocouple replaced", "relay replaced", "kiln relined": the
// word kept in the file and, translated, what the operator reads.
const char* Kiln_Event_Name(Kiln_Event_Kind kind);

struct Kiln_Event {
    Date_Time Date;  // the day; the time of day is not kept
    Kiln_Event_Kind Kind = Kiln_Event_Kind::Elements_Replaced;
    std::string Note;
};

// The events are kept beside the firing records, one line each: "2027-03-12,elements
// replaced,note", oldest first.
inline constexpr const char* Kiln_Events_File = "kiln_events.csv";

// The events in the records' folder, oldest first. A line that cannot be read is left out
// and said in `problems`; a missing file holds none.
std::vector<Kiln_Event> Read_Kiln_Events(const std::string& folder,
                                         std::vector<Problem>* problems = nullptr);

// Adds the event and writes the file whole; a problem when it could not be written.
Maybe_Problem Add_Kiln_Event(const std::string& folder, const Kiln_Event& event);

// "2027-03-12"; and back, nothing for anything else.
std::string Format_Day(const Date_Time& day);
std::optional<Date_Time> Parse_Day(const std::string& text);

}  // namespace corvanel
