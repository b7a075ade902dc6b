// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "common/error_numbers.h"

namespace corvanel {

// Text to number, the one conversion used by the editor, the loader, the run engine
// and the protocol. Leading and trailing blanks are skipped; an optional sign, digits
// with at most one decimal point and an optional exponent make a number. The decimal
// separator is always a point, whatever the machine's locale says.
struct Double_Conversion {
    std::optional<double> Value;
    Error_Number Error = Error_Number::None;  // Type_Mismatch or Overflow when Value is empty
};
Double_Conversion Convert_To_Double(std::string_view text);

// Whole 16-bit number: the text is converted as above and rounded half to even
// (2.5 gives 2, 3.5 gives 4); a result outside -32768..32767 is an overflow.
struct Int16_Conversion {
    std::optional<std::int16_t> Value;
    Error_Number Error = Error_Number::None;
};
Int16_Conversion Convert_To_Int16(std::string_view text);

// Rounds half to even into the 16-bit range; empty when it does not fit.
std::optional<std::int16_t> Round_To_Int16(double value);

// Throwing forms for statements inside a handler (see Run_Time_Error).
double Number_Of(std::string_view text);
std::int16_t Int16_Of(std::string_view text);

// -1, 0 or +1.
int Sign_Of(double value);

}  // namespace corvanel
