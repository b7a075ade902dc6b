// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <filesystem>
#include <string>

#include "common/problem.h"

namespace corvanel {

// "Start Corvanel when I log in": the desktop session's autostart entry for this program
// folder ($XDG_CONFIG_HOME/autostart, by default ~/.config/autostart), named after the
// folder so that two kilns have an entry each. It starts `program`, whose folder is the
// program folder (an installed program finds its folder by itself).
std::filesystem::path Autostart_Entry_Path(const std::filesystem::path& program_folder);
std::string Autostart_Entry_Text(const std::string& program);

// Writes or removes the entry; the problem when it cannot.
Maybe_Problem Keep_Autostart_Entry(bool wanted, const std::filesystem::path& program_folder,
                                   const std::string& program);

}  // namespace corvanel
