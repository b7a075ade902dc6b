// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "common/clock.h"
#include "common/platform.h"
#include "history/energy_settings.h"
#include "history/firing_summary.h"
#include "run/firing_chart.h"
#include "setup/program_paths.h"

namespace corvanel {

// The Firing History window without its widgets: the table of past firings in
// Logfiles/, the chart of the chosen ones (two or more overlaid), their summary, the
// table exported as CSV and the report printed.
class Firing_History : public Message_Area {
  public:
    // Prints the report (chart at the top, lines below); the PDF written when there is no
    // printer, "" after printing on the printer. Empty optional when it failed.
    using Report_Printer = std::function<std::optional<std::string>(
        const Firing_Chart&, const std::vector<std::string>&, const std::string& pdf_path)>;

    Firing_History(Program_Paths paths, Settings_Store& settings, File_Dialog& export_dialog,
                   Report_Printer printer);

    // Reads the energy settings and the records, newest first; chooses nothing.
    void Form_Load();
    // The operator chose these rows of the table (in the order chosen).
    void Firings_Chosen(const std::vector<int>& rows);
    void Export_CSV_Click();
    void Print_Report_Click();
    // The table shows only the firings whose profile, kiln or notes hold the text (any
    // letter case); empty shows all. Chooses nothing.
    void Search_Changed(const std::string& text);
    // A language chosen while the window is open: the rows and the chosen firings' chart
    // and summary again in it, the same firings chosen.
    void Language_Changed();
    // Keeps the notes of the one firing chosen.
    void Save_Notes_Click(const std::string& notes);
    // Keeps the witness cones of the one firing chosen, as typed, and compares them.
    void Save_Witness_Cones_Click(const std::string& text);
    // Takes the cone offset proposed for the chosen firing's kiln.
    void Take_Cone_Offset_Click();

    // What the window shows.
    std::vector<std::array<std::string, Firing_List_Titles.size()>>
        Rows;  // in the operator's language and style
    std::vector<int> Chosen;
    Firing_Chart Chart;
    std::string Summary;               // the chosen firings' report lines, CR LF between
    std::string Messages;              // the message area
    std::string Notes;                 // the one firing chosen's notes
    bool Notes_Enabled = false;        // exactly one firing is chosen (its witness cones too)
    std::string Witness_Cones;         // the one firing chosen's, as typed
    std::string Cone_Offset_Proposal;  // what its kiln's witness cones say of the program
    bool Take_Cone_Offset_Enabled = false;
    bool Print_Report_Enabled = false;
    // Today, for the clock times shown without their day.
    std::function<Date_Time()> Now = [] { return System_Clock().Now(); };

    // The message area: a line added, or emptied.
    void Display(const std::string& text) override;
    void Clear() override { Messages.clear(); }

  private:
    std::vector<std::string> Report_Lines() const;
    void Show_Rows();
    void Propose_Offset();

    Program_Paths Paths_;
    Settings_Store& Settings_;
    File_Dialog& Export_Dialog_;
    Report_Printer Printer_;
    Energy_Settings Energy_;
    Report_Style Style() const;

    std::vector<Firing_List_Entry> Entries_;
    std::vector<std::string> Entry_Notes_;    // beside each entry
    std::vector<std::string> Entry_Witness_;  // beside each entry
    Cone_Offset Offset_;
    std::optional<double> Proposed_;
    std::string Search_;
    std::vector<std::size_t> Shown_;  // the entries the rows show, in order
    std::vector<Firing_Record> Chosen_Records_;
    std::vector<Firing_Summary> Chosen_Summaries_;
    std::vector<std::size_t> Chosen_Entries_;
};

}  // namespace corvanel
