// SPDX-License-Identifier: GPL-3.0-or-later
#include "run/firing_status.h"

#include <algorithm>
#include <cmath>

namespace corvanel {

const char* Firing_Event_Name(Firing_Event event) {
    switch (event) {
        case Firing_Event::Tick:
            return "tick";
        case Firing_Event::Monitor_Tick:
            return "monitor";
        case Firing_Event::Start:
            return "start";
        case Firing_Event::Suspend:
            return "suspend";
        case Firing_Event::Resume:
            return "resume";
        case Firing_Event::Soft_Off:
            return "soft off";
        case Firing_Event::Finished:
            return "profile finished";
        case Firing_Event::Elapsed_Edited:
            return "elapsed edited";
        case Firing_Event::Communication_Error:
            return "communication error";
        case Firing_Event::Recall_Resume:
            return "program started with recall";
        case Firing_Event::Profile_Loaded:
            return "profile loaded";
        case Firing_Event::Log_Changed:
            return "log file";
        case Firing_Event::Alarm_Raised:
            return "alarm raised";
        case Firing_Event::Alarm_Cleared:
            return "alarm cleared";
        case Firing_Event::Cooling_Ended:
            return "after run ended";
        case Firing_Event::Link_Restored:
            return "link restored";
        case Firing_Event::Interrupted:
            return "interrupted";
        case Firing_Event::Set_Value_Held:
            return "set value held";
        case Firing_Event::Segment_Skipped:
            return "skip";
        case Firing_Event::Hold_Extended:
            return "hold extended";
        case Firing_Event::Segment_Changed:
            return "segment changed";
        case Firing_Event::Start_Waiting:
            return "waiting to start";
        case Firing_Event::Start_Cancelled:
            return "later start cancelled";
    }
    return "";
}

std::string Firing_Title(const Firing_Status& status, const Number_Style& style) {
    const double unit_seconds = Seconds_Per_Time_Unit(status.Time_Unit);
    const Date_Time start = Date_Time_Of_Seconds(
        Seconds_Of(status.Clock) - static_cast<long long>(status.Real_Elapsed * unit_seconds));
    std::string title;
    // The day is always written: a firing is found again by its day.
    for (const std::string& part :
         {status.Profile_Name,
          !status.Profile_Name.empty() && status.Real_Elapsed > 0 ? Clock_Shown(start, {}, style)
                                                                  : std::string(),
          status.Kiln_Name}) {
        if (!part.empty()) title += (title.empty() ? "" : " \u00b7 ") + part;
    }
    return title;
}

namespace {

// The plan's slope at `elapsed`: +1 rising, -1 falling, 0 flat (or past its end).
int Plan_Slope_At(const Plan_Points& plan, double elapsed) {
    for (std::size_t i = First_Drawn_Plan_Point(plan); i + 1 < plan.size(); ++i) {
        if (elapsed < plan[i].first || elapsed >= plan[i + 1].first) continue;
        const double rise = plan[i + 1].second - plan[i].second;
        return rise > 0 ? 1 : rise < 0 ? -1 : 0;
    }
    return 0;
}

// How far from a hold's set value the kiln still counts as holding (degrees of either
// scale: a kiln on its hold stays well within it).
constexpr double Hold_Band = 20;

}  // namespace

const char* Firing_State_Word(const Firing_Status& status) {
    if (!status.Alarms.empty()) return "Alarm";
    const bool past_end = status.Total_Time > 0 && status.Elapsed >= status.Total_Time;
    switch (status.State) {
        case Firing_State::Running:
            if (past_end) return "Finished";
            switch (status.Plan ? Plan_Slope_At(*status.Plan, status.Elapsed) : 0) {
                case 1:
                    return "Heating";
                case -1:
                    return "Cooling";
                default:
                    // A kiln still far from a hold's temperature is catching up to it, not
                    // holding: the word says what the kiln does, not what the plan does.
                    if (status.Has_Reading && !status.Input_Error) {
                        if (status.Measured < status.Set_Value - Hold_Band) return "Heating";
                        if (status.Measured > status.Set_Value + Hold_Band) return "Cooling";
                    }
                    return "Holding";
            }
        case Firing_State::Suspended:
            return "Holding";
        case Firing_State::Cooling:
            return past_end ? "Finished" : "Cooling";
        case Firing_State::Monitor:
            break;
    }
    return past_end && !status.Starts_At ? "Finished" : "Waiting";
}

std::size_t First_Drawn_Plan_Point(const Plan_Points& plan) {
    return plan.size() > 1 && plan[0] == std::make_pair(0.0, 0.0) && plan[1].first == 0 ? 1 : 0;
}

Date_Time Firing_Status::Finish_Clock() const {
    return Date_Time_Of_Seconds(Seconds_Of(Clock) + std::llround(Seconds_Left()));
}

double Firing_Status::Reading_Age(const Date_Time& now) const {
    return static_cast<double>(Seconds_Of(now) - Seconds_Of(Last_Reading));
}

Firing_Status::Reading Firing_Status::Reading_At(const Date_Time& now) const {
    if (Input_Error || !Has_Reading) return Reading::Absent;
    return Reading_Age(now) > 2 * Read_Interval ? Reading::Stale : Reading::Live;
}

void Firing_Status_Seam::Attach(Firing_Observer& observer) {
    if (std::find(Observers_.begin(), Observers_.end(), &observer) == Observers_.end()) {
        Observers_.push_back(&observer);
    }
}

void Firing_Status_Seam::Detach(Firing_Observer& observer) {
    std::replace(Observers_.begin(), Observers_.end(), &observer,
                 static_cast<Firing_Observer*>(nullptr));
}

void Firing_Status_Seam::Publish(const Firing_Status& status, Firing_Event event,
                                 const std::string& detail) {
    // By index: an observer told may attach another or detach itself; the detached are
    // swept out once the outermost publication is over.
    Latest_ = status;
    for (Firing_Annotator* annotator : Annotators_) annotator->Annotate(Latest_, event);
    const Firing_Status annotated = Latest_;  // an observer may publish again meanwhile
    ++Depth_;
    for (std::size_t i = 0; i < Observers_.size(); ++i) {
        if (Observers_[i]) Observers_[i]->Firing_Changed(annotated, event, detail);
    }
    if (--Depth_ == 0) std::erase(Observers_, nullptr);
}

}  // namespace corvanel
