// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <filesystem>
#include <string>

#include "common/problem.h"
#include "setup/program_paths.h"

namespace corvanel {

// Exit status of a start refused because the program folder is taken.
inline constexpr int Second_Start_Status = 2;

// What a start says when another program already runs on its program folder (process
// `holder`, 0 when not known). Nothing of the folder or the port has been touched. A
// fault: this start ends.
Problem Second_Start_Problem(long holder);

// What a start says when its folder cannot be locked (`error` says why): it goes on
// without the check for a second start.
Problem Unlocked_Folder_Problem(const std::filesystem::path& folder, const std::string& error);

// The language the program folder has chosen, for a problem told before the program is
// up; the folder is only read.
Translate_Function Folder_Language(const Program_Paths& paths);

}  // namespace corvanel
