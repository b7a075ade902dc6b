// SPDX-License-Identifier: GPL-3.0-or-later
#include "history/firing_history.h"

#include <cctype>
#include <filesystem>

#include "common/text.h"
#include "history/firing_notes.h"
#include "history/firing_report.h"
#include "history/witness_cones.h"
#include "language/operator_style.h"
#include "language/show_problem.h"
#include "language/translate.h"
#include "setup/setup_files.h"

namespace corvanel {

Firing_History::Firing_History(Program_Paths paths, Settings_Store& settings,
                               File_Dialog& export_dialog, Report_Printer printer)
    : Paths_(std::move(paths)),
      Settings_(settings),
      Export_Dialog_(export_dialog),
      Printer_(std::move(printer)) {}

Report_Style Firing_History::Style() const {
    return {[](const std::string& text) { return TranslateText(text); }, Operator_Style(), Now(),
            Offset_};
}

void Firing_History::Form_Load() {
    Clear();
    std::vector<Problem> problems;
    Energy_ = Read_Energy_Settings(Settings_, &problems);
    Offset_ = Read_Cone_Offset(Settings_, &problems);
    for (const Problem& problem : problems) Show_Problem(*this, problem);
    Entries_ = List_Firing_Records(Paths_.Logfiles_Folder(), Energy_);
    Entry_Notes_.clear();
    Entry_Witness_.clear();
    for (const Firing_List_Entry& entry : Entries_) {
        Entry_Notes_.push_back(Read_Firing_Notes(entry.Path));
        Entry_Witness_.push_back(Read_Witness_Cones(entry.Path));
        if (entry.Problems > 0) {
            Append_Message(Messages, entry.File_Name + ": " + std::to_string(entry.Problems) + " " +
                                         TranslateText("damaged lines skipped"));
        }
    }
    if (Entries_.empty()) {
        Append_Message(
            Messages, TranslateText("No firing records found in") + " " + Paths_.Logfiles_Folder());
    }
    Search_Changed("");
}

void Firing_History::Search_Changed(const std::string& text) {
    auto lower = [](std::string s) {
        for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        return s;
    };
    Search_ = text;
    const std::string wanted = lower(text);
    Shown_.clear();
    for (std::size_t i = 0; i < Entries_.size(); ++i) {
        const Firing_List_Entry& entry = Entries_[i];
        const std::string haystack = lower(entry.Header.Profile_Name + "\n" +
                                           entry.Header.Kiln_Name + "\n" + Entry_Notes_[i]);
        if (!wanted.empty() && haystack.find(wanted) == std::string::npos) continue;
        Shown_.push_back(i);
    }
    Show_Rows();
    Firings_Chosen({});
}

void Firing_History::Language_Changed() {
    Show_Rows();
    const std::vector<int> chosen = Chosen;
    Firings_Chosen(chosen);
}

void Firing_History::Show_Rows() {
    const Report_Style style = Style();
    Rows.clear();
    for (std::size_t i : Shown_) Rows.push_back(Firing_List_Row(Entries_[i], style));
}

void Firing_History::Firings_Chosen(const std::vector<int>& rows) {
    Chosen.clear();
    Chosen_Records_.clear();
    Chosen_Summaries_.clear();
    Chosen_Entries_.clear();
    Summary.clear();
    for (int row : rows) {
        if (row < 0 || row >= static_cast<int>(Shown_.size())) continue;
        const std::size_t index = Shown_[static_cast<std::size_t>(row)];
        const Firing_List_Entry& entry = Entries_[index];
        // The plan of the record's own header; a record without one takes the profile's,
        // when the profile file is still there.
        Firing_Record_Header profile;
        if (!entry.Header.Profile_Name.empty()) {
            Header_Of_Profile_File(Paths_.Profile_File(entry.Header.Profile_Name), profile);
        }
        Firing_Record record;
        if (Read_Firing_Record(entry.Path, profile, record)) {
            Show_Problem(*this, {Operator_Text::Phrase("The firing record %1 could not be read",
                                                       {Operator_Text::Value(entry.File_Name)}),
                                 Operator_Text::Phrase("It may have been moved or damaged: "
                                                       "choose another firing")});
            continue;
        }
        Chosen.push_back(row);
        Chosen_Summaries_.push_back(Summarise(record, Energy_));
        Chosen_Records_.push_back(std::move(record));
        Chosen_Entries_.push_back(index);
    }
    std::vector<const Firing_Record*> shown;
    for (const Firing_Record& record : Chosen_Records_) shown.push_back(&record);
    Chart = Build_Firing_Chart(shown);
    Label_Firing_Chart(Chart, shown, Chosen_Summaries_, Style());
    Summary = Join_Lines(Report_Lines());
    Print_Report_Enabled = !Chosen_Records_.empty();
    Notes_Enabled = Chosen_Records_.size() == 1;
    Notes = Notes_Enabled ? Entry_Notes_[Chosen_Entries_[0]] : "";
    Witness_Cones = Notes_Enabled ? Entry_Witness_[Chosen_Entries_[0]] : "";
    Propose_Offset();
}

void Firing_History::Propose_Offset() {
    Cone_Offset_Proposal.clear();
    Take_Cone_Offset_Enabled = false;
    Proposed_.reset();
    if (!Notes_Enabled) return;
    const std::string& kiln = Entries_[Chosen_Entries_[0]].Header.Kiln_Name;
    std::vector<Witness_Comparison> compared;
    for (std::size_t i = 0; i < Entries_.size(); ++i) {
        const Cone_Reached& cone = Entries_[i].Summary.Cone;
        if (Entry_Witness_[i].empty() || cone.Reached != Cone_Reached::Reach::On_Chart) continue;
        const Witness_Reading witness = Read_Witness_Text(Entry_Witness_[i], Translate_Phrase);
        if (!witness.Position) continue;
        compared.push_back({Entries_[i].Header.Kiln_Name, cone.Position, *witness.Position});
    }
    const Offset_Proposal proposal = Propose_Cone_Offset(compared, kiln);
    Operator_Text said;
    if (!proposal.Cones) {
        said = Operator_Text::Phrase(
            "Record the witness cones of %1 more firings of this kiln, and the program proposes a "
            "cone offset from them",
            {Operator_Text::Value(std::to_string(Offset_Firings_Needed - proposal.Firings))});
    } else if (*proposal.Cones == 0) {
        said = Operator_Text::Phrase(
            "The witness cones of the last %1 firings of this kiln agree with the program's cone",
            {Operator_Text::Value(std::to_string(proposal.Firings))});
    } else {
        said = Operator_Text::Phrase(
            "The witness cones of the last %1 firings of this kiln read %2 cones from the "
            "program's cone: take it as the kiln's cone offset",
            {Operator_Text::Value(std::to_string(proposal.Firings)),
             Operator_Text::Value((*proposal.Cones > 0 ? "+" : "") +
                                  Number_Shown(*proposal.Cones, 2, Operator_Style()))});
    }
    Cone_Offset_Proposal = said.Text(Translate_Phrase);
    if (proposal.Cones && (Offset_.Kiln != kiln || Offset_.Cones != *proposal.Cones)) {
        Proposed_ = proposal.Cones;
        Take_Cone_Offset_Enabled = *proposal.Cones != 0 || Offset_.For(kiln) != 0;
    }
}

void Firing_History::Save_Witness_Cones_Click(const std::string& text) {
    if (!Notes_Enabled) return;
    const std::size_t index = Chosen_Entries_[0];
    const Witness_Reading witness = Read_Witness_Text(text, Translate_Phrase);
    if (witness.Problem) {
        Show_Problem(*this, *witness.Problem);
        return;
    }
    if (Maybe_Problem problem = Write_Witness_Cones(Entries_[index].Path, text)) {
        Show_Problem(*this, *problem);
        return;
    }
    Entry_Witness_[index] = Witness_Cones = text;
    Summary = Join_Lines(Report_Lines());
    Append_Message(Messages, TranslateText("Witness cones saved"));
    Propose_Offset();
}

void Firing_History::Take_Cone_Offset_Click() {
    if (!Take_Cone_Offset_Enabled || !Proposed_) return;
    const Cone_Offset taken{Entries_[Chosen_Entries_[0]].Header.Kiln_Name, *Proposed_};
    if (Maybe_Problem problem = Write_Cone_Offset(Settings_, taken)) {
        Show_Problem(*this, *problem);
        return;
    }
    Offset_ = taken;
    Show_Rows();
    Summary = Join_Lines(Report_Lines());
    Append_Message(Messages,
                   Operator_Text::Phrase(
                       "Cone offset taken: %1 cones on the program's cone for "
                       "the firings of this kiln",
                       {Operator_Text::Value((taken.Cones > 0 ? "+" : "") +
                                             Number_Shown(taken.Cones, 2, Operator_Style()))})
                       .Text(Translate_Phrase));
    Propose_Offset();
}

void Firing_History::Save_Notes_Click(const std::string& notes) {
    if (!Notes_Enabled) return;
    const std::size_t index = Chosen_Entries_[0];
    if (Maybe_Problem problem = Write_Firing_Notes(Entries_[index].Path, notes)) {
        Show_Problem(*this, *problem);
        return;
    }
    Entry_Notes_[index] = Notes = notes;
    Summary = Join_Lines(Report_Lines());
    Append_Message(Messages, TranslateText("Notes saved"));
}

std::vector<std::string> Firing_History::Report_Lines() const {
    std::vector<std::string> lines;
    const Report_Style style = Style();
    for (std::size_t i = 0; i < Chosen_Records_.size(); ++i) {
        if (!lines.empty()) lines.emplace_back();
        for (std::string& line : Firing_Report_Lines(Chosen_Records_[i], Chosen_Summaries_[i],
                                                     style, Entry_Notes_[Chosen_Entries_[i]],
                                                     Entry_Witness_[Chosen_Entries_[i]])) {
            lines.push_back(std::move(line));
        }
    }
    return lines;
}

void Firing_History::Display(const std::string& text) {
    Append_Message(Messages, text);
}

void Firing_History::Export_CSV_Click() {
    File_Dialog_Request request{Paths_.Logfiles_Folder(), "CSV files (*.csv) | *.csv",
                                "firing_history.csv"};
    File_Dialog_Result result = Export_Dialog_.Show_Save(request);
    if (result.Result != File_Dialog_Result::Outcome::Chosen) {
        Append_Message(Messages, TranslateText("Export cancelled"));
        return;
    }
    std::vector<Firing_List_Entry> shown;
    for (std::size_t index : Shown_) shown.push_back(Entries_[index]);
    const std::string text = Firing_List_Csv(shown);
    if (Replace_File_Contents(result.Path, text)) {
        Append_Message(Messages, TranslateText("Firing table exported to") + " " + result.Path);
    } else {
        Show_Problem(*this, {Operator_Text::Phrase("The firing table could not be written to %1",
                                                   {Operator_Text::Value(result.Path)}),
                             Operator_Text::Phrase("Choose a folder you may write to, or a "
                                                   "name not in use, and export again")});
    }
}

void Firing_History::Print_Report_Click() {
    if (Chosen_Records_.empty() || !Printer_) return;
    std::vector<const Firing_Record*> chosen;
    for (const Firing_Record& record : Chosen_Records_) chosen.push_back(&record);
    const std::string pdf =
        (Paths_.Folder() / "Printouts" / Report_File_Name(chosen, Chosen_Summaries_)).string();
    std::optional<std::string> written = Printer_(Chart, Report_Lines(), pdf);
    if (!written) {
        Show_Problem(*this, {Operator_Text::Phrase("Report could not be printed"),
                             Operator_Text::Phrase("Check that the printer is on and ready, "
                                                   "then print again")});
    } else if (written->empty()) {
        Append_Message(Messages, TranslateText("Report printed"));
    } else {
        Append_Message(Messages, TranslateText("Report saved to") + " " + *written);
    }
}

}  // namespace corvanel
