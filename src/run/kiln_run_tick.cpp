// SPDX-License-Identifier: GPL-3.0-or-later
// The kiln run's ticks: the control tick of a run, its exchanges with the controller,
// and the monitoring tick that watches the kiln before, between and after firings.

#include "common/error_numbers.h"
#include "common/fixed_message.h"
#include "common/numeric.h"
#include "common/text.h"
#include "controller/front_panel_model.h"
#include "controller/protocol.h"
#include "language/translate.h"
#include "run/kiln_run.h"

namespace corvanel {

void Kiln_Run::Use_Time_Unit(bool minutes, Timer_State& timer) {
    View_.Show_Time_Caption(minutes ? TranslateText("Time(mins)") : TranslateText("Time(hours)"));
    Engine_.Use_Minutes(minutes);
    timer.Interval = minutes ? 3000 : 60000;
}

void Kiln_Run::Control_Interval_Timer() {
    const bool run_tick = Control_Interval_.Enabled;  // the tick that ends the run is one too
    Tick_Exchange_Failed_ = false;
    Tick_Step("Time Increment", [this] {
        Engine_.Count(Services_.Time.Steady_Seconds());
        if (!View_.Editing_Elapsed()) View_.Show_Elapsed(Format_00(Engine_.Elapsed()));
    });
    if (!Live_Readouts_) View_.Show_Measured("", false, "");
    Tick_Step("Segment Display", [this] {
        const bool finished = Engine_.Find_Segment();
        View_.Show_Segment(Engine_.Current_Segment());
        if (finished) {
            Display(TranslateText("Profile Finished"));
            Publish_Firing(Firing_Event::Finished);
            Soft_Off();
        }
    });
    Tick_Step("Desired Temp Calc", [this] {
        if (Engine_.Profile_Ended()) return;
        if (!View_.Editing_Elapsed()) {
            Clear();
            Display(TranslateText("Profile Running"));
        }
        Engine_.Follow_Profile();
        View_.Show_Set_Value(Controller_Units_Text(Engine_.Set_Value()));
        Say_Set_Value_Held();
    });
    std::uint8_t unit = 0;
    Tick_Step("Timer I/O Routine", [this] { Write_Set_Value(); });
    Tick_Step("Timer I/O Routine", [this] { Services_.Protocol.Reply_Wait(); });
    Tick_Step("Timer I/O Routine", [this] { Read_Measured(); });
    Tick_Step("Timer I/O Routine", [this] { Services_.Protocol.Reply_Wait(); });
    Tick_Step("Timer I/O Routine", [this, &unit] {
        Output_Percent_ = Services_.Protocol.Read_Output(unit) / 10.0;
        View_.Show_Output(Format_Number(Output_Percent_) + "%");
    });
    Tick_Step("Thermocouple Input Fault routine", [this] {
        if (Services_.Panel.InputError)
            Display(TranslateText(Words_Of(Fixed_Message::Thermocouple_Input_Fault)));
    });
    Tick_Step("Real Temp Display Routine", [this] {
        Measured_Temp_ = Services_.Protocol.Last_PV;
        Show_Process_Temp();
    });
    Tick_Step("Temp Logging Routine", [this] { Append_Log_Record(); });
    Tick_Step("Email Alert Routine", [this] { Arm_Email_Alert(); });
    if (!run_tick) return;
    if (!Control_Interval_.Enabled) {  // the tick that ended the run: recorded, not supervised
        Publish_Firing(Firing_Event::Tick);
        return;
    }
    const Safety_Changes alarms = Check_Safety();
    Publish_Firing(Firing_Event::Tick);
    Act_On_Alarms(alarms);
    Sound_Alarm();
}

void Kiln_Run::Write_Set_Value() {
    auto report = [this](const Run_Time_Error&) {
        Display(Words_Of(Fixed_Message::SetValue_Routine_Error));
        Exchange_Failed(Words_Of(Fixed_Message::SetValue_Routine_Error));
    };
    Reconnect_If_Due();
    std::uint8_t unit = 0;
    std::int16_t set_value = Engine_.Set_Value();
    Has_Controller_SV_ = false;  // the engine's value stands for it until it is read back
    Statement([&] { Services_.Protocol.Write_SV(unit, set_value); }, report);
    // A set value the controller cannot take went out as the nearest one it can: the
    // operator watching the run must see that, not only the hidden front panel.
    if (Services_.Protocol.Set_Value_Clamped) Display(Services_.Protocol.Set_Value_Clamped_Message);
    Statement(
        [this] {
            if (!(Services_.Panel.Communication_Status && Services_.Panel.Command_Executed)) {
                Display(Join_Lines(
                    {TranslateText(Words_Of(Fixed_Message::Set_Value_Communications_Error)),
                     TranslateText(Words_Of(Fixed_Message::Unplug_Kiln_If_Persists))}));
                Exchange_Failed(Words_Of(Fixed_Message::Set_Value_Communications_Error));
            }
        },
        report);
}

void Kiln_Run::Read_Measured() {
    auto report = [this](const Run_Time_Error&) {
        Display(Words_Of(Fixed_Message::ReadValue_Routine_Error));
        Exchange_Failed(Words_Of(Fixed_Message::ReadValue_Routine_Error));
    };
    Reconnect_If_Due();
    std::uint8_t unit = 0;
    Statement([&] { Services_.Protocol.Read_PV(unit); }, report);
    Measured_Temp_ = 0;
    Measured_Temp_ = Services_.Protocol.Last_PV;
    Statement(
        [this] {
            if (!(Services_.Panel.Communication_Status && Services_.Panel.Command_Executed)) {
                Display(Join_Lines(
                    {TranslateText(Words_Of(Fixed_Message::Read_Value_Communications_Error)),
                     TranslateText(Words_Of(Fixed_Message::Unplug_Kiln_If_Persists))}));
                Exchange_Failed(Words_Of(Fixed_Message::Read_Value_Communications_Error));
            } else {
                Link_Answered();
            }
        },
        report);
    Note_Reading();
}

void Kiln_Run::Monitor_Interval_Timer() {
    if (Start_Later_Due()) return;
    std::uint8_t unit = 0;
    Tick_Exchange_Failed_ = false;
    // A failing statement ends this tick; the next one starts afresh.
    try {
        Use_Time_Unit(Profile_.Minutes_In_Text(), Monitor_Interval_);
        const std::int16_t set_value = Services_.Protocol.Read_SV(unit);
        View_.Show_Set_Value(Shown_Text(set_value));
        Has_Controller_SV_ =
            Services_.Panel.Communication_Status && Services_.Panel.Command_Executed;
        Controller_SV_ = set_value;
        Services_.Protocol.Reply_Wait();
        Read_Measured();
        Services_.Protocol.Reply_Wait();
        Output_Percent_ = Services_.Protocol.Read_Output(unit) / 10.0;
        View_.Show_Output(Format_Number(Output_Percent_) + "%");
        if (Services_.Panel.InputError) Display(Words_Of(Fixed_Message::Thermocouple_Input_Fault));
        Measured_Temp_ = Services_.Protocol.Last_PV;
        Show_Process_Temp();
    } catch (const Run_Time_Error&) {
        Tick_Exchange_Failed_ = true;             // what the tick holds is the last good reading
        if (Live_Readouts_) Show_Process_Temp();  // greyed when the reading is missing
    }
    Forget_Controller_After_New_Port();
    if (Controller_Scale_.empty()) Learn_Controller_Scale();
    if (!Limit_Asked_) Learn_Controller_Limit();
    // The kiln is watched whenever it can be read: before, between and after firings.
    const Safety_Changes alarms = Check_Safety();
    Publish_Firing(Firing_Event::Monitor_Tick);
    Act_On_Alarms(alarms);
    Sound_Alarm();
    const Firing_Status last = Firing_Status_Now();  // the watch's last status
    if (std::optional<std::string> why = Supervisor_.Cooling_Ends(last, Safety_)) {
        Firing_.Publish(last, Firing_Event::Cooling_Ended, *why);
    }
    if (std::optional<std::string> why = Supervisor_.Alarm_Watch_Ends(last, Safety_)) {
        Firing_.Publish(last, Firing_Event::Cooling_Ended, *why);
    }
}

}  // namespace corvanel
