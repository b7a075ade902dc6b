// SPDX-License-Identifier: GPL-3.0-or-later
// The run: the control tick, the run commands, elapsed-time editing and the
// monitoring tick.

#include <cmath>
#include <cstdlib>

#include "app/no_log_warning.h"
#include "app/traj_form_model.h"
#include "common/numeric.h"
#include "common/text.h"
#include "controller/front_panel_model.h"
#include "controller/protocol.h"
#include "language/show_problem.h"
#include "language/translate.h"
#include "profiles/segment_joins.h"
#include "profiles/sensor_table.h"

namespace corvanel {

namespace {

constexpr char Backspace = 8;
constexpr char Enter_Key = 13;
constexpr char Escape_Key = 27;

}  // namespace

void Traj_form::Use_Time_Unit(bool minutes, Timer_State& timer) {
    TimeReadOut = minutes ? TranslateText("Time(mins)") : TranslateText("Time(hours)");
    Engine_.Use_Minutes(minutes);
    timer.Interval = minutes ? 3000 : 60000;
}

void Traj_form::Control_Interval_Timer() {
    const bool run_tick = Control_Interval.Enabled;  // the tick that ends the run is one too
    Tick_Exchange_Failed = false;
    Tick_Step("Time Increment", [this] {
        Engine_.Count(Services_.Time.Steady_Seconds());
        if (!Time_Entry.Active()) Elapsed_Time = Format_00(Engine_.Elapsed());
    });
    if (!Live_Readouts) Real_Temp_Display_1.clear();
    Tick_Step("Segment Display", [this] {
        const bool finished = Engine_.Find_Segment();
        Segment_Executing = std::to_string(Engine_.Current_Segment());
        if (finished) {
            Display(TranslateText("Profile Finished"));
            Publish_Firing(Firing_Event::Finished);
            SoftOff_Click();
        }
    });
    Tick_Step("Desired Temp Calc", [this] {
        if (Engine_.Profile_Ended()) return;
        if (!Time_Entry.Active()) {
            Clear();
            Display(TranslateText("Profile Running"));
        }
        Engine_.Follow_Profile();
        Profile_Temperature = Controller_Units_Text(Engine_.Set_Value());
        Say_Set_Value_Held();
    });
    std::uint8_t unit = 0;
    Tick_Step("Timer I/O Routine", [this] { Write_Temp_Unit_SV(); });
    Tick_Step("Timer I/O Routine", [this] { Services_.Protocol.Reply_Wait(); });
    Tick_Step("Timer I/O Routine", [this] { Read_Temp_Unit_PV(); });
    Tick_Step("Timer I/O Routine", [this] { Services_.Protocol.Reply_Wait(); });
    Tick_Step("Timer I/O Routine", [this, &unit] {
        Output_Percent = Services_.Protocol.Read_Output(unit) / 10.0;
        Duty_Cycle = Format_Number(Output_Percent) + "%";
    });
    Tick_Step("Thermocouple Input Fault routine", [this] {
        if (Services_.Panel.InputError) Display(TranslateText("Thermocouple Input Fault"));
    });
    Tick_Step("Real Temp Display Routine", [this] {
        Measured_Temp = Services_.Protocol.Last_PV;
        Show_Process_Temp();
    });
    Tick_Step("Temp Logging Routine", [this] { Append_Log_Record(); });
    Tick_Step("Email Alert Routine", [this] { Arm_Email_Alert(); });
    if (!run_tick) return;
    if (!Control_Interval.Enabled) {  // the tick that ended the run: recorded, not supervised
        Publish_Firing(Firing_Event::Tick);
        return;
    }
    const Safety_Changes alarms = Check_Safety();
    Publish_Firing(Firing_Event::Tick);
    Act_On_Alarms(alarms);
    Sound_Alarm();
}

void Traj_form::Write_Temp_Unit_SV() {
    auto report = [this](int) {
        Display("SetValue Routine error");
        Exchange_Failed("SetValue Routine error");
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
                Display(Join_Lines({TranslateText("Set Value Communications Error"),
                                    TranslateText("If condition persists unplug kiln")}));
                Exchange_Failed("Set Value Communications Error");
            }
        },
        report);
}

void Traj_form::Read_Temp_Unit_PV() {
    auto report = [this](int) {
        Display("ReadValue Routine Error");
        Exchange_Failed("ReadValue Routine Error");
    };
    Reconnect_If_Due();
    std::uint8_t unit = 0;
    Statement([&] { Services_.Protocol.Read_PV(unit); }, report);
    Measured_Temp = 0;
    Measured_Temp = Services_.Protocol.Last_PV;
    Statement(
        [this] {
            if (!(Services_.Panel.Communication_Status && Services_.Panel.Command_Executed)) {
                Display(Join_Lines({TranslateText("Read Value Communications Error"),
                                    TranslateText("If condition persists unplug kiln")}));
                Exchange_Failed("Read Value Communications Error");
            } else {
                Link_Answered();
            }
        },
        report);
    Note_Reading();
}

void Traj_form::Start_Profile_Click() {
    Clear();
    if (Time_Entry.Active()) {
        Display(Join_Lines({TranslateText("Must hit ENTER to update time or"),
                            TranslateText("ESCAPE to exit without changing time")}));
        Services_.Windows.Focus_Elapsed_Time();
        return;
    }
    if (!Profile_.Valid()) {
        Display(TranslateText("Valid profile must be loaded") + " " + std::string(CRLF) +
                TranslateText("Run not started"));
        SoftOff_Click();
        Services_.Beep.Beep();
        return;
    }
    if (!Control_Interval.Enabled) {
        const std::vector<Segment_Gap> gaps = Segment_Gaps(Profile_.Sheet());
        if (!gaps.empty()) {
            Display(Problem_Text(Segment_Gap_Problem(gaps.front())) + std::string(CRLF) +
                    TranslateText("Run not started"));
            SoftOff_Click();
            Services_.Beep.Beep();
            return;
        }
    }
    if (Forget_Controller_After_New_Port()) Learn_Controller_Limit();
    std::uint8_t unit = 0;
    Statement([&] { Services_.Protocol.Read_Status(unit); });
    if (Services_.Panel.Command_Executed) {
        if (Live_Readouts)
            Controller_Scale_ = Services_.Panel.Controller_Temp_Scale == 1 ? "F" : "C";
        Known_Controller_.Fahrenheit = Services_.Panel.Controller_Temp_Scale == 1;
        Engine_.Use_Controller_Limits(Known_Controller_);
    }
    std::string controller_sensor = Sensor_Code_To_Name(Services_.Panel.Controller_Input_Type);
    if (controller_sensor != Profile_.Sensor_Type()) {
        Display(TranslateText("Profile was generated using sensor type") + "=" +
                Profile_.Sensor_Type() + std::string(CRLF) +
                TranslateText("Controller temperature sensor type") + " =" + controller_sensor +
                std::string(CRLF) +
                TranslateText("Edit profile and save with matching sensor setting") +
                std::string(CRLF));
        SoftOff_Click();
        return;
    }
    if (Scale_Refused()) return;
    if (!Control_Interval.Enabled) {
        if (!Engine_.Suspended() && Hot_Start_Refused()) return;
        Prepare_Run_Start(Engine_.Suspended());
        Set_Polling_Mode("run");
        Elapsed_Time_Enabled = false;
        Engine_.Start(Services_.Time.Now(), Services_.Time.Steady_Seconds());
        Start_Profile_Red = true;
        Display(TranslateText("Profile Running"));
        const bool resumed = Engine_.Suspended();
        Engine_.Set_Suspended(false);
        Publish_Firing(resumed ? Firing_Event::Resume : Firing_Event::Start);
        Control_Interval_Timer();
        // After the first tick, which empties the message area.
        if (!resumed) {
            for (const std::string& line : No_Log_File_Messages(Services_.Paths, LogFile))
                Display(line);
        }
    } else {
        Engine_.Hold();
        Elapsed_Time_Enabled = true;
        Set_Polling_Mode("monitor");
        Alerts.Disarm();
        Start_Profile_Red = false;
        Display(TranslateText("Profile Suspended - temperature fixed at present value"));
        Engine_.Set_Suspended(true);
        Publish_Firing(Firing_Event::Suspend);
    }
}

void Traj_form::SoftOff_Click() {
    const bool run_active = Control_Interval.Enabled || Engine_.Suspended();
    Engine_.Set_Suspended(false);
    Engine_.Hold();
    Elapsed_Time_Enabled = true;
    Set_Polling_Mode("monitor");
    Alerts.Disarm();
    Start_Profile_Red = false;
    Display(TranslateText("SOFT OFF condition") + std::string(CRLF) + std::string(CRLF) +
            TranslateText("WARNING! POWER STILL APPLIED, UNSUITABLE FOR ELECTRICAL MAINTENANCE") +
            std::string(CRLF) + TranslateText("Refractory oven set to room temperature"));
    Engine_.Room_Temperature();
    Write_Temp_Unit_SV();
    if (run_active) {
        Publish_Firing(Firing_Event::Soft_Off);
        Watch_After_Run();
    }
}

void Traj_form::Elapsed_Time_GotFocus() {
    Time_Entry.Begin();
    Display(Join_Lines({TranslateText("Hit Backspace to ready for entry"),
                        TranslateText("Enter TIME and hit return when done")}));
}

void Traj_form::Elapsed_Time_Change(const std::string& text) {
    Elapsed_Time = text;
    if (text.empty()) return;
    if (Time_Entry.Take(text)) return;
    Display(TranslateText("You must enter a valid TIME value"));
    Engine_.Undo_Entry();
    Elapsed_Time_Change(Format_Number(Engine_.Elapsed()));
}

bool Traj_form::Elapsed_Time_KeyPress(char key) {
    if ((key >= '0' && key <= '9') || key == '.') return true;
    if (key == Backspace) {
        Elapsed_Time_Change("");
        return false;
    }
    if (Time_Entry.Entered() >= Profile_.Total_Time()) {
        Display(TranslateText("Profile does not include time entered"));
        Services_.Beep.Beep();
    } else if (key == Enter_Key) {
        Time_Entry.End();
        const std::string old_time = Format_00(Engine_.Elapsed());
        Engine_.Take_Entered(Time_Entry.Entered());
        Display(TranslateText("Time updated, ready to run"));
        Publish_Firing(Firing_Event::Elapsed_Edited,
                       old_time + " -> " + Format_00(Engine_.Elapsed()));
    } else if (key == Escape_Key) {
        Time_Entry.End();
        Elapsed_Time_Change(Format_Number(Engine_.Elapsed()));
        Display(TranslateText("Time change aborted, ready to run"));
    } else {
        Services_.Beep.Beep();
    }
    return false;
}

void Traj_form::Type_Elapsed_Key(char key) {
    if (Elapsed_Time_KeyPress(key)) Elapsed_Time_Change(Elapsed_Time + key);
}

void Traj_form::Monitor_Interval_Timer() {
    std::uint8_t unit = 0;
    Tick_Exchange_Failed = false;
    // A failing statement ends this tick; the next one starts afresh.
    try {
        Use_Time_Unit(Profile_.Minutes_In_Text(), Monitor_Interval);
        const std::int16_t set_value = Services_.Protocol.Read_SV(unit);
        Profile_Temperature = Shown_Text(set_value);
        Has_Controller_SV_ =
            Services_.Panel.Communication_Status && Services_.Panel.Command_Executed;
        Controller_SV_ = set_value;
        Services_.Protocol.Reply_Wait();
        Read_Temp_Unit_PV();
        Services_.Protocol.Reply_Wait();
        Output_Percent = Services_.Protocol.Read_Output(unit) / 10.0;
        Duty_Cycle = Format_Number(Output_Percent) + "%";
        if (Services_.Panel.InputError) Display("Thermocouple Input Fault");
        Measured_Temp = Services_.Protocol.Last_PV;
        Show_Process_Temp();
    } catch (const Run_Time_Error&) {
        Tick_Exchange_Failed = true;             // what the tick holds is the last good reading
        if (Live_Readouts) Show_Process_Temp();  // greyed when the reading is missing
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
    if (std::optional<std::string> why = Supervisor.Cooling_Ends(last, Safety)) {
        Firing.Publish(last, Firing_Event::Cooling_Ended, *why);
    }
    if (std::optional<std::string> why = Supervisor.Alarm_Watch_Ends(last, Safety)) {
        Firing.Publish(last, Firing_Event::Cooling_Ended, *why);
    }
}

}  // namespace corvanel
