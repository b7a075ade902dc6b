// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

#include "setup/on_off_setting.h"

namespace corvanel {

// The message for a setting file whose value is not understood: which file, what it
// holds and the default used instead.
std::string Setting_Complaint(const std::string& file_name, const On_Off_Setting& setting);

}  // namespace corvanel
