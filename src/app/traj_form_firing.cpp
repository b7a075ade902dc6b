// SPDX-License-Identifier: GPL-3.0-or-later
// The run model's firing status: the snapshot every tick and run event publishes.

#include "app/traj_form_model.h"
#include "controller/front_panel_model.h"
#include "profiles/run_profile.h"

namespace corvanel {

Firing_Status Traj_form::Firing_Status_Now() const {
    const double scale = Is_Platinum_Sensor(Sensor_Type) ? 10.0 : 1.0;
    Firing_Status status;
    status.State = Control_Interval.Enabled ? Firing_State::Running
                   : Run_Suspended          ? Firing_State::Suspended
                                            : Firing_State::Monitor;
    status.Clock = Services_.Time.Now();
    status.Kiln_Name = OvenName;
    status.Profile_Name = Profile_Name;
    status.Log_File = LogFile;
    status.Sensor_Type = Sensor_Type;
    if (!Temp_Scale.empty()) status.Temp_Scale = Temp_Scale;
    if (!Time_Unit.empty()) status.Time_Unit = Time_Unit;
    status.Segment = Finished_Segment > 0 ? Current_Segment : 0;
    status.Elapsed = Run_Elapsed;
    status.Total_Time = Profile_Total_Time;
    status.Tick_Length = Control_Interval.Interval / 1000.0;
    status.Set_Value = Desired_Temp / scale;
    status.Measured = Measured_Temp / scale;
    status.Output_Percent = Output_Percent;
    if (Current_Segment >= 1 && Current_Segment < Finished_Segment) {
        double limit = Tables.Seg_Error_Limit[static_cast<std::size_t>(Current_Segment - 1)];
        status.Error_Limit = limit >= No_Error_Limit ? 0 : limit / scale;
    }
    status.Exchange_Failed = Tick_Exchange_Failed;
    status.Input_Error = Services_.Panel.InputError;
    status.Alarms = Supervisor.Active_Alarms();
    status.Plan = Plan_;
    return status;
}

void Traj_form::Publish_Firing(Firing_Event event, const std::string& detail) {
    Firing.Publish(Firing_Status_Now(), event, detail);
}

void Traj_form::Exchange_Failed(const std::string& message) {
    Tick_Exchange_Failed = true;
    if (Control_Interval.Enabled) Publish_Firing(Firing_Event::Communication_Error, message);
}

}  // namespace corvanel
