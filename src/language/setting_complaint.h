// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

#include "setup/program_paths.h"
#include "setup/setting.h"

namespace corvanel {

// A check mark's setting as read, with the message for a value that is not understood:
// which file, what it holds and the value used instead, in the words these settings
// have always used ("" when the file was understood or is missing).
struct Check_Mark_Reading {
    bool On = false;
    std::string Complaint;
};

// Reads it where it is only read, observed by no one: a store of its own over the folder.
Check_Mark_Reading Read_Check_Mark(const Program_Paths& paths, const Setting& setting);

}  // namespace corvanel
