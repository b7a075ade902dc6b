// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/program.h"

#include <QApplication>
#include <QFileDialog>
#include <QLineEdit>
#include <QMenu>
#include <QPixmapCache>
#include <QSessionManager>
#include <QTimer>
#include <filesystem>

#include "app/windows/comm_setup_window.h"
#include "ui/caption_registry.h"
#include "ui/print_profile.h"
#include "ui/widgets.h"

#include <QChartView>
#include "app/autostart_entry.h"
#include "app/qt_platform.h"
#include "app/shutdown_signals.h"
#include "app/windows/dlg_get_name.h"
#include "app/windows/firing_change_window.h"
#include "app/windows/serial_port_window.h"
#include "app/windows/start_time_window.h"
#include "app/windows/traj_form_window.h"
#include "controller/qt/qt_serial_device.h"
#include "controller/windows/front_panel_window.h"
#include "guard/guard_keeper.h"
#include "guard/guard_process.h"
#include "history/windows/firing_history_feature.h"
#include "language/show_problem.h"
#include "language/translate.h"
#include "language/windows/add_a_language_window.h"
#include "language/windows/language_database_interface_window.h"
#include "profiles/windows/profile_editor_window.h"
#include "remote/windows/mqtt_publishing.h"
#include "remote/windows/remote_monitoring.h"
#include "run/live_view_setting.h"
#include "run/mail_outbox.h"
#include "run/safety_settings.h"
#include "run/smtp_mail_sender.h"

namespace corvanel {

namespace {

// The program's pause after a request: the window first shows what the tick has done
// so far, then the nested event loop waits.
class Showing_Waiter : public Reply_Waiter {
  public:
    Showing_Waiter(Reply_Waiter* inner, std::function<void()> show)
        : Inner_(inner), Show_(std::move(show)) {}
    void Wait(double seconds) override {
        if (Show_) Show_();
        if (Inner_) {
            Inner_->Wait(seconds);
        } else {
            Program_Waiter_.Wait(seconds);
        }
    }
    void Listen(Serial_Port& serial, const std::string& reply_buffer) override {
        if (Inner_) Inner_->Listen(serial, reply_buffer);
    }

  private:
    Reply_Waiter* Inner_;
    std::function<void()> Show_;
    Qt_Reply_Waiter Program_Waiter_;
};

// The log dialog: a log file is usually new, so a name that does not exist yet is
// taken too (the log is created at the first record).
class Qt_Log_File_Dialog : public Qt_File_Dialog {
  public:
    Qt_Log_File_Dialog() : Qt_File_Dialog(nullptr) {}
    File_Dialog_Result Show_Open(const File_Dialog_Request& request) override {
        QFileDialog dialog(nullptr, QString(),
                           QString::fromStdString(request.Initial_Folder + request.File_Name),
                           Qt_Filter_Of(request.Filter));
        dialog.setFileMode(QFileDialog::AnyFile);
        dialog.setAcceptMode(QFileDialog::AcceptOpen);
        if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
            return File_Dialog_Result::Cancelled();
        }
        return File_Dialog_Result::Chosen(dialog.selectedFiles().first().toStdString());
    }
};

// The run window's message area as the features see it: what they say shows at once.
class Refreshing_Message_Area : public Message_Area {
  public:
    Refreshing_Message_Area(Message_Area& area, std::function<void()> refresh,
                            std::function<void(const std::string&)> say = nullptr)
        : Area_(area), Refresh_(std::move(refresh)), Say_(std::move(say)) {}
    void Display(const std::string& text) override {
        Say_ ? Say_(text) : Area_.Display(text);
        Refresh_();
    }
    void Clear() override {
        Area_.Clear();
        Refresh_();
    }

  private:
    Message_Area& Area_;
    std::function<void()> Refresh_;
    std::function<void(const std::string&)> Say_;
};

template <typename Interface, typename Real, typename... Args>
Interface& Part_Or_Own(Interface* given, std::unique_ptr<Interface>& own, Args&&... args) {
    if (given) return *given;
    own = std::make_unique<Real>(std::forward<Args>(args)...);
    return *own;
}

}  // namespace

void Make_Program_Folders(const Program_Paths& paths) {
    std::error_code ignored;
    for (const char* folder : {"Setup", "Profiles", "Logfiles"}) {
        std::filesystem::create_directories(paths.Folder() / folder, ignored);
    }
}

Corvanel_Program::Corvanel_Program(Program_Paths paths, Program_Parts parts)
    : Paths_(std::move(paths)), Parts_(parts), Settings_(Paths_) {
    Make_Program_Folders(Paths_);
    Use_Language_Program_Folder(Paths_);
    On_End_Program = [] { QCoreApplication::exit(0); };
    // Qt keeps pictures of drawn controls for reuse, 10 MB of them by default; a styled
    // button (the banner's, a red Start) makes a new picture at every repaint, so a firing
    // of days would fill all of it. Two megabytes hold what these windows show at once.
    QPixmapCache::setCacheLimit(2048);

    File_Dialog& profile_dialog = Part_Or_Own<File_Dialog, Qt_File_Dialog>(
        Parts_.Profile_Dialog, Own_Profile_Dialog_, nullptr);
    File_Dialog& log_dialog =
        Part_Or_Own<File_Dialog, Qt_Log_File_Dialog>(Parts_.Log_Dialog, Own_Log_Dialog_);
    Message_Box& ask = Part_Or_Own<Message_Box, Qt_Message_Box>(Parts_.Ask, Own_Ask_, nullptr);
    Beeper& beep = Part_Or_Own<Beeper, Qt_Beeper>(Parts_.Beep, Own_Beep_);
    Editor_Dialog_ = &Part_Or_Own<File_Dialog, Qt_File_Dialog>(Parts_.Editor_Dialog,
                                                               Own_Editor_Dialog_, nullptr);
    Ask_ = &ask;
    Beep_ = &beep;
    // Mail goes out beside the firing: a hung mail server never holds a tick. What became
    // of an alarm's mail comes back on the event loop, for the banner.
    Mail_Replies_ = std::make_unique<QObject>();
    Mail_Sender& mail = Part_Or_Own<Mail_Sender, Mail_Outbox>(
        Parts_.Mail, Own_Mail_, std::make_unique<Smtp_Mail_Sender>(Paths_), 100,
        [this](std::function<void()> told) {
            QMetaObject::invokeMethod(
                Mail_Replies_.get(),
                [this, told = std::move(told)] {
                    told();
                    if (Main_Window_) Main_Window_->Refresh();
                },
                Qt::QueuedConnection);
        });
    Clock& clock = Part_Or_Own<Clock, System_Clock>(Parts_.Time, Own_Clock_);
    Clock_ = &clock;

    Waiter_ = std::make_unique<Showing_Waiter>(Parts_.Waiter, [this] {
        if (Main_Window_) Main_Window_->Refresh();
        if (Front_Panel_ && Front_Panel_->isVisible()) Front_Panel_->Refresh();
        if (Port_Setup_Window_ && Port_Setup_Window_->isVisible()) Port_Setup_Window_->Refresh();
    });
    Device_ = std::make_unique<Qt_Serial_Device>(Settings_);
    Link_ = std::make_unique<Controller_Link>(*Device_, *Waiter_);
    FrontPanel& panel = Link_->Panel();
    Name_Dialog_ = std::make_unique<dlgGetName>();
    Model_ = std::make_unique<Traj_form>(Traj_form_Services{Paths_, Protocol(), panel, clock,
                                                            profile_dialog, log_dialog, beep, mail,
                                                            *Name_Dialog_, *this, Settings_});
    Live_View_ = std::make_unique<Live_Firing_View>(Paths_);
    Model_->Run().Firing().Attach(*Live_View_);
    Model_->Run().Use_Live_Readouts(Read_Live_View_Setting(Settings_, Live_View_Message_));
    // Every firing is kept in a record beside its log.
    Record_Writer_ =
        std::make_unique<Firing_Record_Writer>(Paths_, "Corvanel " CORVANEL_PROGRAM_VERSION);
    Record_Writer_->Hold_In(Model_->Run().Held_Files());  // one word to the operator of a full disk
    Model_->Run().Firing().Attach(*Record_Writer_);
    Link_->Show_Messages_On(*Model_);
    Serial_Window_ = std::make_unique<Serial_Port_Window>(*Device_, Link_->Serial());
    Model_->Connect_Serial_Port(Link_->Serial());
    Model_->Connect_Message_Box(ask);
    Main_Window_ = std::make_unique<Traj_form_Window>(*Model_, ask);
    Model_->Connect_Change_Dialog(Part_Or_Own<Firing_Change_Dialog, Firing_Change_Window>(
        Parts_.Change_Dialog, Own_Change_Dialog_, Main_Window_.get()));
    Model_->Connect_Start_Time_Dialog(Part_Or_Own<Start_Time_Dialog, Start_Time_Window>(
        Parts_.Start_Time, Own_Start_Time_, Main_Window_.get()));
    Main_Window_->Show_Live_View(*Live_View_);

    panel.Load_Serial_Window = [this] {
        Serial_Window_->Link().Form_Load(Model_->Comm_Port_Number);
    };
    panel.Exited = [this] {
        Model_->Front_Panel_Exited();
        Main_Window_->Refresh();
    };
    Front_Panel_ = std::make_unique<FrontPanel_Window>(panel);
    Port_Setup_ = std::make_unique<CommSetUp>(*Model_, Link_->Serial(), Protocol(), Settings_);
    Port_Setup_Window_ = std::make_unique<CommSetUp_Window>(*Port_Setup_);
    Port_Setup_Window_->Main_Window_Changed = [this] { Main_Window_->Refresh(); };
    File_Dialog& language_dialog = Part_Or_Own<File_Dialog, Qt_File_Dialog>(
        Parts_.Language_Dialog, Own_Language_Dialog_, nullptr);
    Language_Editor_Window_ = std::make_unique<LanguageDataBaseInterface_Window>(language_dialog);
    Language_Window_ = std::make_unique<AddALanguage_Window>(Paths_, Settings_);
    Language_Window_->Show_Language_Editor = [this] { Show_Language_Editor(); };
    // The new language shows on every window at once, not only at the next activation
    // (which may never come on a desktop without a window manager).
    Language_Window_->Language_Chosen = [this] {
        Apply_Language();
        Live_View_->Language_Changed(Model_->Run().Firing().Latest());
        Main_Window_->Language_Changed();
        if (Editor_Window_) Editor_Window_->Language_Changed();
        Apply_Feature_Language();
    };
    Registry_ = std::make_unique<Qt_Window_Registry>(
        [this](Caption_Window window) { return Window_Of(static_cast<int>(window)); });
    // The features: each hears the firing, adds its menu entries at the end of its menu.
    Feature_Messages_ =
        std::make_unique<Refreshing_Message_Area>(*Model_, [this] { Main_Window_->Refresh(); });
    Feature_Notices_ = std::make_unique<Refreshing_Message_Area>(
        *Model_, [this] { Main_Window_->Refresh(); },
        [this](const std::string& text) { Model_->Run().Notice(text); });
    File_Dialog& export_dialog =
        Part_Or_Own<File_Dialog, Qt_File_Dialog>(Parts_.Export_Dialog, Own_Export_Dialog_, nullptr);
    Features_ = Make_Features({Paths_, Settings_, *Clock_, Kiln_, *Feature_Messages_,
                               *Feature_Notices_, Main_Window_.get(), export_dialog},
                              {Parts_.Guard_Program, Parts_.Guard_Seconds});
    for (const std::unique_ptr<Feature>& feature : Features_) {
        feature->Attach(Model_->Run().Firing());
        for (Menu_Entry& entry : feature->Menu_Entries()) {
            auto* menu =
                Main_Window_->findChild<QMenu*>(QString::fromStdString("mnu" + entry.Menu));
            if (!menu) continue;
            QAction* action =
                Menu_Item(*menu, entry.Object_Name.c_str(), TranslateText(entry.Caption).c_str());
            QObject::connect(action, &QAction::triggered, Main_Window_.get(),
                             [chosen = std::move(entry.Chosen)] { chosen(); });
            Feature_Actions_.push_back({action, entry.Caption});
        }
    }
}

Corvanel_Program::~Corvanel_Program() {
    // Last made, first gone: MQTT says "offline" to the broker while the snapshot it
    // reads is still there.
    while (!Features_.empty()) Features_.pop_back();
    // The windows go first: nothing may refresh them while the rest is taken down.
    Editor_Window_.reset();
    Language_Window_.reset();
    Language_Editor_Window_.reset();
    Port_Setup_Window_.reset();
    Front_Panel_.reset();
    Main_Window_->Program_Ending();
    Main_Window_.reset();
    Model_->Run().Firing().Detach(*Live_View_);
}

Profile_Editor_Window& Corvanel_Program::Editor_Window() {
    if (Editor_Window_) return *Editor_Window_;
    Editor_Window_ =
        std::make_unique<Profile_Editor_Window>(Paths_, Settings_, *Editor_Dialog_, *Ask_, *Beep_);
    Editor_Window_->Caption_Pass = [this] { Apply_Language(); };
    Editor_Window_->Units_Follow_Profile = Model_->Run().Live_Readouts();
    Editor_Window_->On_Closed = [this] {
        // The sheet goes with the window; the next showing makes and loads a new one. The
        // window is inside its own close event, so it is deleted once that has returned.
        Editor_Window_.release()->deleteLater();
    };
    Editor_Window_->Form_Load();
    return *Editor_Window_;
}

Firing_History_Window& Corvanel_Program::History_Window() {
    return Find_Feature<Firing_History_Feature>(Features_)->Window();
}

Remote_Monitoring& Corvanel_Program::Remote() {
    return *Find_Feature<Remote_Monitoring>(Features_);
}

Mqtt_Publishing& Corvanel_Program::Mqtt() {
    return *Find_Feature<Mqtt_Publishing>(Features_);
}

// The guard acts on the device the port has open, whatever the port numbers say then.
std::string Corvanel_Program::Program_Kiln::Opened_Device() const {
    return Program_.Serial_Window_->Link().Device().Opened_Device();
}

// A firing the guard stopped while this program still ran is soft-offed here too, after
// the tick that heard of it.
void Corvanel_Program::Program_Kiln::Stop_Firing() {
    QTimer::singleShot(0, Program_.Main_Window_.get(), [this] {
        Program_.Model_->SoftOff_Click();
        Program_.Main_Window_->Refresh();
    });
}

std::string Corvanel_Program::Program_Kiln::Notification_List() const {
    return Program_.Model_->Email_Notification;
}

// The run makes the change itself after the tick that asked it, then the window follows.
void Corvanel_Program::Program_Kiln::Ask_Change(const Asked_Change& change) {
    Program_.Model_->Run().Ask_Change(change);
}

void Corvanel_Program::Show_Profile_Editor(const std::string& controller_scale) {
    Profile_Editor_Window& editor = Editor_Window();
    editor.Model().Controller_Scale = controller_scale;
    editor.show();
    editor.raise();
    editor.activateWindow();
}

QWidget* Corvanel_Program::Window_Of(int window) {
    switch (static_cast<Caption_Window>(window)) {
        case Caption_Window::Traj_form:
            return Main_Window_.get();
        case Caption_Window::Serial_Port:
            return Serial_Window_.get();
        case Caption_Window::dlgGetName:
            return Name_Dialog_.get();
        case Caption_Window::Profile_Editor:
            return &Editor_Window();
        case Caption_Window::FrontPanel:
            return Front_Panel_.get();
        case Caption_Window::CommSetUp:
            return Port_Setup_Window_.get();
        default:
            return nullptr;  // windows this program does not have yet
    }
}

void Corvanel_Program::Main() {
    // A guard that took over the last firing while the program was gone gives the port
    // back before the load opens it.
    long guard = 0;
    const bool guard_acted = Take_Kiln_Back_From_Guard(Paths_.Folder(), guard);
    Main_Window_->Form_Load();
    if (guard_acted) {
        Model_->Display(
            TranslateText("The kiln guard had taken over the firing while the "
                          "program was not running; the program has the "
                          "controller again"));
    }
    if (!Live_View_Message_.empty()) Model_->Display(Live_View_Message_);
    Front_Panel_->Form_Load();  // after the main window's load: the port number is known
    Main_Window_->show();
    // The language pass, then the grid titles, as at every activation: a desktop without
    // a window manager never activates the window, and the grid still needs its titles.
    Main_Window_->Form_Activate();
    Apply_Feature_Language();
    for (const std::unique_ptr<Feature>& feature : Features_) feature->Apply_Settings();
    // The features hear of the event loop once a minute besides every tick.
    auto* alive = new QTimer(Main_Window_.get());
    QObject::connect(alive, &QTimer::timeout, Main_Window_.get(), [this] {
        for (const std::unique_ptr<Feature>& feature : Features_) feature->Program_Alive();
    });
    alive->start(60000);
    // The computer shutting down, the session ending or the program told to end mid-firing:
    // nobody will hold the kiln, so the firing ends with a soft off before the program goes.
    new Shutdown_Signals(
        [this](int) {
            Model_->End_For_Shutdown();
            Model_->mnuExitProgram_Click();
        },
        Main_Window_.get());
#ifndef QT_NO_SESSIONMANAGER
    QObject::connect(qApp, &QGuiApplication::commitDataRequest, Main_Window_.get(),
                     [this](QSessionManager&) { Model_->End_For_Shutdown(); });
#endif
    Keep_Start_At_Login();
    Login_Subscription_ = Settings_.Subscribe_File(
        Safety_Setting_List().front()->File,
        [this](const Setting&, const std::string&) { Keep_Start_At_Login(); });
}

void Corvanel_Program::Keep_Start_At_Login() {
    const bool wanted = Safety_Settings_Of(Settings_).Start_At_Login;
    std::error_code unknown;
    const std::filesystem::path program = std::filesystem::read_symlink("/proc/self/exe", unknown);
    if (Maybe_Problem problem = Keep_Autostart_Entry(wanted, Paths_.Folder(), program.string()))
        Show_Problem(*Model_, *problem);
}

void Corvanel_Program::Show_Front_Panel(bool visible) {
    Front_Panel_->setVisible(visible);
    if (visible) Front_Panel_->Refresh();
}

void Corvanel_Program::Show_CommSetUp() {
    Port_Setup_Window_->Open();
}

void Corvanel_Program::Show_Language_Window() {
    Language_Window_->Open();
}

void Corvanel_Program::Show_Language_Editor() {
    Language_Editor_Window_->Open();
}

std::string Corvanel_Program::Print_Profile(const Printout& printout) {
    // Without a printer the page goes to Printouts/<profile>_<date and time>.pdf.
    std::string name = Model_->Profile_Name.empty() ? "profile" : Model_->Profile_Name;
    name = name.substr(0, name.rfind('.'));
    name += "_" + Format_Month_Day_Year_Hour_Minute(Clock_->Now()) + ".pdf";
    std::string pdf = (Paths_.Folder() / "Printouts" / name).string();
    return Print_Profile_Page(printout, Main_Window_->ProfileChart, pdf);
}

void Corvanel_Program::Show_Main_Window(bool visible) {
    Main_Window_->setVisible(visible);
}

void Corvanel_Program::Apply_Language() {
    InitObjectLanguage(*Registry_);
}

void Corvanel_Program::Apply_Feature_Language() {
    for (const Feature_Action& entry : Feature_Actions_) {
        entry.Action->setText(QString::fromStdString(TranslateText(entry.Caption)));
    }
    for (const std::unique_ptr<Feature>& feature : Features_) feature->Apply_Language();
}

void Corvanel_Program::Focus_Elapsed_Time() {
    Main_Window_->Elapsed_Time->setFocus(Qt::OtherFocusReason);
}

void Corvanel_Program::Focus_Email_Notification() {
    Main_Window_->Email_Notification->setFocus(Qt::OtherFocusReason);
}

void Corvanel_Program::End_Program() {
    // Nothing of the program runs after this: the windows go away with the event loop.
    Main_Window_->Program_Ending();
    Main_Window_->hide();
    if (On_End_Program) On_End_Program();
}

}  // namespace corvanel
