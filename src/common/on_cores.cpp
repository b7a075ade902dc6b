// SPDX-License-Identifier: GPL-3.0-or-later
#include "common/on_cores.h"

#include <algorithm>
#include <atomic>
#include <thread>
#include <vector>

namespace corvanel {

void On_Cores(std::size_t count, const std::function<void(std::size_t)>& work) {
    std::atomic<std::size_t> next{0};
    auto worker = [&] {
        for (std::size_t i = next++; i < count; i = next++) work(i);
    };
    const std::size_t workers =
        std::min<std::size_t>(std::max(1u, std::thread::hardware_concurrency()), 8);
    std::vector<std::thread> helpers;
    for (std::size_t i = 1; i < workers && i < count; ++i) helpers.emplace_back(worker);
    worker();
    for (std::thread& helper : helpers) helper.join();
}

}  // namespace corvanel
