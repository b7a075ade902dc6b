// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <functional>
#include <string>

namespace corvanel {

// The guard's log, bounded: a line that comes again is counted instead of written again,
// and the count is written when another line comes, at the latest every few minutes and
// at the end. A fault that repeats at speed then costs a line per few minutes, not the
// disk.
class Guard_Log {
  public:
    // `write` puts one line out (it stamps it); `seconds` is a clock that never goes back.
    Guard_Log(std::function<void(const std::string&)> write, std::function<double()> seconds,
              double count_every_seconds = 300)
        : Write_(std::move(write)), Seconds_(std::move(seconds)), Every_(count_every_seconds) {}
    ~Guard_Log() { Say_Count(); }
    Guard_Log(const Guard_Log&) = delete;
    Guard_Log& operator=(const Guard_Log&) = delete;

    void Log(const std::string& line);
    // The count of repeats not yet said, now (before the place it writes to closes).
    void Flush() { Say_Count(); }

  private:
    void Say_Count();

    std::function<void(const std::string&)> Write_;
    std::function<double()> Seconds_;
    double Every_;
    std::string Last_;
    bool Any_ = false;
    long long Repeats_ = 0;  // of Last_, not yet said
    double Counted_Since_ = 0;
};

}  // namespace corvanel
