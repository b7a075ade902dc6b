// SPDX-License-Identifier: GPL-3.0-or-later
#include "history/firing_notes.h"

#include <filesystem>

#include "run/firing_record.h"
#include "setup/setup_files.h"

namespace corvanel {

std::string Notes_File_Of_Record(const std::string& record_path) {
    std::string path = record_path;
    if (path.ends_with(Firing_Record_Suffix)) path.resize(path.size() - Firing_Record_Suffix.size());
    return path + ".notes";
}

std::string Read_Firing_Notes(const std::string& record_path) {
    std::string text;
    std::error_code missing;
    if (!std::filesystem::exists(Notes_File_Of_Record(record_path), missing)) return "";
    if (Read_Record_File(Notes_File_Of_Record(record_path), text)) return "";
    return text;
}

Maybe_Problem Write_Firing_Notes(const std::string& record_path, const std::string& notes) {
    const std::string path = Notes_File_Of_Record(record_path);
    std::error_code error;
    if (notes.empty() ? (std::filesystem::remove(path, error), !error)
                      : Replace_File_Contents(path, notes)) {
        return std::nullopt;
    }
    return Problem{Operator_Text::Phrase("The notes were not kept"),
                   Operator_Text::Phrase("Check that the records' folder can be written, then "
                                         "save the notes again")};
}

}  // namespace corvanel
