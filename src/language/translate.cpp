// SPDX-License-Identifier: GPL-3.0-or-later
#include "language/translate.h"

#include "language/language_database_interface_model.h"
#include "setup/program_settings.h"

namespace corvanel {

std::string CurrentLanguage;

std::string TranslateText(const std::string& text) {
    return Language_Editor_Instance().Translate(text);
}

void Use_Chosen_Language(Settings_Store& settings) {
    const std::string file = settings.Read(Program_Setting::InterfaceLanguage).Value;
    CurrentLanguage = file.size() >= 4 ? file.substr(0, file.size() - 4) : "";
}

std::string Translate_Phrase(std::string_view english) {
    return TranslateText(std::string(english));
}

}  // namespace corvanel
