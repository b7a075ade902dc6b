// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <functional>
#include <memory>

#include "app/features.h"
#include "app/firing_change_dialog.h"
#include "app/start_time_dialog.h"
#include "app/traj_form_model.h"
#include "controller/controller_link.h"
#include "run/firing_record_writer.h"
#include "run/live_firing_view.h"
#include "setup/settings_store.h"

class QAction;
class QObject;
class QWidget;

namespace corvanel {

class CommSetUp;
class CommSetUp_Window;
class FrontPanel_Window;
class dlgGetName;
class Firing_History_Window;
class Mqtt_Publishing;
class Remote_Monitoring;
class Profile_Editor_Window;
class Qt_Serial_Device;
class Qt_Window_Registry;
class AddALanguage_Window;
class LanguageDataBaseInterface_Window;
class Serial_Port_Window;
class Traj_form_Window;

// What the program takes from outside. Left empty, each part is the real one; tests put
// in their own (a dialog that answers by itself, a clock they move).
struct Program_Parts {
    File_Dialog* Profile_Dialog = nullptr;
    File_Dialog* Log_Dialog = nullptr;
    Message_Box* Ask = nullptr;
    Beeper* Beep = nullptr;
    Mail_Sender* Mail = nullptr;
    Clock* Time = nullptr;
    Reply_Waiter* Waiter = nullptr;
    File_Dialog* Editor_Dialog = nullptr;
    File_Dialog* Language_Dialog = nullptr;
    File_Dialog* Export_Dialog = nullptr;           // the firing history's "Export CSV"
    Firing_Change_Dialog* Change_Dialog = nullptr;  // the Firing menu's question
    Start_Time_Dialog* Start_Time = nullptr;        // Start later's question
    std::string Guard_Program;  // the kiln guard; "" beside the program or on the PATH
    double Guard_Seconds = 0;   // its wait; 0 for the safety setting's minutes
};

// The program: the windows, the controller link and the models, wired once for the
// life of the program. Needs a QApplication.
class Corvanel_Program : public Window_Manager {
  public:
    explicit Corvanel_Program(Program_Paths paths, Program_Parts parts = {});
    ~Corvanel_Program() override;

    // The entry: the main window's load, showing it, then the caption pass.
    void Main();

    Traj_form& Model() { return *Model_; }
    Traj_form_Window& Main_Window() { return *Main_Window_; }
    Serial_Port_Window& Serial_Window() { return *Serial_Window_; }
    FrontPanel_Window& Front_Panel_Window() { return *Front_Panel_; }
    CommSetUp_Window& Port_Setup_Window() { return *Port_Setup_Window_; }
    dlgGetName& Name_Dialog_Window() { return *Name_Dialog_; }
    // The editor's shared instance, created and loaded (hidden) when it does not exist.
    Profile_Editor_Window& Editor_Window();
    bool Editor_Exists() const { return Editor_Window_ != nullptr; }
    AddALanguage_Window& Language_Window() { return *Language_Window_; }
    LanguageDataBaseInterface_Window& Language_Editor_Window() { return *Language_Editor_Window_; }
    InOut_Functions& Protocol() { return Link_->Protocol(); }
    // The run window's live view of the firing, fed by the run model.
    const Live_Firing_View& Live_View() const { return *Live_View_; }
    // The Firing History window, the feature's, created on first use.
    Firing_History_Window& History_Window();
    Remote_Monitoring& Remote();
    Mqtt_Publishing& Mqtt();
    const Program_Paths& Paths() const { return Paths_; }
    Settings_Store& Settings() { return Settings_; }

    // What ending the program does; by default it leaves the event loop.
    std::function<void()> On_End_Program;

    // ---- Window_Manager ----
    void Show_Profile_Editor(const std::string& controller_scale) override;
    void Show_Front_Panel(bool visible) override;
    void Show_Main_Window(bool visible) override;
    void Show_CommSetUp() override;
    void Show_Language_Window() override;
    void Show_Language_Editor() override;
    std::string Print_Profile(const Printout& printout) override;
    void Apply_Language() override;
    void Focus_Elapsed_Time() override;
    void Focus_Email_Notification() override;
    void End_Program() override;

  private:
    QWidget* Window_Of(int window);
    // The features' menu texts and their own language, after the caption pass and the
    // grid titles.
    void Apply_Feature_Language();

    Program_Paths Paths_;
    Program_Parts Parts_;
    Settings_Store Settings_;
    Setting_Subscription Login_Subscription_;
    // "Start Corvanel when I log in" of the safety settings, kept in the session's autostart.
    void Keep_Start_At_Login();
    std::unique_ptr<File_Dialog> Own_Profile_Dialog_, Own_Log_Dialog_, Own_Editor_Dialog_,
        Own_Language_Dialog_;
    std::unique_ptr<Message_Box> Own_Ask_;
    std::unique_ptr<Firing_Change_Dialog> Own_Change_Dialog_;
    std::unique_ptr<Start_Time_Dialog> Own_Start_Time_;
    std::unique_ptr<Beeper> Own_Beep_;
    std::unique_ptr<QObject> Mail_Replies_;  // where the outbox tells a mail's fate; outlives it
    std::unique_ptr<Mail_Sender> Own_Mail_;
    std::unique_ptr<Clock> Own_Clock_;
    std::unique_ptr<Reply_Waiter> Waiter_;
    std::unique_ptr<Qt_Serial_Device> Device_;
    std::unique_ptr<Controller_Link> Link_;  // its panel outlives the front panel's window
    std::unique_ptr<dlgGetName> Name_Dialog_;
    std::unique_ptr<Firing_Record_Writer> Record_Writer_;  // outlives the run model it hears
    std::unique_ptr<Traj_form> Model_;
    std::unique_ptr<Live_Firing_View> Live_View_;
    std::string Live_View_Message_;  // what reading its setting had to say
    std::unique_ptr<Serial_Port_Window> Serial_Window_;
    std::unique_ptr<Traj_form_Window> Main_Window_;
    std::unique_ptr<Profile_Editor_Window> Editor_Window_;
    std::unique_ptr<FrontPanel_Window> Front_Panel_;  // after Link_: it goes first
    std::unique_ptr<CommSetUp> Port_Setup_;
    std::unique_ptr<CommSetUp_Window> Port_Setup_Window_;
    std::unique_ptr<LanguageDataBaseInterface_Window> Language_Editor_Window_;
    std::unique_ptr<AddALanguage_Window> Language_Window_;
    std::unique_ptr<File_Dialog> Own_Export_Dialog_;
    File_Dialog* Editor_Dialog_ = nullptr;
    Message_Box* Ask_ = nullptr;
    Beeper* Beep_ = nullptr;
    Clock* Clock_ = nullptr;
    std::unique_ptr<Qt_Window_Registry> Registry_;
    std::unique_ptr<Message_Area> Feature_Messages_;  // the run window's, refreshed
    std::unique_ptr<Message_Area> Feature_Notices_;   // ... and kept on its banner
    // The program's hands on the kiln, for the features.
    class Program_Kiln : public Kiln_Access {
      public:
        explicit Program_Kiln(Corvanel_Program& program) : Program_(program) {}
        std::string Opened_Device() const override;
        void Stop_Firing() override;
        std::string Notification_List() const override;
        void Ask_Change(const Asked_Change& change) override;

      private:
        Corvanel_Program& Program_;
    };
    Program_Kiln Kiln_{*this};
    Program_Features Features_;
    struct Feature_Action {
        QAction* Action;
        std::string Caption;  // English
    };
    std::vector<Feature_Action> Feature_Actions_;
};

// Makes the folders the program writes into, when they are not there yet.
void Make_Program_Folders(const Program_Paths& paths);

}  // namespace corvanel
