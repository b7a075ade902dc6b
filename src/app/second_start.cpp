// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/second_start.h"

#include <string>

#include "language/translate.h"
#include "setup/settings_store.h"

namespace corvanel {

Problem Second_Start_Problem(long holder) {
    Operator_Text what =
        holder > 0 ? Operator_Text::Phrase("Corvanel is already running for this kiln (process %1)",
                                           {Operator_Text::Value(std::to_string(holder))})
                   : Operator_Text::Phrase("Corvanel is already running for this kiln");
    return {std::move(what),
            Operator_Text::Phrase("Use its window, which is still open, or close it before "
                                  "starting Corvanel again. Nothing was changed."),
            Severity::Fault};
}

Problem Unlocked_Folder_Problem(const std::filesystem::path& folder, const std::string& error) {
    return Problem::Fixed("corvanel: " + folder.string() + ": cannot lock the program folder (" +
                          error + "); running without the check for a second start");
}

Translate_Function Folder_Language(const Program_Paths& paths) {
    Use_Language_Program_Folder(paths);
    Settings_Store settings(paths);
    Use_Chosen_Language(settings);
    return Translate_Phrase;
}

}  // namespace corvanel
