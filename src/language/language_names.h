// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

namespace corvanel {

// The language name of a database file name: the name without its last four
// characters (".mdb"). A name of fewer than four characters names no language.
std::string Language_Name_Of_File(const std::string& file_name);

// Letters A to Z turned into a to z; every other character stays as it is.
std::string LowerCaseName(const std::string& text);

// True when every character is "-", "0" to "9" or "a" to "z" (so an empty text is valid).
bool IsValidLanguageName(const std::string& text);

}  // namespace corvanel
