// SPDX-License-Identifier: GPL-3.0-or-later
#include "history/firing_notes.h"

#include "history/beside_record.h"

namespace corvanel {

std::string Notes_File_Of_Record(const std::string& record_path) {
    return File_Beside_Record(record_path, ".notes");
}

std::string Read_Firing_Notes(const std::string& record_path) {
    return Read_Beside_Record(record_path, ".notes");
}

Maybe_Problem Write_Firing_Notes(const std::string& record_path, const std::string& notes) {
    if (Keep_Beside_Record(record_path, ".notes", notes)) return std::nullopt;
    return Problem{Operator_Text::Phrase("The notes were not kept"),
                   Operator_Text::Phrase("Check that the records' folder can be written, then "
                                         "save the notes again")};
}

}  // namespace corvanel
