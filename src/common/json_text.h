// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <string_view>

namespace corvanel {

// A JSON string literal with its quotes; quote, backslash and control characters escaped.
std::string Json_String(std::string_view text);

// A JSON number; null for a value that is not finite.
std::string Json_Number(double value);

}  // namespace corvanel
