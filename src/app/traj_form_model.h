// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "common/clock.h"
#include "common/platform.h"
#include "controller/serial_link.h"
#include "profiles/printout.h"
#include "profiles/profile_sheet.h"
#include "profiles/run_profile.h"
#include "run/elapsed_time_entry.h"
#include "run/firing_status.h"
#include "run/held_writes.h"
#include "run/kept_setup.h"
#include "run/loaded_profile.h"
#include "run/mail.h"
#include "run/run_alerts.h"
#include "run/run_engine.h"
#include "run/run_safety.h"
#include "run/safety_settings.h"
#include "run/timer_state.h"
#include "setup/program_paths.h"
#include "setup/settings_store.h"

namespace corvanel {

class FrontPanel;
class InOut_Functions;
class Serial_Port;

// The device-name dialog: shown modally, 1 when closed with OK, 2 with Cancel.
class Name_Dialog {
  public:
    virtual ~Name_Dialog() = default;
    virtual int GetName() = 0;
    virtual std::string DeviceName() = 0;
};

// The other windows, as the main window shows and hides them.
class Window_Manager {
  public:
    virtual ~Window_Manager() = default;
    // The controller's scale ("F", "C"; "" unknown) goes with it for New From Cone.
    virtual void Show_Profile_Editor(const std::string& controller_scale) = 0;
    virtual void Show_Front_Panel(bool visible) = 0;
    virtual void Show_Main_Window(bool visible) = 0;
    virtual void Show_CommSetUp() = 0;
    virtual void Show_Language_Window() {}  // non-modal: the run goes on beside it
    virtual void Show_Language_Editor() {}
    virtual void Apply_Language() = 0;  // the caption pass over every window
    // Prints the loaded profile under the run chart on the default printer; without a
    // printer the page goes to a PDF file, whose path comes back ("" for a printer).
    virtual std::string Print_Profile(const Printout&) { return ""; }
    virtual void Focus_Elapsed_Time() {}
    virtual void Focus_Email_Notification() {}
    virtual void End_Program() = 0;
};

// What the main window reaches outside itself.
struct Traj_form_Services {
    Program_Paths Paths;
    InOut_Functions& Protocol;
    FrontPanel& Panel;
    Clock& Time;
    File_Dialog& Profile_Dialog;  // CommonDialog3
    File_Dialog& Log_Dialog;      // CommonDialog2
    Beeper& Beep;
    Mail_Sender& Mail;
    Name_Dialog& Name;
    Window_Manager& Windows;
    Settings_Store& Settings;
};

// The main (run) window without its widgets: the loaded profile, the run state, the
// controls the operator sees and one routine per event.
class Traj_form : public Message_Area {
  public:
    explicit Traj_form(Traj_form_Services services);

    // The serial window, which exists beside the main window for the life of the program.
    void Connect_Serial_Port(Serial_Port& port) { Port_ = &port; }
    // The OK/Cancel box RUN PROFILE asks through on a hot kiln; without one it does not ask.
    void Connect_Message_Box(Message_Box& ask) { Ask_ = &ask; }

    // ---- start-up, messages, exit ----
    void Form_Load();
    void Form_Activate();
    void Display(const std::string& text) override;
    void Clear() override { Set_User_Message_Box(""); }
    void mnuVersion_Click();
    void mnuExitProgram_Click();
    void Exit_Routine();

    // ---- setup folder ----
    void Save_Setup();
    void Recall_Setup();
    void mnuRecallSetup_Click() { mnuRecallSetup = !mnuRecallSetup; }

    // ---- loading a profile ----
    void mnuFileOpen_Click();
    void mnuPrintProfile_Click();
    void RunWorkSheet_to_FlexGrid();

    // ---- run engine and controls ----
    void Control_Interval_Timer();
    int Determine_Current_Segment(double time) const {
        return Engine_.Determine_Current_Segment(time);
    }
    void Write_Temp_Unit_SV();
    void Read_Temp_Unit_PV();
    void Set_Polling_Mode(const std::string& mode);
    void Start_Profile_Click();
    void SoftOff_Click();
    void Elapsed_Time_GotFocus();
    void Elapsed_Time_Change(const std::string& text);
    bool Elapsed_Time_KeyPress(char key);  // true when the key reaches the box
    void Type_Elapsed_Key(char key);       // the key as the operator types it
    void Monitor_Interval_Timer();

    // ---- log files ----
    void mnuSpecifyLogFile_Click();
    void mnuReset_Logfile_Click();
    void Append_Log_Record();

    // ---- e-mail ----
    void Send_Email_Alert();
    void Message_Timer();
    void Arm_Email_Alert();
    void mnuEditNotificationList_Click();
    void mnuEnableEmailNotification_Click();
    void mnuTestNotication_Click() { Send_Email_Alert(); }
    Run_Alerts Alerts;  // the alert timer is Alerts.Timer()

    // ---- operator controls and the port menu ----
    void mnuLockControls_Click();
    void mnuFrontPanel_Click();
    // The front panel's EXIT, after the panel hid itself: the main window comes back and
    // watches the kiln again, whatever the polling was before.
    void Front_Panel_Exited();
    void mnuSetUpName_Click();
    void mnuEdit_Click();
    void mnuComm_Click(int number);  // mnuComm1..mnuComm3
    void frmCommPortConfig_Click();
    // Comm Port Config stops both ticks while it is open and starts the one that ran
    // again when it closes (true: the control tick; nullopt: neither ran).
    std::optional<bool> Pause_Ticks();
    void Resume_Ticks(bool control);
    void Keep_Comm_Port(std::int16_t number) { Comm_Port_Number = number; }  // saved with the setup

    // ---- the Language menu: both first items show the language window ----
    void mnuSelectLanguage_Click() { Services_.Windows.Show_Language_Window(); }
    void mnuAddLanguage_Click() { Services_.Windows.Show_Language_Window(); }
    void mnuEditTranslation_Click() { Services_.Windows.Show_Language_Editor(); }

    // Texts whose change saves the setup, as their change events do.
    void Set_Profile_Name(const std::string& text);
    void Set_LogFile(const std::string& text);

    // ---- the firing as everything outside the run model sees it ----
    // Observers attach here; every tick and run event is published to them.
    Firing_Status_Seam Firing;
    Firing_Status Firing_Status_Now() const;
    // The log's and the firing record's lines a full disk refused, until it takes them;
    // the operator hears of it on the banner and in the message area.
    Held_Writes Held_Files{[this](const std::string& text) { Safety_Notice(text); }};

    // ---- safety supervision (traj_form_safety.cpp) ----
    // Setup/Safety.txt, at load; from then on every change saved to it is in force.
    void Read_Safety_Setup();
    void Acknowledge_Click();  // traj_form_controls.cpp
    // What a feature tells the operator about the run that must not be missed: said in
    // the message area and kept on the banner, without a sound, until acknowledged.
    void Notice(const std::string& text) { Safety_Notice(text); }
    // The computer shutting down, the session ending or the program told to end in the
    // middle of a firing (traj_form_shutdown.cpp): the firing ends with a soft off, an
    // alarm line in the record and the alarm mail. False when no firing ran.
    bool End_For_Shutdown();

    // After telling of an interrupted firing: continue it when the settings and the kiln
    // allow, or say which limit held it back.
    void Offer_Continuation(const Interrupted_Firing& cut, long long gap_seconds);
    void Show_Count_Down();
    Safety_Settings Safety;
    Run_Safety Supervisor;  // the alarms, the banner and the alarms now active
    Setting_Subscription Safety_Subscription_;

    // ---- the parts of the run, for the window and the tests to read ----
    const Loaded_Profile& Profile() const { return Profile_; }
    const Run_Engine& Engine() const { return Engine_; }

    // ---- state ----
    bool Error_Trap = false;
    bool Loading_Form = false;
    std::int16_t Comm_Port_Number = 1;
    Elapsed_Time_Entry Time_Entry;  // the operator editing the elapsed time
    // The kiln as the last tick read it.
    bool Tick_Exchange_Failed = false;  // this tick's write or read failed
    double Output_Percent = 0;
    std::int16_t Measured_Temp = 0;
    bool Recall_Profile_Pending = false, Recall_Log_Pending = false;
    std::string Recalled_Log_Name;

    // Controls.
    std::string User_Message_Box;
    std::string Elapsed_Time = "0";
    bool Elapsed_Time_Enabled = true;
    std::string Real_Temp_Display_1, Profile_Temperature, Segment_Executing, Duty_Cycle;
    // Setup/LiveFiringView.txt: Process Temp keeps its last reading through a tick and
    // the unit labels follow the loaded profile through the caption pass.
    bool Live_Readouts = true;
    std::string LogFile, Profile_Name;
    std::string Email_Notification;
    bool Email_Notification_Locked = true;
    bool Email_Notification_Enabled = false;
    std::string OvenName;
    bool Start_Profile_Enabled = true;
    bool Start_Profile_Red = false;  // otherwise the system's button face colour
    std::string TimeReadOut = "Time (mins)";
    std::string SetPointReadOut = "Set Temp(F)";
    Timer_State Control_Interval{false, 60000};
    Timer_State Monitor_Interval{false, 3000};
    // The link's way back (traj_form_link.cpp): every second while an outage lasts, so a
    // try is not held back to a tick a minute long; a port opened again gets its tick at
    // once, which asks the controller. It waits while the ticks are stopped (front panel,
    // port set-up).
    void Link_Retry_Timer();
    Timer_State Link_Retry_Interval{false, 1000};
    // An interrupted firing going on by itself after a restart (traj_form_restart.cpp):
    // a second at a time, the banner counts down; Acknowledge cancels.
    void Continue_Timer();
    Timer_State Continue_Interval{false, 1000};
    int Continue_Countdown = 0;
    double Continue_Elapsed = 0;
    std::array<std::array<std::string, Sheet_Columns>, Sheet_Rows> RunProfile_FlexGrid{};
    File_Dialog_Request CommonDialog3;  // profiles
    File_Dialog_Request CommonDialog2;  // log files

    // ---- the truth of the read-outs (traj_form_readouts.cpp) ----
    // Process Temp greyed when its number is old or absent, and the note saying why.
    bool Process_Temp_Stale = false;
    std::string Process_Temp_Note;

    // Menu check marks.
    bool mnuRecallSetup = false;
    bool mnuEnableEmailNotification = false;
    bool mnuEditNotificationList = false;
    std::array<bool, 3> mnuComm{};  // mnuComm1..mnuComm3
    bool mnuLockControls = false;
    bool mnuFrontPanel = false;

  private:
    Safety_Changes Check_Safety();  // after a control tick's steps
    void Act_On_Alarms(const Safety_Changes& changes);
    void Sound_Alarm();  // every tick while the banner wants attention
    bool Scale_Refused();
    // RUN PROFILE on a kiln far hotter than where the profile starts: asked first, true
    // when the operator said no.
    bool Hot_Start_Refused();
    void Prepare_Run_Start(bool resuming);
    void Notice_Carried_Over_Time();
    void Safety_Notice(const std::string& text);
    // After the run: the kiln stays watched while it is hot.
    void Watch_After_Run();
    // After a monitoring tick's alarms: the record of an alarm outside a firing ends when
    // the kiln is cold again with no alarm on; `why` ends it now ("acknowledged").
    void End_Alarm_Record(const Firing_Status& last, const std::string& why);
    void Publish_Firing(Firing_Event event, const std::string& detail = "");
    void Exchange_Failed(const std::string& message);
    // The link's way back after an outage (traj_form_link.cpp): the port opened again
    // before an exchange when a try is due, and each exchange's outcome told to the link.
    void Reconnect_If_Due();
    void Link_Failed();
    void Link_Answered();
    // A start with recall after a firing was cut off: what the record says (traj_form_setup.cpp).
    void Tell_Interrupted_Firing();
    // A start with recall after a firing ended so: said the first time.
    void Tell_Shutdown_Firing();
    // "RUN PROFILE continues the firing; LogFile -> ... starts from 0".
    std::string Continue_Or_Start_Afresh() const;
    // RUN PROFILE: the last stretch's alarms end without a word, the banner starts clean.
    void Start_Alarms_Afresh();

    // Runs one statement of a handler; a run-time error is reported by `on_error` (or
    // silently skipped) and the handler goes on with its next statement.
    void Statement(const std::function<void()>& statement,
                   const std::function<void(int)>& on_error = {});
    // A statement of the control tick: an error is reported with the step's name.
    void Tick_Step(const char* step, const std::function<void()>& statement);
    static constexpr std::size_t User_Message_Box_Limit = 1500;
    void Set_User_Message_Box(std::string text);
    std::string Controller_Units_Text(std::int16_t value) const {
        return Profile_.Controller_Units_Text(value);
    }
    // The time unit's caption, letter and the tick interval of `timer` (3 s for minutes).
    void Use_Time_Unit(bool minutes, Timer_State& timer);
    std::string Setup_File(const char* name) const { return Services_.Paths.Setup_File(name); }

    // ---- the truth of the read-outs (traj_form_readouts.cpp) ----
    void Note_Reading();  // after a read of the measured value
    void Show_Process_Temp();
    void Learn_Controller_Scale();
    // The controller's high set limit, asked once of a controller that has just answered;
    // with its scale, the ceiling the engine keeps every set value under.
    void Learn_Controller_Limit();
    // A port opened since they were learned may hold another controller: forget its
    // scale and limit, to be asked again. True when something known was forgotten.
    bool Forget_Controller_After_New_Port();
    Controller_Limits Known_Controller_;
    bool Limit_Asked_ = false;
    int Learned_On_Opening_ = 0;
    // A set value held back by a limit: said once a firing for each kind of limit.
    void Say_Set_Value_Held();
    std::set<Set_Value_Limit> Holds_Said_;
    void Carry_Elapsed_Into(bool minutes);  // a profile in another time unit was loaded
    double Read_Interval() const;
    bool Scales_Differ() const;
    // A controller value in degrees of the profile's scale, and as the boxes show it.
    double Shown_Degrees(std::int16_t value) const;
    std::string Shown_Text(std::int16_t value) const;
    bool Has_Reading_ = false;
    Date_Time Last_Reading_;
    // The set value the monitoring tick last read, until the next one is written.
    bool Has_Controller_SV_ = false;
    std::int16_t Controller_SV_ = 0;
    std::string Controller_Scale_;  // "F" or "C" as the controller last said; "" unknown

    Traj_form_Services Services_;
    Serial_Port* Port_ = nullptr;
    Message_Box* Ask_ = nullptr;
    Loaded_Profile Profile_;
    Run_Engine Engine_{Profile_};
};

}  // namespace corvanel
