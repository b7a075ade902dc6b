// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

#include "run/firing_record.h"
#include "support/temp_folder.h"

namespace corvanel::testing {

// The tick lines in a firing record.
inline int Tick_Lines(const std::string& record_path) {
    int ticks = 0;
    for (const Firing_Record_Line& line : Parse_Firing_Record(Read_Whole_File(record_path)).Lines)
        ticks += line.Is_Tick();
    return ticks;
}

}  // namespace corvanel::testing
