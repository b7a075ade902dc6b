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
#include "run/kiln_run.h"
#include "run/mail.h"
#include "setup/program_paths.h"
#include "setup/settings_store.h"

namespace corvanel {

class FrontPanel;
class Firing_Change_Dialog;
class Start_Time_Dialog;
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

// Setup/LargeReadouts.txt: the run window's large read-outs, on unless unchecked.
extern const Setting Large_Readouts_Setting;

// The main (run) window without its widgets: a presenter over the kiln run. It keeps the
// handler names the window binds to, the texts of its controls and the order of each
// handler's steps; the run's rules are the Kiln_Run's.
class Traj_form : public Run_View {
  public:
    explicit Traj_form(Traj_form_Services services);

    // The run this window shows and drives.
    Kiln_Run& Run() { return Run_; }
    const Kiln_Run& Run() const { return Run_; }

    // The serial window, which exists beside the main window for the life of the program.
    void Connect_Serial_Port(Serial_Port& port);
    // The OK/Cancel box RUN PROFILE asks through on a hot kiln; without one it does not ask.
    void Connect_Message_Box(Message_Box& ask) { Run_.Connect_Message_Box(ask); }

    // ---- start-up, messages, exit ----
    void Form_Load();
    void Form_Activate();
    // The grid's titles in the language of the moment (the second half of the activation).
    void Translate_Grid_Titles();
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
    void Control_Interval_Timer() { Run_.Control_Interval_Timer(); }
    void Monitor_Interval_Timer() { Run_.Monitor_Interval_Timer(); }
    void Link_Retry_Timer() { Run_.Link_Retry_Timer(); }
    void Continue_Timer() { Run_.Continue_Timer(); }
    void Set_Polling_Mode(const std::string& mode) { Run_.Set_Polling_Mode(mode); }
    void Start_Profile_Click() { Run_.Start_Profile(); }
    void SoftOff_Click() { Run_.Soft_Off(); }
    void Elapsed_Time_GotFocus();
    void Elapsed_Time_Change(const std::string& text);
    bool Elapsed_Time_KeyPress(char key);  // true when the key reaches the box
    void Type_Elapsed_Key(char key);       // the key as the operator types it

    // ---- log files ----
    void mnuSpecifyLogFile_Click();
    void mnuReset_Logfile_Click();

    // ---- e-mail ----
    void Message_Timer() { Run_.Message_Timer(); }
    void mnuEditNotificationList_Click();
    void mnuEnableEmailNotification_Click();
    void mnuTestNotication_Click() { Run_.Send_Email_Alert(); }

    // ---- operator controls and the port menu ----
    void mnuLockControls_Click();
    void mnuFrontPanel_Click();
    // The front panel's EXIT, after the panel hid itself: the main window comes back and
    // watches the kiln again, whatever the polling was before.
    void Front_Panel_Exited();
    void mnuSetUpName_Click();
    void mnuLargeReadouts_Click();  // the large read-outs on or off, kept for the next start
    void mnuEdit_Click();
    void mnuComm_Click(int number);  // mnuComm1..mnuComm3
    void frmCommPortConfig_Click();
    // Comm Port Config stops both ticks while it is open and starts the one that ran
    // again when it closes (true: the control tick; nullopt: neither ran).
    std::optional<bool> Pause_Ticks() { return Run_.Pause_Ticks(); }
    void Resume_Ticks(bool control) { Run_.Resume_Ticks(control); }
    void Keep_Comm_Port(std::int16_t number) { Comm_Port_Number = number; }  // saved with the setup

    // ---- the Language menu: both first items show the language window ----
    void mnuSelectLanguage_Click() { Services_.Windows.Show_Language_Window(); }
    void mnuAddLanguage_Click() { Services_.Windows.Show_Language_Window(); }
    void mnuEditTranslation_Click() { Services_.Windows.Show_Language_Editor(); }

    // Texts whose change saves the setup, as their change events do.
    void Set_Profile_Name(const std::string& text);
    void Set_LogFile(const std::string& text);

    void Acknowledge_Click() { Run_.Acknowledge(); }
    void Continue_Now_Click() { Run_.Continue_Now(); }
    void Do_Not_Continue_Click() { Run_.Do_Not_Continue(); }

    // ---- the Firing menu: changes of the firing while it runs, each asked first ----
    void Connect_Change_Dialog(Firing_Change_Dialog& dialog) { Change_Dialog_ = &dialog; }
    void mnuSkipSegment_Click() { Change_Firing(Firing_Change::Kind::Skip); }
    void mnuExtendHold_Click() { Change_Firing(Firing_Change::Kind::Extend_Hold); }
    void mnuChangeSegment_Click() { Change_Firing(Firing_Change::Kind::Change_Segment); }
    // Start later: asks a clock time and waits for it; while it waits, cancels the wait.
    void Connect_Start_Time_Dialog(Start_Time_Dialog& dialog) { Start_Time_Dialog_ = &dialog; }
    void Start_Later_Click();
    std::string Start_Later_Caption() const;
    // Closing the window mid-firing, once the operator has said yes: what happens to the
    // kiln then, after the safety settings in force (the set value it keeps, when and how
    // far the kiln guard turns it down).
    std::string Leaving_Firing_Words() const;
    // Closing the window while a later start waits: what to ask first ("" when none waits).
    std::string Later_Start_Exit_Question() const;
    // The computer shutting down, the session ending or the program told to end in the
    // middle of a firing: the firing ends with a soft off, an alarm line in the record and
    // the alarm mail. False when no firing ran.
    bool End_For_Shutdown() { return Run_.End_For_Shutdown(); }

    // ---- what the run shows (Run_View) ----
    void Show_Elapsed(const std::string& text) override { Elapsed_Time = text; }
    std::string Elapsed_Text() const override { return Elapsed_Time; }
    bool Editing_Elapsed() const override { return Time_Entry.Active(); }
    void Show_Segment(int segment) override { Segment_Executing = std::to_string(segment); }
    void Show_Set_Value(const std::string& text) override { Profile_Temperature = text; }
    void Show_Output(const std::string& text) override { Duty_Cycle = text; }
    void Show_Measured(const std::string& text, bool stale, const std::string& note) override;
    void Show_Running(bool running) override;
    void Show_Time_Caption(const std::string& text) override { TimeReadOut = text; }
    void Focus_Elapsed_Time() override { Services_.Windows.Focus_Elapsed_Time(); }
    std::string Alert_Addresses() const override { return Email_Notification; }
    bool Alerts_On() const override { return mnuEnableEmailNotification; }

    // The port number kept with the setup.
    std::int16_t Comm_Port_Number = 1;

    // Controls.
    std::string User_Message_Box;
    std::string Elapsed_Time = "0";
    bool Elapsed_Time_Enabled = true;
    std::string Real_Temp_Display_1, Profile_Temperature, Segment_Executing, Duty_Cycle;
    // Process Temp greyed when its number is old or absent, and the note saying why.
    bool Process_Temp_Stale = false;
    std::string Process_Temp_Note;
    std::string LogFile, Profile_Name;
    std::string Email_Notification;
    bool Email_Notification_Locked = true;
    bool Email_Notification_Enabled = false;
    std::string OvenName;
    // The large read-outs above the controls (Setup/LargeReadouts.txt, checked unless
    // the operator turns them off).
    bool Large_Readouts_Shown = true;  // also the check mark of mnuLargeReadouts
    bool Start_Profile_Enabled = true;
    bool Start_Profile_Red = false;  // otherwise the system's button face colour
    std::string TimeReadOut = "Time (mins)";
    std::string SetPointReadOut = "Set Temp(F)";
    std::array<std::array<std::string, Sheet_Columns>, Sheet_Rows> RunProfile_FlexGrid{};

    // Menu check marks.
    bool mnuRecallSetup = false;
    bool mnuEnableEmailNotification = false;
    bool mnuEditNotificationList = false;
    std::array<bool, 3> mnuComm{};  // mnuComm1..mnuComm3
    bool mnuLockControls = false;
    bool mnuFrontPanel = false;

  private:
    bool Error_Trap = false;
    bool Loading_Form = false;
    Elapsed_Time_Entry Time_Entry;  // the operator editing the elapsed time
    bool Recall_Profile_Pending = false, Recall_Log_Pending = false;
    std::string Recalled_Log_Name;
    File_Dialog_Request CommonDialog3;  // profiles
    File_Dialog_Request CommonDialog2;  // log files

    // Runs one statement of a handler; a run-time error is skipped.
    void Statement(const std::function<void()>& statement);
    static constexpr std::size_t User_Message_Box_Limit = 1500;
    void Set_User_Message_Box(std::string text);
    std::string Setup_File(const char* name) const { return Services_.Paths.Setup_File(name); }

    Traj_form_Services Services_;
    Serial_Port* Port_ = nullptr;
    Firing_Change_Dialog* Change_Dialog_ = nullptr;
    Start_Time_Dialog* Start_Time_Dialog_ = nullptr;
    Kiln_Run Run_;
    void Change_Firing(Firing_Change::Kind kind);
    bool Said_Locked();  // the controls are locked: said, and nothing is changed
};

}  // namespace corvanel
