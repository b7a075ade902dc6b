// SPDX-License-Identifier: GPL-3.0-or-later
#include "language/add_a_language.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

#include "language/language_database_interface_model.h"
#include "language/language_names.h"
#include "language/translate.h"
#include "setup/program_settings.h"
#include "setup/settings_store.h"

namespace corvanel {

namespace fs = std::filesystem;

namespace {

const char* const Instructions = "----------------------INSTRUCTIONS-------------------------";
const char* const Error_Line = "-------------------------ERROR-----------------------------";

}  // namespace

AddALanguage::AddALanguage(Program_Paths paths, Settings_Store& settings)
    : Show_Language_Editor([] { Language_Editor_Instance().Show(); }),
      Paths_(std::move(paths)),
      Settings_(settings) {}

std::string AddALanguage::Selected_Language_File() const {
    // Read now: the file may have been changed since the store last saw it.
    return Settings_.Read(Program_Setting::InterfaceLanguage).Value;
}

void AddALanguage::AddDisplayLine(const std::string& text) {
    AddALanguageDisplay += text;
    AddALanguageDisplay += "\r\n";
}

void AddALanguage::ClearDisplayLines() {
    AddALanguageDisplay.clear();
}

void AddALanguage::Form_Load() {
    Window_Loaded = true;
    AddDisplayLine(Instructions);
    AddDisplayLine("Use Select Language");
    AddDisplayLine("Check to see if the language you want is already available at:");
    AddDisplayLine("If not you can enter a new language translation");
    AddDisplayLine("First choose a language name > Enter the language name in box and click enter");
    AddDisplayLine(
        "Please do not use any accented characters as they do not work with the translate "
        "function");
    ListLanguages();
    std::string line = Selected_Language_File();
    SelectLanguageInList(line);
    // A line too short to hold a name and ".mdb" names no language.
    if (!Language_Name_Of_File(line).empty()) {
        AddDisplayLine("");
        AddDisplayLine("Current language selected=" + Language_Name_Of_File(line));
    } else {
        AddDisplayLine("");
        AddDisplayLine("No language was previously selected");
    }
}

void AddALanguage::ListLanguages() {
    LanguageList.clear();
    LanguageList_Selected.clear();
    ListIndex = -1;
    std::vector<std::string> names;
    std::error_code error;
    for (fs::directory_iterator it(Paths_.Language_Folder(), error), end; !error && it != end;
         it.increment(error)) {
        std::string file = it->path().filename().string();
        if (file.size() >= 4 && file.compare(file.size() - 4, 4, ".mdb") == 0 &&
            it->is_regular_file(error)) {
            names.push_back(Language_Name_Of_File(file));
        }
    }
    // Listings come in no fixed order; the operator finds a language faster sorted.
    std::sort(names.begin(), names.end());
    LanguageList = names;
    LanguageList_Selected.assign(names.size(), false);
    if (names.empty()) {
        AddDisplayLine("---------------------ATTENTION------------------------");
        AddDisplayLine(
            "No files in Language folder - There are no files to select from - See website for "
            "language file downloads");
    }
}

void AddALanguage::SelectLanguageInList(const std::string& language_file_name) {
    std::string name = Language_Name_Of_File(language_file_name);
    if (name.empty()) return;
    for (std::size_t i = 0; i < LanguageList.size(); ++i) {
        if (LanguageList[i] == name) {
            LanguageList_Selected[i] = true;
            ListIndex = static_cast<int>(i);
        }
    }
}

void AddALanguage::LanguageList_Click(int index) {
    if (index < 0 || static_cast<std::size_t>(index) >= LanguageList.size()) return;
    LanguageList_Selected.assign(LanguageList.size(), false);
    LanguageList_Selected[static_cast<std::size_t>(index)] = true;
    ListIndex = index;
}

void AddALanguage::LanguageSelectionFrame_Click() {
    ClearDisplayLines();
    AddDisplayLine(Instructions);
    AddDisplayLine(
        "To select language: Highlight language by clicking on it and then click  'Use This "
        "Language' button");
}

void AddALanguage::AddNewLanguageFrame_Click() {
    ClearDisplayLines();
    AddDisplayLine(Instructions);
    AddDisplayLine("Enter new language name and click 'Add This Language' to add a new language");
    AddDisplayLine("Do not use accented characters - they will not display correctly");
    AddDisplayLine(
        "You will need to enter a translation from English to your new language to use the "
        "temperature controller software with your language");
    AddDisplayLine("-----------------------ATTENTION---------------------------");
    AddDisplayLine("Please consider uploading your new language for usage by other users");
}

void AddALanguage::MakeDataBaseFile_Click() {
    ClearDisplayLines();
    bool exists = std::any_of(LanguageList.begin(), LanguageList.end(), [&](const auto& name) {
        return LowerCaseName(name) == LowerCaseName(LanguageName);
    });
    if (exists || LanguageName.empty()) {
        AddDisplayLine(Error_Line);
        AddDisplayLine("Language file with that name already exists");
        AddDisplayLine("Please select a different language name");
        AddDisplayLine("to do an updated version of an existing language use the language editor");
    } else {
        LanguageName = LowerCaseName(LanguageName);
        if (IsValidLanguageName(LanguageName)) {
            AddDisplayLine("Language name Selected is valid.");
            Add_Language(LanguageName);
            ListLanguages();
        } else {
            ClearDisplayLines();
            AddDisplayLine(Instructions);
            AddDisplayLine("Use only DASH, LETTERS, NUMBERS in language name");
        }
    }
    SelectLanguageInList(Selected_Language_File());
}

// Copies the template under the new name. The copy never replaces a file, and a copy
// that fails halfway leaves nothing behind.
void AddALanguage::Add_Language(const std::string& name) {
    fs::path template_file =
        fs::path(Paths_.Language_Folder()) / "LanguageTemplateFiles" / "LanguageDBTemplate.mdb";
    fs::path target = fs::path(Paths_.Language_Folder()) / (name + ".mdb");
    fs::path partial = fs::path(Paths_.Language_Folder()) / (name + ".mdb.copying");
    std::error_code error;
    if (!fs::is_regular_file(template_file, error)) {
        AddDisplayLine(Error_Line);
        AddDisplayLine("The language template file is missing: " + template_file.string());
        AddDisplayLine("No language file was created");
        return;
    }
    fs::remove(partial, error);
    error.clear();
    if (fs::copy_file(template_file, partial, fs::copy_options::none, error) &&
        !fs::exists(target)) {
        fs::rename(partial, target, error);
    } else if (!error) {
        error = std::make_error_code(std::errc::file_exists);
    }
    if (error) {
        std::error_code ignored;
        fs::remove(partial, ignored);
        AddDisplayLine(Error_Line);
        AddDisplayLine("The language template could not be copied: " + error.message());
        AddDisplayLine("No language file was created");
    }
}

void AddALanguage::UseSelectedLanguage_Click() {
    if (ListIndex < 0 || static_cast<std::size_t>(ListIndex) >= LanguageList.size()) {
        ClearDisplayLines();
        AddDisplayLine(Error_Line);
        AddDisplayLine("You have not selected a language");
        AddDisplayLine(Instructions);
        AddDisplayLine("-1- Use the mouse to click on the language you want to use");
        AddDisplayLine("-2- Then click on 'Use This Language' button");
        return;
    }
    std::string name = LanguageList[static_cast<std::size_t>(ListIndex)];
    Settings_.Write(Program_Setting::InterfaceLanguage, name + ".mdb");
    ClearDisplayLines();
    AddDisplayLine("InterfaceLanguage set to: " + name);
    CurrentLanguage = name;
}

void AddALanguage::OpenLanguageEditor_Click() {
    if (Show_Language_Editor) Show_Language_Editor();
}

void AddALanguage::cmdDone_Click() {
    Window_Loaded = false;
}

}  // namespace corvanel
