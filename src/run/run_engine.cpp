// SPDX-License-Identifier: GPL-3.0-or-later
#include "run/run_engine.h"

#include <algorithm>
#include <cmath>

#include "common/numeric.h"

namespace corvanel {

namespace {

std::int16_t Checked_Int16(double value) {
    std::optional<std::int16_t> whole = Round_To_Int16(value);
    if (!whole) throw Run_Time_Error(Error_Number::Overflow);
    return *whole;
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
    Set_Value_ = Checked_Int16(offset + tables.Seg_Start_Temp[i]);
}

void Run_Engine::Room_Temperature() {
    Set_Value_ = Soft_Off_Set_Value(Profile_.Fahrenheit());
}

}  // namespace corvanel
