// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/second_start.h"

#include <string>

#include "language/show_problem.h"
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
                                  "starting Corvanel again. Nothing was changed.")};
}

std::string Second_Start_Text(const Program_Paths& paths, long holder) {
    Use_Language_Program_Folder(paths);
    Settings_Store settings(paths);
    Use_Chosen_Language(settings);
    return Problem_Text(Second_Start_Problem(holder));
}

}  // namespace corvanel
