// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>

namespace corvanel {

// The status page's bytes, made by the build from page/status.html.
extern const char Status_Page_Data[];
extern const std::size_t Status_Page_Size;

}  // namespace corvanel
