// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

#include "setup/program_paths.h"
#include "setup/setting.h"

namespace corvanel {

// The message for a check mark's file whose value is not understood: which file, what it
// holds and the value used instead, in the words these settings have always used.
std::string Setting_Complaint(const Program_Paths& paths, const Setting& setting,
                              const std::string& used);

}  // namespace corvanel
