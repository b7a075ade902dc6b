// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

namespace corvanel {

// What the program keeps of a firing beside its record, in a file of its own named after
// the record ("glaze_09_03_2027_13_00_00.notes" for ".notes"): the record itself is
// never touched.
std::string File_Beside_Record(const std::string& record_path, const std::string& suffix);

// The text of that file, "" when there is none or it cannot be read.
std::string Read_Beside_Record(const std::string& record_path, const std::string& suffix);

// Keeps the text, written whole and renamed into place; an empty text removes the file.
// False when it could not be kept.
bool Keep_Beside_Record(const std::string& record_path, const std::string& suffix,
                        const std::string& text);

}  // namespace corvanel
