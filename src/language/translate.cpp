// SPDX-License-Identifier: GPL-3.0-or-later
#include "language/translate.h"

#include "language/language_database_interface_model.h"

namespace corvanel {

std::string CurrentLanguage;

std::string TranslateText(const std::string& text) {
    return Language_Editor_Instance().Translate(text);
}

}  // namespace corvanel
