// SPDX-License-Identifier: GPL-3.0-or-later
#include "remote/status_snapshot.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace corvanel {

Status_Snapshot::Status_Snapshot(std::size_t trace_limit) : Trace_Limit_(trace_limit) {
    Status_.Plan = std::make_shared<const Plan_Points>();
}

void Status_Snapshot::Firing_Changed(const Firing_Status& status, Firing_Event event,
                                     const std::string& detail) {
    Status_ = status;
    Taken_ = std::chrono::steady_clock::now();
    if (!Status_.Plan) Status_.Plan = std::make_shared<const Plan_Points>();
    switch (event) {
        case Firing_Event::Profile_Loaded:
            Clear_Trace();
            Ended_ = Run_End::None;
            break;
        case Firing_Event::Log_Changed:
            if (detail == "reset") Clear_Trace();
            break;
        case Firing_Event::Start:
        case Firing_Event::Recall_Resume:
            Ended_ = Run_End::None;
            break;
        case Firing_Event::Finished:
            Ended_ = Run_End::Finished;
            break;
        case Firing_Event::Soft_Off:
            // The run's own soft off follows "Profile Finished"; one with an alarm active
            // is the alarm's.
            if (!status.Alarms.empty()) {
                Ended_ = Run_End::Alarm;
            } else if (Ended_ != Run_End::Finished) {
                Ended_ = Run_End::Stopped;
            }
            break;
        case Firing_Event::Tick:
            if (Ticks_++ % Ticks_Per_Point_ != 0) break;
            if (Trace_.size() >= Trace_Limit_) {
                std::size_t kept = 0;
                for (std::size_t i = 0; i < Trace_.size(); i += 2) Trace_[kept++] = Trace_[i];
                Trace_.resize(kept);
                Ticks_Per_Point_ *= 2;
                // This tick is kept only if it falls on the new spacing.
                if ((Ticks_ - 1) % Ticks_Per_Point_ != 0) break;
            }
            // At the tick's real time; without a fresh reading the measured line has a gap.
            Trace_.push_back({status.Real_Elapsed, status.Set_Value,
                              status.Reading_At(status.Clock) == Firing_Status::Reading::Live
                                  ? status.Measured
                                  : std::nan("")});
            break;
        default:
            break;
    }
}

void Status_Snapshot::Clear_Trace() {
    Trace_.clear();
    Ticks_Per_Point_ = 1;
    Ticks_ = 0;
}

long long Status_Snapshot::Seconds_Since_Taken() const {
    return std::chrono::duration_cast<std::chrono::seconds>(std::chrono::steady_clock::now() -
                                                            Taken_)
        .count();
}

std::string Status_Snapshot::State_Name() const {
    if (!Status_.Alarms.empty()) return "alarm";
    if (Status_.Starts_At && Status_.State == Firing_State::Monitor) return "waiting";
    switch (Status_.State) {
        case Firing_State::Running:
            return "running";
        case Firing_State::Suspended:
            return "suspended";
        case Firing_State::Cooling:  // the run has ended; the hot kiln is still watched
            return "cooling";
        case Firing_State::Monitor:
            break;
    }
    return Ended_ == Run_End::Finished ? "finished" : "monitor";
}

std::vector<Trace_Point> Status_Snapshot::Trace_After(double since) const {
    std::vector<Trace_Point> after;
    std::copy_if(Trace_.begin(), Trace_.end(), std::back_inserter(after),
                 [since](const Trace_Point& point) { return point.Elapsed > since; });
    return after;
}

double Status_Snapshot::Seconds_Left() const {
    return Status_.Seconds_Left();
}

std::optional<Date_Time> Status_Snapshot::Finish_Time() const {
    if (Status_.State != Firing_State::Running) return std::nullopt;
    return Status_.Finish_Clock();
}

}  // namespace corvanel
