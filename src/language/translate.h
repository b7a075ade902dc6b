// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <string_view>

#include "setup/program_paths.h"
#include "setup/settings_store.h"

namespace corvanel {

// The current interface language: a database name without folder or extension.
// "english" (exactly) means no translation at all; empty until start-up reads the
// selected-language file, which leaves every text in English.
extern std::string CurrentLanguage;

// The translation of an English text into the current interface language. Creates the
// language editor's form object on first use (without loading its window) and asks it.
std::string TranslateText(const std::string& text);
// The same, where a Translate_Function is wanted (an Operator_Text shown, a dialog built
// from settings).
std::string Translate_Phrase(std::string_view english);

// The program folder whose LanguageFiles the shared language editor and every lookup
// use. The program keeps the folder of its executable; tests and tools point it at a
// folder of their own, which starts a fresh form object as a new program start would.
void Use_Language_Program_Folder(const Program_Paths& paths);

// The language the Setup folder has chosen ("german.mdb" there) becomes the current one;
// none chosen leaves every text in English.
void Use_Chosen_Language(Settings_Store& settings);

}  // namespace corvanel
