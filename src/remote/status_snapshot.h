// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <chrono>
#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "run/firing_status.h"

namespace corvanel {

// One control tick of this firing as the chart draws it: at its real time since the
// start, in the profile's unit; Measured NaN without a fresh reading.
struct Trace_Point {
    double Elapsed = 0, Set_Value = 0, Measured = 0;
};

// What the status page and the publisher show: the last firing status and the traces of
// this firing, kept up to date by the run model's ticks and events.
class Status_Snapshot : public Firing_Observer {
  public:
    // Past this many points every second one is dropped and from then on only every
    // second tick is kept, so a firing of days stays small and its points evenly spaced.
    explicit Status_Snapshot(std::size_t trace_limit = 100000);

    void Firing_Changed(const Firing_Status& status, Firing_Event event,
                        const std::string& detail) override;

    const Firing_Status& Status() const { return Status_; }
    // Whole seconds since the status came: a page asked while no tick comes (the program
    // busy, Comm Port Config open) sees the reading grow old.
    long long Seconds_Since_Taken() const;
    // "monitor", "running", "suspended", "finished" (until the next start or profile) or
    // "alarm" (while an alarm is active).
    std::string State_Name() const;
    // How the last run of this profile ended, until the next start or profile.
    enum class Run_End { None, Finished, Stopped, Alarm };
    Run_End Ended() const { return Ended_; }
    const std::vector<Trace_Point>& Trace() const { return Trace_; }
    // 1 while the trace holds every control tick of this firing; otherwise it holds one
    // tick in this many.
    std::size_t Trace_Ticks_Per_Point() const { return Ticks_Per_Point_; }
    // The points taken after the elapsed time `since`, in tick order.
    std::vector<Trace_Point> Trace_After(double since) const;
    // Seconds to the profile's end, and the clock time the firing ends, while it runs.
    double Seconds_Left() const;
    std::optional<Date_Time> Finish_Time() const;

  private:
    void Clear_Trace();

    Firing_Status Status_;
    std::chrono::steady_clock::time_point Taken_ = std::chrono::steady_clock::now();
    Run_End Ended_ = Run_End::None;
    std::vector<Trace_Point> Trace_;
    std::size_t Trace_Limit_;
    std::size_t Ticks_Per_Point_ = 1;
    std::size_t Ticks_ = 0;  // of this trace, the next one's number
};

}  // namespace corvanel
