// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <functional>

namespace corvanel {

// Does work(i) once for each i below count, spread over the machine's cores (eight at
// most); returns when all are done. The calls run at the same time: each may touch only
// what belongs to its own i.
void On_Cores(std::size_t count, const std::function<void(std::size_t)>& work);

}  // namespace corvanel
