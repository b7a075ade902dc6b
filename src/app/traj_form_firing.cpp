// SPDX-License-Identifier: GPL-3.0-or-later
// The run model's firing status: the snapshot every tick and run event publishes.

#include "app/traj_form_model.h"
#include "controller/front_panel_model.h"

namespace corvanel {

Firing_Status Traj_form::Firing_Status_Now() const {
    const double scale = Profile_.Controller_Scale();
    Firing_Status status;
    status.State = Control_Interval.Enabled ? Firing_State::Running
                   : Engine_.Suspended()    ? Firing_State::Suspended
                   : Supervisor.Cooling()   ? Firing_State::Cooling
                                            : Firing_State::Monitor;
    status.Clock = Services_.Time.Now();
    status.Kiln_Name = OvenName;
    status.Profile_Name = Profile_Name;
    status.Log_File = LogFile;
    status.Sensor_Type = Profile_.Sensor_Type();
    // Without a profile the readings are in the controller's own scale, once it is known.
    if (!Profile_.Temp_Scale().empty()) {
        status.Temp_Scale = Profile_.Temp_Scale();
    } else if (!Controller_Scale_.empty()) {
        status.Temp_Scale = Controller_Scale_;
    }
    if (!Engine_.Time_Unit().empty()) status.Time_Unit = Engine_.Time_Unit();
    const int segment = Engine_.Current_Segment();
    status.Segment = Profile_.Finished_Segment() > 0 ? segment : 0;
    status.Elapsed = Engine_.Elapsed();
    status.Total_Time = Profile_.Total_Time();
    status.Tick_Length = Control_Interval.Interval / 1000.0;
    status.Set_Value = Engine_.Set_Value() / scale;
    status.Measured = Shown_Degrees(Measured_Temp);
    status.Output_Percent = Output_Percent;
    if (segment >= 1 && segment < Profile_.Finished_Segment()) {
        double limit = Profile_.Tables().Seg_Error_Limit[static_cast<std::size_t>(segment - 1)];
        status.Error_Limit = limit >= No_Error_Limit ? 0 : limit / scale;
    }
    status.Exchange_Failed = Tick_Exchange_Failed;
    status.Input_Error = Services_.Panel.InputError;
    status.Alarms = Supervisor.Active_Alarms();
    status.Plan = Profile_.Plan();
    status.Has_Reading = Has_Reading_;
    status.Last_Reading = Last_Reading_;
    status.Read_Interval = Read_Interval();
    status.Real_Elapsed = Engine_.Real_Elapsed();
    // Outside a run the kiln is read on the monitoring tick, and the controller keeps the
    // set value it was given last, which that tick reads.
    if (status.State != Firing_State::Running) {
        status.Tick_Length = Monitor_Interval.Interval / 1000.0;
        if (Has_Controller_SV_) status.Set_Value = Shown_Degrees(Controller_SV_);
    }
    if (status.State == Firing_State::Cooling)
        status.Seconds_After_Run = Supervisor.Seconds_Cooling(status.Clock);
    if (status.State == Firing_State::Monitor && Supervisor.Alarm_Watch()) {
        status.Alarm_Record = Supervisor.Alarm_Record();
        status.Seconds_Of_Alarm_Record = Supervisor.Seconds_Of_Alarm_Watch(status.Clock);
    }
    return status;
}

void Traj_form::Publish_Firing(Firing_Event event, const std::string& detail) {
    Firing.Publish(Firing_Status_Now(), event, detail);
}

void Traj_form::Exchange_Failed(const std::string& message) {
    Tick_Exchange_Failed = true;
    Link_Failed();
    if (Control_Interval.Enabled) Publish_Firing(Firing_Event::Communication_Error, message);
}

}  // namespace corvanel
