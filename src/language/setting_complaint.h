// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

#include "setup/setting.h"
#include "setup/settings_store.h"

namespace corvanel {

// A check mark's setting as read, with the message for a value that is not understood:
// which file, what it holds and the value used instead, in the words these settings
// have always used ("" when the file was understood or is missing).
struct Check_Mark_Reading {
    bool On = false;
    std::string Complaint;
};

// Reads its file now; a value not understood is said, and the default used.
Check_Mark_Reading Read_Check_Mark(Settings_Store& settings, const Setting& setting);

}  // namespace corvanel
