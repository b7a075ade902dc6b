// SPDX-License-Identifier: GPL-3.0-or-later
#include "language/translate.h"

#include "language/language_editor.h"

namespace corvanel {

std::string CurrentLanguage;

std::string TranslateText(const std::string& text) {
    return Language_Editor_Instance().Translate(text);
}

}  // namespace corvanel
