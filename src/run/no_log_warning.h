// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <vector>

#include "setup/settings_store.h"

namespace corvanel {

// What a firing started without a log file says about it (nothing when a log file is
// chosen or Setup/WarnWithoutLogFile.txt says "unchecked"). The run goes on either way.
std::vector<std::string> No_Log_File_Messages(Settings_Store& settings,
                                              const std::string& log_file);

}  // namespace corvanel
