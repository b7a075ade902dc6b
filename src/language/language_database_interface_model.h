// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "common/platform.h"
#include "language/language_database.h"
#include "setup/program_paths.h"

namespace corvanel {

// One row of the phrase map: the English text and its four sub-items (TargetLanguage,
// EnglishComments, TargetLanguageComments, DateLastModified; NULL shown as empty).
struct Language_Map_Row {
    std::string Text;
    std::array<std::string, 4> SubItems;
};

// What LoadPhrases reads: the whole table, or a prefix search over one column. Name is
// how the source is named in the "no records" message.
struct Phrase_Source {
    enum class Kind { Whole_Table, English_Prefix, Target_Prefix };
    Kind Source_Kind = Kind::Whole_Table;
    std::string Prefix;
    std::string Name = "Language";

    static Phrase_Source Whole_Table() { return {}; }
    static Phrase_Source Search(bool english_column, const std::string& text);
};

// The language editor's form object: the editor window's state and handlers, and the
// phrase lookup every window uses through TranslateText. It outlives its window.
class LanguageDataBaseInterface {
  public:
    explicit LanguageDataBaseInterface(Program_Paths paths) : Paths_(std::move(paths)) {}

    // Lookup of one English phrase in the current language.
    std::string Translate(const std::string& SourcePhrase);

    // Window lifecycle.
    void Show();  // loads the window unless it is loaded already
    void Form_Load();
    void mnuExit_Click();
    bool Window_Loaded() const { return Window_Loaded_; }

    void LoadLanguageMap();
    void LoadPhrases(const Phrase_Source& source);
    void LoadListView(const std::vector<Phrase_Row>& rows, const std::string& source_name);

    void Display(const std::string& text);
    void ClearDisplay();

    // Operator events.
    void LanguageMap_ItemClick(int row_number);  // rows are numbered from 1
    void SearchBox_Change(const std::string& text);
    void SearchLanguageOption_Click(bool english);
    void DisplayEnglish_Change(const std::string& text);
    void DisplayTargetLanguage_Change(const std::string& text);
    void DisplayEnglishExplanation_Change(const std::string& text);
    void DisplayTargetLanguageExplanation_Change(const std::string& text);
    void mnuOpenLanguage_Click();

    void Set_File_Dialog(File_Dialog* dialog) { DBDialog_ = dialog; }
    const Program_Paths& Paths() const { return Paths_; }
    std::string Database_Path() const;

    // The phrase map's column headings; each column is this fraction of the map's width.
    static const std::array<std::string, 5>& Column_Headings();
    static constexpr double Column_Width_Factor = 0.2;

    // State of the form object.
    bool ErrorTrapping = false;
    std::string LanguageFileName;
    std::int16_t CurrentRow = 0;
    bool EditsEnabled = false;

    // Controls.
    std::vector<Language_Map_Row> LanguageMap;
    std::string LanguageName;
    std::string DBInterfaceDisplay;
    std::string DisplayEnglish;
    std::string DisplayTargetLanguage;
    std::string DisplayEnglishExplanation;
    std::string DisplayTargetLanguageExplanation;
    std::string EntryDateOfLastUpdate;
    std::string SearchBox;
    bool SearchLanguageOption = true;  // "English" selected; false: "Target Language"

  private:
    void Report(const Problem& problem);
    void Edit_Box(Editable_Column column, std::size_t sub_item, const std::string& label,
                  const std::string& text);
    void Show_Map_Row(const Language_Map_Row& row, bool with_date);

    Program_Paths Paths_;
    File_Dialog* DBDialog_ = nullptr;
    bool Window_Loaded_ = false;
};

// The shared form object, created on first use.
LanguageDataBaseInterface& Language_Editor_Instance();
bool Language_Editor_Exists();

}  // namespace corvanel
