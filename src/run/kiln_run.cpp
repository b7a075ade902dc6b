// SPDX-License-Identifier: GPL-3.0-or-later
// The kiln run's set-up, its statements, polling modes and the firing status.

#include "run/kiln_run.h"
#include "common/fixed_message.h"

#include "common/error_numbers.h"
#include "common/text.h"
#include "controller/front_panel_model.h"
#include "controller/protocol.h"
#include "language/show_problem.h"
#include "language/translate.h"

namespace corvanel {

Kiln_Run::Kiln_Run(Kiln_Run_Services services)
    : Services_(std::move(services)), View_(Services_.View), Alerts_(Services_.Mail) {}

void Kiln_Run::Statement(const std::function<void()>& statement,
                         const std::function<void(const Run_Time_Error&)>& on_error) {
    try {
        statement();
    } catch (const Run_Time_Error& error) {
        if (on_error) on_error(error);
    } catch (const std::exception&) {
        if (on_error) on_error(Run_Time_Error(Error_Number::Out_Of_Memory));
    }
}

void Kiln_Run::Tick_Step(const char* step, const std::function<void()>& statement) {
    Statement(statement, [this, step](const Run_Time_Error& error) {
        Display(Problem_Text(Problem_Of(error, {"Control Timer Loop Error", step})));
    });
}

void Kiln_Run::Reset() {
    Profile_.Show_Empty_Chart();
    Profile_.Unload();
    Engine_.Reset();
    Alerts_.Restart_Count();
}

void Kiln_Run::Use_Controller_RAM() {
    std::uint8_t unit = 0;
    Statement([&] { Services_.Protocol.Set_Write_Mode_RAM(unit); });
}

void Kiln_Run::Set_Polling_Mode(const std::string& mode) {
    if (mode == "off") {
        Monitor_Interval_.Enabled = false;
        Control_Interval_.Enabled = false;
        Display(TranslateText("Polling turned off"));
    } else if (mode == "monitor") {
        Monitor_Interval_.Enabled = true;
        Control_Interval_.Enabled = false;
        Display(TranslateText(Words_Of(Fixed_Message::Monitor_Mode)));
    } else if (mode == "run") {
        Monitor_Interval_.Enabled = false;
        Control_Interval_.Enabled = true;
        Display(TranslateText("Run Mode"));
    } else {
        Monitor_Interval_.Enabled = false;
        Control_Interval_.Enabled = false;
        Display(TranslateText("Ambiguous Polling Mode, polling = OFF"));
    }
}

std::optional<bool> Kiln_Run::Pause_Ticks() {
    std::optional<bool> control;
    if (Monitor_Interval_.Enabled) {
        control = false;
        Monitor_Interval_.Enabled = false;
    }
    if (Control_Interval_.Enabled) {
        control = true;
        Control_Interval_.Enabled = false;
    }
    return control;
}

void Kiln_Run::Resume_Ticks(bool control) {
    if (control) {
        Control_Interval_.Enabled = true;
    } else {
        Monitor_Interval_.Enabled = true;
    }
}

Firing_Status Kiln_Run::Firing_Status_Now() const {
    const double scale = Profile_.Controller_Scale();
    Firing_Status status;
    status.State = Control_Interval_.Enabled ? Firing_State::Running
                   : Engine_.Suspended()     ? Firing_State::Suspended
                   : Supervisor_.Cooling()   ? Firing_State::Cooling
                                             : Firing_State::Monitor;
    status.Clock = Services_.Time.Now();
    status.Kiln_Name = Kiln_Name_;
    status.Profile_Name = Profile_Name_;
    status.Log_File = Log_File_;
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
    status.Tick_Length = Control_Interval_.Interval / 1000.0;
    status.Set_Value = Engine_.Set_Value() / scale;
    status.Measured = Shown_Degrees(Measured_Temp_);
    status.Output_Percent = Output_Percent_;
    if (segment >= 1 && segment < Profile_.Finished_Segment()) {
        double limit = Profile_.Tables().Seg_Error_Limit[static_cast<std::size_t>(segment - 1)];
        status.Error_Limit = limit >= No_Error_Limit ? 0 : limit / scale;
    }
    status.Exchange_Failed = Tick_Exchange_Failed_;
    status.Input_Error = Services_.Panel.InputError;
    status.Alarms = Supervisor_.Active_Alarms();
    status.Plan = Profile_.Plan();
    status.Original_Plan = Profile_.Original_Plan();
    if (status.Original_Plan) status.Last_Change = Last_Change_;
    status.Starts_At = Start_Later_At_;
    status.Has_Reading = Has_Reading_;
    status.Last_Reading = Last_Reading_;
    status.Read_Interval = Read_Interval();
    status.Real_Elapsed = Engine_.Real_Elapsed();
    // Outside a run the kiln is read on the monitoring tick, and the controller keeps the
    // set value it was given last, which that tick reads.
    if (status.State != Firing_State::Running) {
        status.Tick_Length = Monitor_Interval_.Interval / 1000.0;
        if (Has_Controller_SV_) status.Set_Value = Shown_Degrees(Controller_SV_);
    }
    if (status.State == Firing_State::Cooling)
        status.Seconds_After_Run = Supervisor_.Seconds_Cooling(status.Clock);
    if (status.State == Firing_State::Monitor && Supervisor_.Alarm_Watch()) {
        status.Alarm_Record = Supervisor_.Alarm_Record();
        status.Seconds_Of_Alarm_Record = Supervisor_.Seconds_Of_Alarm_Watch(status.Clock);
    }
    return status;
}

void Kiln_Run::Publish_Firing(Firing_Event event, const std::string& detail) {
    Firing_.Publish(Firing_Status_Now(), event, detail);
}

}  // namespace corvanel
