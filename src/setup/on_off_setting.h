// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

namespace corvanel {

// A setting that turns something on or off: "checked" or "unchecked" on the first line
// of its file, as the other check-mark settings. A missing file means the default.
struct On_Off_Setting {
    bool On = true;
    bool Understood = true;  // false: the file holds something else; On is the default
    std::string Value;       // the line as read
};

On_Off_Setting Read_On_Off_Setting(const std::string& path, bool default_on);

}  // namespace corvanel
