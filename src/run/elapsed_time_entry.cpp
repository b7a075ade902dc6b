// SPDX-License-Identifier: GPL-3.0-or-later
#include "run/elapsed_time_entry.h"

#include "common/numeric.h"

namespace corvanel {

bool Elapsed_Time_Entry::Take(const std::string& text) {
    Double_Conversion number = Convert_To_Double(text);
    if (!number.Value) return false;
    Entered_ = *number.Value;
    return true;
}

}  // namespace corvanel
