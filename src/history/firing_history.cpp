// SPDX-License-Identifier: GPL-3.0-or-later
#include "history/firing_history.h"

#include <filesystem>

#include "common/text.h"
#include "history/firing_report.h"
#include "language/show_problem.h"
#include "language/translate.h"
#include "setup/setup_files.h"

namespace corvanel {

Firing_History::Firing_History(Program_Paths paths, File_Dialog& export_dialog,
                               Report_Printer printer)
    : Paths_(std::move(paths)), Export_Dialog_(export_dialog), Printer_(std::move(printer)) {}

void Firing_History::Form_Load() {
    Clear();
    std::vector<Problem> problems;
    Energy_ = Read_Energy_Settings(Paths_, &problems);
    for (const Problem& problem : problems) Show_Problem(*this, problem);
    Entries_ = List_Firing_Records(Paths_.Logfiles_Folder(), Energy_);
    Rows.clear();
    for (const Firing_List_Entry& entry : Entries_) {
        Rows.push_back(Firing_List_Row(entry));
        Rows.back()[5] = TranslateText(Rows.back()[5]);
        if (entry.Problems > 0) {
            Append_Message(Messages, entry.File_Name + ": " + std::to_string(entry.Problems) + " " +
                                         TranslateText("damaged lines skipped"));
        }
    }
    if (Entries_.empty()) {
        Append_Message(
            Messages, TranslateText("No firing records found in") + " " + Paths_.Logfiles_Folder());
    }
    Firings_Chosen({});
}

void Firing_History::Firings_Chosen(const std::vector<int>& rows) {
    Chosen.clear();
    Chosen_Records_.clear();
    Summary.clear();
    for (int row : rows) {
        if (row < 0 || row >= static_cast<int>(Entries_.size())) continue;
        const Firing_List_Entry& entry = Entries_[static_cast<std::size_t>(row)];
        // The plan of the record's own header; a record without one takes the profile's,
        // when the profile file is still there.
        Firing_Record_Header profile;
        if (!entry.Header.Profile_Name.empty()) {
            Header_Of_Profile_File(Paths_.Profile_File(entry.Header.Profile_Name), profile);
        }
        Firing_Record record;
        std::string error;
        if (!Read_Firing_Record(entry.Path, profile, record, error)) {
            Show_Problem(*this, {Operator_Text::Phrase("The firing record %1 could not be read",
                                                       {Operator_Text::Value(entry.File_Name)}),
                                 Operator_Text::Phrase("It may have been moved or damaged: "
                                                       "choose another firing")});
            continue;
        }
        Chosen.push_back(row);
        Chosen_Records_.push_back(std::move(record));
    }
    std::vector<const Firing_Record*> shown;
    for (const Firing_Record& record : Chosen_Records_) shown.push_back(&record);
    Chart = Build_Firing_Chart(shown);
    Summary = Join_Lines(Report_Lines());
    Print_Report_Enabled = !Chosen_Records_.empty();
}

std::vector<std::string> Firing_History::Report_Lines() const {
    std::vector<std::string> lines;
    for (const Firing_Record& record : Chosen_Records_) {
        if (!lines.empty()) lines.emplace_back();
        for (std::string& line :
             Firing_Report_Lines(record, Summarise(record, Energy_),
                                 [](const std::string& text) { return TranslateText(text); })) {
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
    std::string text;
    auto add_row = [&](const auto& cells, const std::string& file) {
        for (const auto& cell : cells) text += Csv_Field(cell) + ",";
        text += Csv_Field(file) + "\r\n";
    };
    add_row(Firing_List_Titles, "Record");
    for (const Firing_List_Entry& entry : Entries_)
        add_row(Firing_List_Row(entry), entry.File_Name);
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
    std::string name = std::filesystem::path(Chosen_Records_.front().Path).filename().string();
    name = name.substr(0, name.find('.')) + "_report.pdf";
    const std::string pdf = (Paths_.Folder() / "Printouts" / name).string();
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
