// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "common/problem.h"
#include "setup/program_paths.h"

namespace corvanel {

// Exit status of a start refused because the program folder is taken.
inline constexpr int Second_Start_Status = 2;

// What a start says when another program already runs on its program folder (process
// `holder`, 0 when not known). Nothing of the folder or the port has been touched.
Problem Second_Start_Problem(long holder);

// The problem's text in the language the program folder has chosen; only read from it.
std::string Second_Start_Text(const Program_Paths& paths, long holder);

}  // namespace corvanel
