// SPDX-License-Identifier: GPL-3.0-or-later
#include "history/cone_watch.h"

#include "history/witness_cones.h"
#include "run/firing_record.h"

namespace corvanel {

Cone_Watch::Cone_Watch(Program_Paths paths, Settings_Store& settings)
    : Paths_(std::move(paths)), Settings_(settings) {}

void Cone_Watch::Read_Record(const Firing_Status& status) {
    Firing_Record record;
    const std::string path = Paths_.Logfile(Firing_Record_Name(status.Log_File));
    if (!status.Log_File.empty() && !Read_Firing_Record(path, {}, record) &&
        record.Header.Temp_Scale == status.Temp_Scale) {
        Readings_ = Readings_Of(record);
    }
}

void Cone_Watch::Annotate(Firing_Status& status, Firing_Event event) {
    switch (event) {
        case Firing_Event::Profile_Loaded:
        case Firing_Event::Start:
            if (event == Firing_Event::Start && status.Elapsed > 0) break;  // a resume
            Readings_.clear();
            Reached_ = {};
            break;
        case Firing_Event::Recall_Resume:
            Read_Record(status);
            break;
        default:
            break;
    }
    const bool live = status.Reading_At(status.Clock) == Firing_Status::Reading::Live;
    const double unit = Seconds_Per_Time_Unit(status.Time_Unit);
    if (live && event == Firing_Event::Tick && status.Run_Active()) {
        Readings_.push_back({status.Real_Elapsed * unit, status.Measured});
    } else if (live && event == Firing_Event::Monitor_Tick &&
               status.State == Firing_State::Cooling) {
        Readings_.push_back({status.Elapsed_After_Run() * unit, status.Measured});
    }
    // Once a minute: the reading goes over every reading of the firing.
    if (Seconds_Of(status.Clock) - Last_Read_ >= 60 && !Readings_.empty()) {
        Last_Read_ = Seconds_Of(status.Clock);
        const Cone_Reached reached = Cone_Of_Readings(Readings_, status.Temp_Scale);
        // Told once the kiln has left its peak: until then the heat-work still grows.
        const bool past_peak =
            reached.Known() &&
            Readings_.back().Temperature <
                reached.Peak - Peak_Band_C * (status.Temp_Scale == "F" ? 1.8 : 1);
        Reached_ = past_peak ? Cone_Reached_Text(With_Cone_Offset(
                                   reached, Read_Cone_Offset(Settings_).For(status.Kiln_Name)))
                             : Operator_Text{};
    }
    status.Cone = Reached_;
}

}  // namespace corvanel
