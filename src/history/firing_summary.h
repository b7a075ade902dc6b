// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <cstddef>
#include <functional>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "common/quantity_text.h"
#include "history/cone_heat_work.h"
#include "history/energy_settings.h"
#include "run/firing_record.h"

namespace corvanel {

enum class Firing_Outcome { Unfinished, Finished, Soft_Off, Alarm };

// "finished", "soft off by operator", "alarm", "unfinished".
const char* Firing_Outcome_Name(Firing_Outcome outcome);

// What a potter asks of a past firing.
struct Firing_Summary {
    bool Has_Start = false;
    Date_Time Start;  // the first line's clock
    double Duration_Seconds = 0;
    bool Has_Peak = false;
    double Peak = 0;               // the highest measured temperature, after the run too
    double Seconds_Near_Peak = 0;  // readings at peak - 50 or above, as time
    // How long the kiln was watched after its run; the duration is the run's alone.
    double Seconds_After_Run = 0;
    std::size_t Ticks = 0;
    std::optional<double> Energy_kWh, Cost;  // unset without a kiln power (or price)
    Firing_Outcome Outcome = Firing_Outcome::Unfinished;
    std::vector<std::string> Alarms;  // every alarm raised in the run, once, in order
    std::string Ending_Alarm;         // the alarm on when the run ended by one
    Cone_Reached Cone;                // by heat-work, the program's own figure
};

// The summary built one line at a time, so a listing needs no more than one line in
// memory. The time near the peak needs the peak first and is left to Summarise.
class Firing_Summary_Builder {
  public:
    void Add(const Firing_Record_Line& line);
    Firing_Summary Result(const Firing_Record_Header& header, const Energy_Settings& energy) const;

  private:
    void Add_Peak(double measured);

    Firing_Summary Summary_;
    bool Has_Clock_ = false;
    long long First_Second_ = 0, Last_Second_ = 0;
    double First_Elapsed_ = 0, Last_Elapsed_ = 0;
    bool Has_Elapsed_ = false;
    bool After_Run_ = false;  // the lines since the last reading after the run
    long long Last_After_Run_Second_ = 0;
    double Output_Sum_ = 0;  // percent, summed over ticks
    std::set<std::string> Active_Alarms_;
    // For the cone: each reading at its clock (UTC seconds), or at its elapsed time in a
    // plain log, whose lines have no clock.
    std::vector<Kiln_Reading> Readings_;
};

// The whole summary of a record read in full.
Firing_Summary Summarise(const Firing_Record& record, const Energy_Settings& energy);

// A record found in a folder, as the history table shows it.
struct Firing_List_Entry {
    std::string Path, File_Name;
    Firing_Record_Header Header;
    Firing_Summary Summary;
    std::size_t Problems = 0;  // lines skipped
};

// Every *.firing.csv in the folder, newest first; the machine's cores read them, each
// one record at a time.
std::vector<Firing_List_Entry> List_Firing_Records(const std::string& folder,
                                                   const Energy_Settings& energy);

// How a table or a report is written for its reader: labels in the reader's language,
// numbers and days in its style, and today, whose clock times are shown without a day.
// The tool keeps English labels; exports write plain numbers instead.
using Label_Translation = std::function<std::string(const std::string&)>;
struct Report_Style {
    Label_Translation Label = [](const std::string& text) { return text; };
    Number_Style Numbers;
    Date_Time Now;
    Cone_Offset Offset;  // the kiln's cone offset the operator took, added where it applies
};

// The history table's columns and one entry's texts in them: start, profile, kiln,
// duration, peak, outcome, cone reached, energy, cost. "-" where a value is not known.
inline constexpr std::array<const char*, 9> Firing_List_Titles = {
    "Start", "Profile", "Kiln", "Duration", "Peak", "Outcome", "Cone", "Energy (kWh)", "Cost"};
// How the firing ended, for its reader: "finished", or the alarm it ended by ("alarm:
// Thermocouple break").
std::string Firing_Outcome_Shown(const Firing_Summary& summary, const Report_Style& style);
// The kiln's name, or how to give it one: "not named (SetUp -> SetDeviceName)".
std::string Kiln_Name_Shown(const std::string& name, const Report_Style& style);

std::array<std::string, 9> Firing_List_Row(const Firing_List_Entry& entry,
                                           const Report_Style& style);

// The same table for a spreadsheet: units in the column names, plain numbers (a point
// for decimals) and ISO dates in the fields, the cone in English words with the kiln's
// offset as the table shows it, one line each with its CR LF.
std::string Firing_List_Csv(const std::vector<Firing_List_Entry>& entries,
                            const Cone_Offset& offset = {});

// Shared by the table, the report and the tool.
// The cone reached as shown: the kiln's offset added when the firing is of its kiln.
Cone_Reached Cone_Shown(const Firing_Summary& summary, const Firing_Record_Header& header,
                        const Cone_Offset& offset);
std::string Format_Cone(const Firing_Summary& summary, const Firing_Record_Header& header,
                        const Report_Style& style);
std::string Format_Peak(const Firing_Summary& summary, const Firing_Record_Header& header,
                        const Number_Style& style);
std::string Format_Optional(const std::optional<double>& value, const Number_Style& style);  // "-"
// When the run ended: its start and its duration.
Date_Time Firing_End(const Firing_Summary& summary);

}  // namespace corvanel
