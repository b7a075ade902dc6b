// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <set>
#include <string>
#include <variant>
#include <vector>

#include "common/clock.h"
#include "common/error_numbers.h"
#include "common/platform.h"
#include "run/firing_record.h"
#include "run/firing_status.h"
#include "run/held_writes.h"
#include "run/kept_setup.h"
#include "run/loaded_profile.h"
#include "run/mail.h"
#include "run/run_alerts.h"
#include "run/run_engine.h"
#include "run/run_safety.h"
#include "run/run_view.h"
#include "run/safety_settings.h"
#include "run/timer_state.h"
#include "setup/program_paths.h"
#include "setup/settings_store.h"

namespace corvanel {

class FrontPanel;
class InOut_Functions;
class Serial_Port;

// What one kiln run reaches outside itself: its controller (the protocol and the front
// panel's view of the last reply), the program's folder and settings, a clock that never
// jumps, the beep, the mail and where it shows what it does.
struct Kiln_Run_Services {
    Program_Paths Paths;
    InOut_Functions& Protocol;
    FrontPanel& Panel;
    Clock& Time;
    Beeper& Beep;
    Mail_Sender& Mail;
    Settings_Store& Settings;
    Run_View& View;
};

// One controller's firing without a window: the profile it follows, the engine that
// counts its time, the exchanges of each tick and the link's way back after an outage,
// the safety supervision and its alarms, the e-mail alerts, the log, and the firing
// status every tick and event publishes. The run window is a presenter over it; a test or
// a tool drives it the same way. Nothing here assumes it is the only run in the process.
// The next time the clock shows hour:minute after `now`: today, or else tomorrow.
Date_Time Next_Clock_Time(const Date_Time& now, int hour, int minute);

class Kiln_Run {
  public:
    explicit Kiln_Run(Kiln_Run_Services services);

    // The serial link whose port the run opens again after an outage (none: no way back).
    void Connect_Serial_Port(Serial_Port& port) { Port_ = &port; }
    // The OK/Cancel box a start asks through on a hot kiln; without one it does not ask.
    void Connect_Message_Box(Message_Box& ask) { Ask_ = &ask; }

    // ---- what the run is called, and where it logs ----
    void Name_Kiln(const std::string& name) { Kiln_Name_ = name; }
    void Name_Profile(const std::string& name) { Profile_Name_ = name; }
    void Use_Log_File(const std::string& name) { Log_File_ = name; }
    const std::string& Kiln_Name() const { return Kiln_Name_; }
    const std::string& Profile_Name() const { return Profile_Name_; }
    const std::string& Log_File() const { return Log_File_; }
    // Setup/LiveFiringView.txt: the measured value's age, the scale it is shown in.
    void Use_Live_Readouts(bool live) { Live_Readouts_ = live; }
    bool Live_Readouts() const { return Live_Readouts_; }
    // While the program loads its setup the controller is not asked anything more.
    void Set_Loading(bool loading) { Loading_ = loading; }

    // ---- the profile ----
    const Loaded_Profile& Profile() const { return Profile_; }
    const Run_Engine& Engine() const { return Engine_; }
    Loaded_Profile::Load_Result Load_Profile(const std::string& path) {
        return Profile_.Load(path);
    }
    // A profile just taken: its time unit in force (an elapsed time carried into it) and
    // the controller's scale asked.
    void Take_Loaded_Profile(bool had_profile);
    // After the profile is said to be loaded: published, and a carried-over time noticed.
    void Profile_Loaded();
    // The program's start: no profile, no time, the alert count afresh.
    void Reset();

    // ---- the ticks and polling ----
    void Control_Interval_Timer();
    void Monitor_Interval_Timer();
    void Link_Retry_Timer();
    void Continue_Timer();
    void Message_Timer();
    const Timer_State& Control_Interval() const { return Control_Interval_; }
    const Timer_State& Monitor_Interval() const { return Monitor_Interval_; }
    const Timer_State& Link_Retry_Interval() const { return Link_Retry_Interval_; }
    const Timer_State& Continue_Interval() const { return Continue_Interval_; }
    const Timer_State& Alert_Interval() const { return Alerts_.Timer(); }
    bool Running() const { return Control_Interval_.Enabled; }
    bool Suspended() const { return Engine_.Suspended(); }
    // "off", "monitor" or "run", as the run window's polling modes are named.
    void Set_Polling_Mode(const std::string& mode);
    // Port set-up and the front panel stop both ticks while they are open, and start
    // the one that ran again when they close (true: the control tick; nullopt: neither).
    std::optional<bool> Pause_Ticks();
    void Resume_Ticks(bool control);
    // The memory the controller writes set values to: RAM, so a firing does not wear it.
    void Use_Controller_RAM();

    // ---- the run's commands ----
    // RUN PROFILE: starts, resumes, or suspends a running firing.
    void Start_Profile();
    void Soft_Off();
    // The operator's elapsed time: taken (Enter), or the last good one back.
    void Take_Elapsed(double entered);
    void Undo_Elapsed_Entry();
    void Begin_At(double elapsed);
    // "Reset Logfile and Time": the time back to 0 with the log the operator chose.
    void Reset_Elapsed();
    void Log_Was_Reset();  // after the new log is named: published as "reset"
    // Recall: the run goes on where its log ends; never restarted by itself.
    void Recall_Elapsed();
    void Write_Set_Value();
    void Read_Measured();
    // The e-mail alert now (the test menu), with the run's values.
    void Send_Email_Alert();

    // ---- changing the firing while it runs (firing_change.h) ----
    // A change of the segment running, made at the elapsed time of the last tick, with
    // what it proposes: 10 minutes more, or the segment's own end and rate.
    Firing_Change Change_Now(Firing_Change::Kind kind) const;
    // Why the change cannot be made now (no firing, no hold running, an end beyond the
    // sensor's or the controller's range, ...); none when it can.
    Maybe_Problem Change_Refused(const Firing_Change& change) const;
    // Changes the plan from the change's time on; the next tick asks the set value of the
    // changed plan. Refused, the run is untouched; made, it is said, recorded, published.
    Maybe_Problem Change_Firing(const Firing_Change& change);
    // After a start with recall: the changes its record holds, made again in order.
    void Recall_Changes();
    // A change a feature asks for: made after the tick that heard it.
    void Ask_Change(const Asked_Change& change) { Asked_.push_back(change); }

    // ---- starting later (kiln_run_start_later.cpp) ----
    // The loaded profile starts by itself at a local clock time within the next 24 hours;
    // until then the kiln is watched as in monitor mode and the banner counts down.
    // RUN PROFILE starts it at once. Refused while a firing runs or without a profile.
    Maybe_Problem Start_Later(const Date_Time& at);
    void Cancel_Start_Later();
    const std::optional<Date_Time>& Start_Later_At() const { return Start_Later_At_; }
    std::string Start_Later_Text() const;  // "Waiting to start at 02:00", translated
    // At a start with recall: the wait goes on, or, its time passed while the program was
    // not running, the operator is asked whether to start now.
    void Recall_Start_Later();

    // ---- safety ----
    // Setup/Safety.txt, at load; from then on every change saved to it is in force.
    void Read_Safety_Setup();
    const Safety_Settings& Safety_Settings_In_Force() const { return Safety_; }
    const Run_Safety& Safety() const { return Supervisor_; }
    // The banner's Acknowledge: the operator has read it, and the record of an alarm
    // outside a firing has done its work. A count-down to go on after a restart goes on.
    void Acknowledge();
    // The banner's choice during that count-down: go on at once, or stay in monitor mode.
    void Continue_Now();
    void Do_Not_Continue();
    // What must not be missed: said, and kept on the banner without a sound.
    void Notice(const std::string& text);
    // An alarm's mail that did not go out: said, and kept on the banner (the latest only).
    void Alarm_Mail_Failed(const Problem& why);
    bool End_For_Shutdown();
    // At a start with recall: a firing the record shows cut off or ended by a shutdown.
    void Tell_Interrupted_Firing();
    void Tell_Shutdown_Firing();
    void Offer_Continuation(const Interrupted_Firing& cut, long long gap_seconds);
    // "RUN PROFILE continues the firing; LogFile -> ... starts from 0".
    std::string Continue_Or_Start_Afresh() const;

    // ---- the firing as everything outside sees it ----
    Firing_Status_Seam& Firing() { return Firing_; }
    Firing_Status Firing_Status_Now() const;
    void Publish_Firing(Firing_Event event, const std::string& detail = "");
    // The log's and record's lines a full disk refused, until it takes them.
    Held_Writes& Held_Files() { return Held_Files_; }  // the record writer's lines go here too
    const Held_Writes& Held_Files() const { return Held_Files_; }
    std::int16_t Measured_Temp() const { return Measured_Temp_; }
    double Output_Percent() const { return Output_Percent_; }
    // The controller's scale as it last said ("F", "C"; "" unknown).
    const std::string& Controller_Scale() const { return Controller_Scale_; }

  private:
    // Runs one statement; a run-time error is reported by `on_error` (or skipped).
    void Statement(const std::function<void()>& statement,
                   const std::function<void(const Run_Time_Error&)>& on_error = {});
    void Tick_Step(const char* step, const std::function<void()>& statement);
    void Display(const std::string& text) { View_.Display(text); }
    void Clear() { View_.Clear(); }
    void Use_Time_Unit(bool minutes, Timer_State& timer);
    void Append_Log_Record();
    void Arm_Email_Alert();
    void Show_Running(bool running) { View_.Show_Running(running); }
    void Suspend();
    std::variant<Followed_Plan, Problem> Plan_After(const Firing_Change& change) const;
    Change_Limits Limits_Of_Change() const;
    Maybe_Problem Make_Change(const Firing_Change& change, const Operator_Text& said,
                              const std::string& why);
    void Make_Asked_Changes();
    bool Start_Later_Due();  // true when it started the firing
    void Show_Start_Later();
    void End_Start_Later();

    // safety
    Safety_Changes Check_Safety();
    void Act_On_Alarms(const Safety_Changes& changes);
    void Sound_Alarm();
    bool Scale_Refused();
    bool Hot_Start_Refused();
    void Prepare_Run_Start(bool resuming);
    void Notice_Carried_Over_Time();
    void Watch_After_Run();
    void End_Alarm_Record(const Firing_Status& last, const std::string& why);
    void Start_Alarms_Afresh();
    void Show_Count_Down();
    void End_Count_Down();  // the count-down and the banner's choice go

    // the link
    void Exchange_Failed(const std::string& message);
    void Reconnect_If_Due();
    void Link_Failed();
    void Link_Answered();

    // readings
    void Note_Reading();
    void Show_Process_Temp();
    void Learn_Controller_Scale();
    void Learn_Controller_Limit();
    bool Forget_Controller_After_New_Port();
    void Say_Set_Value_Held();
    void Carry_Elapsed_Into(bool minutes);
    double Read_Interval() const;
    bool Scales_Differ() const;
    double Shown_Degrees(std::int16_t value) const;
    std::string Shown_Text(std::int16_t value) const;
    std::string Controller_Units_Text(std::int16_t value) const {
        return Profile_.Controller_Units_Text(value);
    }

    Kiln_Run_Services Services_;
    Run_View& View_;
    Serial_Port* Port_ = nullptr;
    Message_Box* Ask_ = nullptr;
    Loaded_Profile Profile_;
    Run_Engine Engine_{Profile_};
    Firing_Status_Seam Firing_;
    Held_Writes Held_Files_{[this](const std::string& text) { Notice(text); }};
    Run_Alerts Alerts_;
    Safety_Settings Safety_;
    Run_Safety Supervisor_;
    Setting_Subscription Safety_Subscription_;

    std::string Kiln_Name_, Profile_Name_, Log_File_;
    bool Live_Readouts_ = true;
    bool Loading_ = false;

    Timer_State Control_Interval_{false, 60000};
    Timer_State Monitor_Interval_{false, 3000};
    // Every second while an outage lasts, so a try is not held back to a tick a minute
    // long; it waits while the ticks are stopped (front panel, port set-up).
    Timer_State Link_Retry_Interval_{false, 1000};
    // An interrupted firing going on by itself after a restart: the banner counts down.
    Timer_State Continue_Interval_{false, 1000};
    int Continue_Countdown_ = 0;
    double Continue_Elapsed_ = 0;

    // The kiln as the last tick read it.
    bool Tick_Exchange_Failed_ = false;
    double Output_Percent_ = 0;
    std::int16_t Measured_Temp_ = 0;
    bool Has_Reading_ = false;
    Date_Time Last_Reading_;
    // The set value the monitoring tick last read, until the next one is written.
    bool Has_Controller_SV_ = false;
    std::int16_t Controller_SV_ = 0;
    std::string Controller_Scale_;
    Controller_Limits Known_Controller_;
    bool Limit_Asked_ = false;
    int Learned_On_Opening_ = 0;
    Operator_Text Last_Change_;  // the operator's last change of this firing
    std::vector<Asked_Change> Asked_;
    std::optional<Date_Time> Start_Later_At_;
    double Start_Later_Steady_ = 0;  // when, on the steady clock
    // A set value held back by a limit: said once a firing for each kind of limit.
    std::set<Set_Value_Limit> Holds_Said_;
};

}  // namespace corvanel
