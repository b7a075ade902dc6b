// SPDX-License-Identifier: GPL-3.0-or-later
#include "language/language_names.h"

namespace corvanel {

std::string Language_Name_Of_File(const std::string& file_name) {
    if (file_name.size() < 4) return "";
    return file_name.substr(0, file_name.size() - 4);
}

std::string LowerCaseName(const std::string& text) {
    std::string lower = text;
    for (char& c : lower) {
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c + 32);
    }
    return lower;
}

bool IsValidLanguageName(const std::string& text) {
    for (char c : text) {
        bool allowed = c == '-' || (c >= '0' && c <= '9') || (c >= 'a' && c <= 'z');
        if (!allowed) return false;
    }
    return true;
}

}  // namespace corvanel
