// SPDX-License-Identifier: GPL-3.0-or-later
#include "common/error_numbers.h"

#include "common/text.h"

namespace corvanel {

Problem Problem_Of(const Run_Time_Error& error, const std::vector<std::string>& where) {
    std::vector<std::string> lines = where;
    lines.push_back("Error Number= " + std::to_string(To_Int(error.Number)));
    return Problem::Fixed(Join_Lines(lines));
}

}  // namespace corvanel
