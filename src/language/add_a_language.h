// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "setup/program_paths.h"
#include "setup/settings_store.h"

namespace corvanel {

// The language window's model: lists the language databases, creates a new one from
// the template, makes one current and opens the language editor. Its own texts are
// English in every language.
class AddALanguage {
  public:
    // The language chosen is a setting of the program's store.
    AddALanguage(Program_Paths paths, Settings_Store& settings);

    void Form_Load();  // each opening of the window
    void ListLanguages();
    void SelectLanguageInList(const std::string& language_file_name);
    void AddDisplayLine(const std::string& text);
    void ClearDisplayLines();

    // Operator events.
    void LanguageList_Click(int index);
    void LanguageSelectionFrame_Click();
    void AddNewLanguageFrame_Click();
    void MakeDataBaseFile_Click();
    void UseSelectedLanguage_Click();
    void OpenLanguageEditor_Click();
    void cmdDone_Click();

    // Controls.
    std::string LanguageName;
    std::vector<std::string> LanguageList;
    std::vector<bool> LanguageList_Selected;
    int ListIndex = -1;  // the highlighted entry, -1 for none
    std::string AddALanguageDisplay;
    bool Window_Loaded = false;

    // Shows the language editor; the program's default shows the shared editor.
    std::function<void()> Show_Language_Editor;

  private:
    std::string Selected_Language_File() const;
    void Add_Language(const std::string& name);

    Program_Paths Paths_;
    Settings_Store& Settings_;
};

}  // namespace corvanel
