// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>
#include <string>

#include "setup/settings_store.h"

namespace corvanel {

// What the run window keeps in the Setup folder for the next start: the recall check
// mark, the profile and log names, the notification list and its check mark, the port.
struct Kept_Setup {
    bool Recall = false;
    std::string Profile_Name, Log_Name, Email_List;
    bool Email_On = false;
    int Port = 1;
};

// Saves it; a value the store refuses, or a name left empty, leaves its file as it was.
void Save_Kept_Setup(Settings_Store& settings, const Kept_Setup& kept);

// What a start finds, as the run window has always read it: a missing file, or one whose
// value the setting may not have, gives nothing, and nothing is said about it; only a
// file saying exactly "checked" turns a check mark on.
struct Recalled_Setup {
    bool Recall = false, Email_On = false;
    std::string Email_List, Device_Name, Profile_Name, Log_Name;
    std::optional<std::string> Port;  // kept as it was written
};
Recalled_Setup Read_Kept_Setup(Settings_Store& settings);

}  // namespace corvanel
