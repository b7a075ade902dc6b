// SPDX-License-Identifier: GPL-3.0-or-later
#include "language/language_database_interface_model.h"
#include "common/fixed_message.h"

#include <memory>

#include "common/error_numbers.h"
#include "common/text.h"
#include "language/language_names.h"
#include "language/show_problem.h"
#include "language/translate.h"
#include "setup/program_settings.h"
#include "setup/settings_store.h"
#include "setup/setup_files.h"

namespace corvanel {

namespace {

// Row numbers are 16-bit: the map shows at most this many entries.
constexpr std::size_t Max_Map_Rows = 32767;

std::unique_ptr<Program_Paths>& Shared_Paths() {
    static std::unique_ptr<Program_Paths> paths;
    return paths;
}

std::unique_ptr<LanguageDataBaseInterface>& Shared_Editor() {
    static std::unique_ptr<LanguageDataBaseInterface> editor;
    return editor;
}

}  // namespace

Phrase_Source Phrase_Source::Search(bool english_column, const std::string& text) {
    Phrase_Source source;
    source.Source_Kind = english_column ? Kind::English_Prefix : Kind::Target_Prefix;
    source.Prefix = text;
    // Named the way the operator reads the search: everything beginning with the text.
    source.Name = "SELECT * FROM Language WHERE " +
                  std::string(english_column ? "English" : "TargetLanguage") + " Like '" + text +
                  "*'";
    return source;
}

const std::array<std::string, 5>& LanguageDataBaseInterface::Column_Headings() {
    static const std::array<std::string, 5> headings = {
        "English", "TargetLanguage", "English Comments", "Target Comments", "Date Last Modified"};
    return headings;
}

std::string LanguageDataBaseInterface::Database_Path() const {
    return Paths_.Language_Folder() + LanguageFileName;
}

std::string LanguageDataBaseInterface::Translate(const std::string& SourcePhrase) {
    if (CurrentLanguage == "english") return SourcePhrase;
    try {
        Language_Database database(Paths_.Language_Folder() + CurrentLanguage + ".mdb",
                                   Language_Database::Access::Read_Only);
        auto row = database.Find(SourcePhrase);
        if (!row || !row->TargetLanguage) return SourcePhrase;
        return *row->TargetLanguage;
    } catch (const Language_Database_Error& error) {
        if (ErrorTrapping) Report(Problem_Of(error, "Translate routine", " Error number= "));
        return SourcePhrase;
    }
}

void LanguageDataBaseInterface::Report(const Problem& problem) {
    Display(Problem_Text(problem));
}

void LanguageDataBaseInterface::Display(const std::string& text) {
    Append_Message(DBInterfaceDisplay, text);
}

void LanguageDataBaseInterface::ClearDisplay() {
    DBInterfaceDisplay.clear();
}

void LanguageDataBaseInterface::Show() {
    if (!Window_Loaded_) Form_Load();
}

void LanguageDataBaseInterface::Form_Load() {
    Window_Loaded_ = true;
    ErrorTrapping = true;
    LanguageFileName = Settings_Store(Paths_).Value(Program_Setting::InterfaceLanguage);
    if (!LanguageFileName.empty()) {
        ClearDisplay();
        LanguageName = Language_Name_Of_File(LanguageFileName);
        Display("db engine version= " + Language_Database::Engine_Version());
        Display("Opening language database at: " + Database_Path());
        LoadLanguageMap();
    } else {
        ClearDisplay();
        Display(Words_Of(Fixed_Message::No_Language_Selected));
    }
    SearchLanguageOption = true;
    EditsEnabled = true;
    CurrentRow = 1;
}

void LanguageDataBaseInterface::mnuExit_Click() {
    // Every edit is already in the database; the form object and its state stay.
    Window_Loaded_ = false;
    EditsEnabled = false;
}

void LanguageDataBaseInterface::LoadLanguageMap() {
    LoadPhrases(Phrase_Source::Whole_Table());
}

void LanguageDataBaseInterface::LoadPhrases(const Phrase_Source& source) {
    CurrentRow = 1;
    std::vector<Phrase_Row> rows;
    try {
        Language_Database database(Database_Path(), Language_Database::Access::Read_Only);
        switch (source.Source_Kind) {
            case Phrase_Source::Kind::Whole_Table:
                rows = database.Select_All();
                break;
            case Phrase_Source::Kind::English_Prefix:
                rows = database.Select_Prefix(true, source.Prefix);
                break;
            case Phrase_Source::Kind::Target_Prefix:
                rows = database.Select_Prefix(false, source.Prefix);
                break;
        }
    } catch (const Language_Database_Error& error) {
        if (ErrorTrapping) Report(Problem_Of(error, "LoadPhrases routine"));
        return;  // the map keeps its rows
    }
    LoadListView(rows, source.Name);
}

void LanguageDataBaseInterface::Show_Map_Row(const Language_Map_Row& row, bool with_date) {
    DisplayEnglish = row.Text;
    DisplayTargetLanguage = row.SubItems[0];
    DisplayEnglishExplanation = row.SubItems[1];
    DisplayTargetLanguageExplanation = row.SubItems[2];
    if (with_date) EntryDateOfLastUpdate = row.SubItems[3];
}

void LanguageDataBaseInterface::LoadListView(const std::vector<Phrase_Row>& rows,
                                             const std::string& source_name) {
    LanguageMap.clear();
    if (rows.empty()) {
        Display("There were no records found in table " + source_name);
        return;
    }
    for (const Phrase_Row& row : rows) {
        if (LanguageMap.size() == Max_Map_Rows) {
            Display("The phrase map shows the first " + std::to_string(Max_Map_Rows) +
                    " entries only");
            break;
        }
        LanguageMap.push_back(
            {row.English,
             {row.TargetLanguage.value_or(""), row.EnglishComments.value_or(""),
              row.TargetLanguageComments.value_or(""), row.DateLastModified.value_or("")}});
    }
    bool edits = EditsEnabled;
    EditsEnabled = false;  // filling the boxes writes nothing back
    Show_Map_Row(LanguageMap.front(), true);
    EditsEnabled = edits;
}

void LanguageDataBaseInterface::LanguageMap_ItemClick(int row_number) {
    if (row_number < 1 || static_cast<std::size_t>(row_number) > LanguageMap.size()) {
        if (ErrorTrapping) {
            Report(Routine_Problem("LanguageMap_ItemClick routine",
                                   "Error number= ", To_Int(Error_Number::Subscript_Out_Of_Range),
                                   "Index out of bounds"));
        }
        return;
    }
    CurrentRow = static_cast<std::int16_t>(row_number);
    EditsEnabled = false;
    Show_Map_Row(LanguageMap[static_cast<std::size_t>(row_number - 1)], false);
    EditsEnabled = true;
}

void LanguageDataBaseInterface::SearchBox_Change(const std::string& text) {
    SearchBox = text;
    // An empty box shows every entry, also those never translated.
    if (text.empty()) {
        LoadPhrases(Phrase_Source::Whole_Table());
    } else {
        LoadPhrases(Phrase_Source::Search(SearchLanguageOption, text));
    }
}

void LanguageDataBaseInterface::SearchLanguageOption_Click(bool english) {
    SearchLanguageOption = english;  // the next change of the search text searches again
}

void LanguageDataBaseInterface::DisplayEnglish_Change(const std::string& text) {
    DisplayEnglish = text;
}

void LanguageDataBaseInterface::DisplayTargetLanguage_Change(const std::string& text) {
    DisplayTargetLanguage = text;
    if (EditsEnabled) {
        Edit_Box(Editable_Column::TargetLanguage, 0, "DisplayTargetLanguage_Change routine", text);
    }
}

void LanguageDataBaseInterface::DisplayEnglishExplanation_Change(const std::string& text) {
    DisplayEnglishExplanation = text;
    if (EditsEnabled) {
        Edit_Box(Editable_Column::EnglishComments, 1, "DisplayEnglishExplanation_Change", text);
    }
}

void LanguageDataBaseInterface::DisplayTargetLanguageExplanation_Change(const std::string& text) {
    DisplayTargetLanguageExplanation = text;
    if (EditsEnabled) {
        Edit_Box(Editable_Column::TargetLanguageComments, 2,
                 "DisplayTargetLanguageExplanation_Change routine", text);
    }
}

void LanguageDataBaseInterface::Edit_Box(Editable_Column column, std::size_t sub_item,
                                         const std::string& label, const std::string& text) {
    try {
        Language_Database database(Database_Path(), Language_Database::Access::Read_Write);
        database.Update(column, text, DisplayEnglish);
    } catch (const Language_Database_Error& error) {
        if (ErrorTrapping) Report(Problem_Of(error, label));
    }
    if (CurrentRow < 1 || static_cast<std::size_t>(CurrentRow) > LanguageMap.size()) {
        if (ErrorTrapping) {
            Report(Routine_Problem(label,
                                   "Error number= ", To_Int(Error_Number::Subscript_Out_Of_Range),
                                   "Index out of bounds"));
        }
        return;
    }
    LanguageMap[static_cast<std::size_t>(CurrentRow - 1)].SubItems[sub_item] = text;
}

void LanguageDataBaseInterface::mnuOpenLanguage_Click() {
    File_Dialog_Request request;
    request.Initial_Folder = Paths_.Language_Folder();
    request.Filter = "Language Database (*.mdb) |*.mdb";
    File_Dialog_Result result =
        DBDialog_ ? DBDialog_->Show_Open(request)
                  : File_Dialog_Result::Failed(Error_Number::Path_File_Access_Error);
    if (result.Result == File_Dialog_Result::Outcome::Cancelled) return;
    if (result.Result == File_Dialog_Result::Outcome::Failed) {
        if (ErrorTrapping) {
            Report(Routine_Problem("mnuOpenLanguage_Click routine", "Error number= ",
                                   To_Int(result.Error), "The file dialog could not be shown"));
        }
        return;
    }
    // Only the name counts: the database is always the one in LanguageFiles.
    LanguageFileName = File_Name_Of_Path(result.Path);
    LoadLanguageMap();
    LanguageName = Language_Name_Of_File(LanguageFileName);
    ClearDisplay();
    Display("Opening language database: " + LanguageName);
}

LanguageDataBaseInterface& Language_Editor_Instance() {
    auto& editor = Shared_Editor();
    if (!editor) {
        auto& paths = Shared_Paths();
        if (!paths) paths = std::make_unique<Program_Paths>(Program_Paths::Of_Executable());
        editor = std::make_unique<LanguageDataBaseInterface>(*paths);
    }
    return *editor;
}

bool Language_Editor_Exists() {
    return Shared_Editor() != nullptr;
}

void Use_Language_Program_Folder(const Program_Paths& paths) {
    Shared_Paths() = std::make_unique<Program_Paths>(paths);
    Shared_Editor().reset();
}

}  // namespace corvanel
