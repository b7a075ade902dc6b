// SPDX-License-Identifier: GPL-3.0-or-later
#include "setup/on_off_setting.h"

#include <filesystem>

#include "setup/setup_files.h"

namespace corvanel {

On_Off_Setting Read_On_Off_Setting(const std::string& path, bool default_on) {
    On_Off_Setting setting;
    setting.On = default_on;
    std::error_code error;
    if (!std::filesystem::exists(path, error)) return setting;
    setting.Value = Read_First_Line(path);
    if (setting.Value == "checked") {
        setting.On = true;
    } else if (setting.Value == "unchecked") {
        setting.On = false;
    } else {
        setting.Understood = false;
    }
    return setting;
}

}  // namespace corvanel
