// SPDX-License-Identifier: GPL-3.0-or-later
#include "run/run_engine.h"

#include <algorithm>
#include <cmath>
#include <utility>
#include <vector>

#include "common/numeric.h"
#include "profiles/sensor_table.h"

namespace corvanel {

namespace {

std::int16_t Checked_Int16(double value) {
    std::optional<std::int16_t> whole = Round_To_Int16(value);
    if (!whole) throw Run_Time_Error(Error_Number::Overflow);
    return *whole;
}

// A bound on the set value and the limit it stands for.
struct Bound {
    double Value;
    Set_Value_Limit Limit;
};

// The tightest of the bounds, in whole controller units that keep inside it; the first
// of equals names it.
Bound Tightest(const std::vector<Bound>& bounds, bool upper) {
    Bound tightest = bounds.front();
    for (const Bound& bound : bounds) {
        if (upper ? bound.Value < tightest.Value : bound.Value > tightest.Value) tightest = bound;
    }
    tightest.Value = upper ? std::floor(tightest.Value) : std::ceil(tightest.Value);
    return tightest;
}

// The lowest and highest set value segment i may have: its own range, the profile's
// peak, the sensor's range and the controller's high set limit.
std::pair<Bound, Bound> Set_Value_Bounds(const Loaded_Profile& profile, std::size_t i,
                                         const Controller_Limits& controller) {
    const Run_Tables& tables = profile.Tables();
    double peak = tables.Seg_Start_Temp[0];
    for (int k = 0; k < profile.Finished_Segment() - 1 && k < Last_Segment_Row; ++k)
        peak = std::max({peak, tables.Seg_Start_Temp[k], tables.Seg_End_Temp[k]});
    std::vector<Bound> upper, lower;
    if (controller.High_Set_Limit)
        upper.push_back({double(*controller.High_Set_Limit), Set_Value_Limit::Controller_High});
    if (Sensor_Index_Of_Code(profile.Sensor_Type())) {
        const Range_Limits range = Set_Range_Limits(
            profile.Sensor_Type(), controller.Fahrenheit.value_or(profile.Fahrenheit()));
        const double per_degree = profile.Controller_Scale();
        upper.push_back({range.Max_Temp * per_degree, Set_Value_Limit::Sensor_Range});
        lower.push_back({range.Min_Temp * per_degree, Set_Value_Limit::Sensor_Range});
    }
    upper.push_back({peak, Set_Value_Limit::Profile_Peak});
    upper.push_back({std::max(tables.Seg_Start_Temp[i], tables.Seg_End_Temp[i]),
                     Set_Value_Limit::Segment_Range});
    lower.push_back({std::min(tables.Seg_Start_Temp[i], tables.Seg_End_Temp[i]),
                     Set_Value_Limit::Segment_Range});
    return {Tightest(lower, false), Tightest(upper, true)};
}

}  // namespace

void Run_Engine::Reset() {
    Begin_At(0);
    Current_Segment_ = 1;
}

void Run_Engine::Recall(double elapsed) {
    Elapsed_ = Base_ = Real_Elapsed_ = elapsed;
}

void Run_Engine::Convert_To_Unit(bool minutes) {
    const double factor = minutes ? 60.0 : 1.0 / 60;
    Elapsed_ *= factor;
    Base_ *= factor;
    Last_Tick_ *= factor;
    Real_Elapsed_ *= factor;
    Use_Minutes(minutes);
}

void Run_Engine::Count(double steady) {
    const double seconds = std::max(0.0, steady - Run_Start_Steady_);
    const Date_Time run_now = Date_Time_Of_Seconds(Seconds_Of(Run_Start_) +
                                                   static_cast<long long>(std::floor(seconds)));
    double minutes = static_cast<double>(Minute_Boundaries_Between(Run_Start_, run_now));
    if (Time_Unit_ == "H") minutes /= 60;
    Elapsed_ = minutes + Base_;
    Last_Tick_ = Elapsed_;
    Real_Elapsed_ = Base_ + seconds / Seconds_Per_Time_Unit(Time_Unit_);
}

int Run_Engine::Determine_Current_Segment(double time) const {
    int i = Profile_.Finished_Segment() - 1;
    for (; i >= 1; --i) {
        if (time >= Profile_.Tables().Seg_End_Time[static_cast<std::size_t>(i - 1)]) break;
    }
    if (i < 1) i = 0;
    return i + 1;
}

bool Run_Engine::Find_Segment() {
    Current_Segment_ = Determine_Current_Segment(Elapsed_);
    return Current_Segment_ == Profile_.Finished_Segment();
}

void Run_Engine::Follow_Profile() {
    const Run_Tables& tables = Profile_.Tables();
    const std::size_t i = static_cast<std::size_t>(Current_Segment_ - 1);
    double rate = (tables.Seg_End_Temp[i] - tables.Seg_Start_Temp[i]) /
                  (tables.Seg_End_Time[i] - tables.Seg_Start_Time[i]);
    std::int16_t offset = Checked_Int16((Elapsed_ - tables.Seg_Start_Time[i]) * rate);
    const std::int16_t asked = Checked_Int16(offset + tables.Seg_Start_Temp[i]);

    const auto [lowest, highest] = Set_Value_Bounds(Profile_, i, Controller_);
    double value = asked;
    Set_Value_Limit held_by = Set_Value_Limit::None;
    if (value < lowest.Value) {
        value = lowest.Value;
        held_by = lowest.Limit;
    }
    // The ceiling last: a segment above the controller's limit still gets no more.
    if (value > highest.Value) {
        value = highest.Value;
        held_by = highest.Limit;
    }
    Set_Value_ = Checked_Int16(value);
    Asked_ = asked;
    Held_By_ = held_by;
}

Operator_Text Run_Engine::Held_Text() const {
    Operator_Text limit;
    switch (Held_By_) {
        case Set_Value_Limit::None:
            return {};
        case Set_Value_Limit::Controller_High:
            limit = Operator_Text::Phrase("the controller's high set limit");
            break;
        case Set_Value_Limit::Sensor_Range:
            limit = Operator_Text::Phrase("the sensor's range");
            break;
        case Set_Value_Limit::Profile_Peak:
            limit = Operator_Text::Phrase("the profile's highest temperature");
            break;
        case Set_Value_Limit::Segment_Range:
            limit = Operator_Text::Phrase("the start and end temperatures of segment %1",
                                          {Operator_Text::Value(std::to_string(Current_Segment_))});
            break;
    }
    return Operator_Text::Phrase(
        "The profile asks for %1 here, beyond %2: the set value is held at %3",
        {Operator_Text::Value(Profile_.Controller_Units_Text(Asked_)), limit,
         Operator_Text::Value(Profile_.Controller_Units_Text(Set_Value_))});
}

void Run_Engine::Room_Temperature() {
    Set_Value_ = Soft_Off_Set_Value(Profile_.Fahrenheit());
}

}  // namespace corvanel
