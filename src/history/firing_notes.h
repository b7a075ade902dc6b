// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

#include "common/problem.h"

namespace corvanel {

// The potter's notes on a firing (what was in the kiln, the cone pack, what to change),
// kept beside its record in "<record name>.notes" (not ".txt": the log dialogs list
// those), written whole and renamed into place; the record itself is never touched.
std::string Notes_File_Of_Record(const std::string& record_path);
// The notes, "" when there are none.
std::string Read_Firing_Notes(const std::string& record_path);
// Keeps the notes; empty notes remove the file. A problem when they could not be kept.
Maybe_Problem Write_Firing_Notes(const std::string& record_path, const std::string& notes);

}  // namespace corvanel
