// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/windows/traj_form_window.h"

#include "app/windows/alarm_banner_widget.h"
#include "app/windows/large_readouts_view.h"
#include "ui/widgets.h"

#include <QCloseEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QSplitter>
#include <QTableWidget>
#include <QTimer>
#include <QVBoxLayout>
#include <algorithm>

#include "app/run_unit_caption.h"
#include "common/text.h"
#include "language/operator_style.h"
#include "language/translate.h"
#include "ui/typed_char.h"

namespace corvanel {

namespace {

// The grid's column width in the design: 1058 twips, 15 twips to a pixel.
constexpr int Grid_Column_Width = 1058 / 15;

}  // namespace

Traj_form_Window::Traj_form_Window(Traj_form& model, Message_Box& ask) : Model_(model), Ask_(ask) {
    setObjectName("Traj_form");
    setWindowTitle("Run Temperature Profile ");
    Build_Controls();
    Build_Menus();
    Connect_Events();
}

void Traj_form_Window::Build_Controls() {
    auto* central = new QWidget(this);
    central->setObjectName("Traj_form_Controls");
    setCentralWidget(central);

    OvenName = new QLabel(central);
    OvenName->setObjectName("OvenName");
    QFont big = OvenName->font();
    big.setPointSize(big.pointSize() + 6);
    big.setBold(true);
    OvenName->setFont(big);

    // The live readouts, each named by its label.
    auto* readouts = new QWidget(central);
    readouts->setObjectName("Readouts");
    auto* grid = new QGridLayout(readouts);
    Elapsed_Time = Text_Box(readouts, "Elapsed_Time",
                            "Elapsed Time Display: Shows the current ellapsed time that has "
                            "passed in the run state",
                            false);
    Profile_Temperature = Text_Box(readouts, "Profile_Temperature",
                                   "Setpoint Display: Shows the current setpoint temperature "
                                   "corresponding to the current elapsed time as calculated "
                                   "from the profile");
    Real_Temp_Display_1 = Text_Box(readouts, "Real_Temp_Display_1",
                                   "Oven Temperature Display: Shows the current actual "
                                   "temperature of the oven");
    Segment_Executing = Text_Box(readouts, "Segment_Executing",
                                 "Segment Running Display: Shows the segment from the profile "
                                 "that is currently running");
    Duty_Cycle = Text_Box(readouts, "Duty_Cycle", "");
    Time_Left = Text_Box(readouts, "Time_Left");
    Finishes_At = Text_Box(readouts, "Finishes_At");
    TimeReadOut = Label_For(readouts, "TimeReadOut", "Time (mins)", Elapsed_Time);
    SetPointReadOut = Label_For(readouts, "SetPointReadOut", "Set Temp(F)", Profile_Temperature);
    Process_Temp_Label =
        Label_For(readouts, "Process_Temp_Label", "Process Temp", Real_Temp_Display_1);
    Segment_Label = Label_For(readouts, "Segment_Label", "Seg", Segment_Executing);
    Power_Label = Label_For(readouts, "Power_Label", "% Power", Duty_Cycle);
    Time_Left_Label = Label_For(readouts, "Time_Left_Label", "Time Left", Time_Left);
    Finishes_At_Label = Label_For(readouts, "Finishes_At_Label", "Finishes At", Finishes_At);
    QFont readout_font = Elapsed_Time->font();
    readout_font.setPointSize(readout_font.pointSize() + 4);
    int column = 0;
    for (auto [label, box] :
         {std::pair{TimeReadOut, Elapsed_Time}, std::pair{SetPointReadOut, Profile_Temperature},
          std::pair{Process_Temp_Label, Real_Temp_Display_1},
          std::pair{Segment_Label, Segment_Executing}, std::pair{Power_Label, Duty_Cycle}}) {
        box->setFont(readout_font);
        box->setAlignment(Qt::AlignRight);
        box->setMinimumWidth(90);
        grid->addWidget(label, 0, column);
        grid->addWidget(box, 1, column);
        ++column;
    }
    Process_Temp_Note = new QLabel(readouts);
    Process_Temp_Note->setObjectName("Process_Temp_Note");
    Process_Temp_Note->setVisible(false);
    grid->addWidget(Process_Temp_Note, 4, 0, 1, column);
    // Time left and the finish, large enough to read from across the studio.
    int row_column = 0;
    for (auto [label, box] :
         {std::pair{Time_Left_Label, Time_Left}, std::pair{Finishes_At_Label, Finishes_At}}) {
        box->setFont(readout_font);
        box->setAlignment(Qt::AlignRight);
        grid->addWidget(label, 2, row_column);
        grid->addWidget(box, 3, row_column, 1, 2);
        row_column += 2;
    }
    // What the kiln's history foresees beyond the plan, and when a cooling kiln may open.
    Forecast_Note = new QLabel(readouts);
    Forecast_Note->setObjectName("Forecast_Note");
    Forecast_Note->setWordWrap(true);
    Forecast_Note->setVisible(false);
    grid->addWidget(Forecast_Note, 5, 0, 1, column);

    Start_Profile = Button(central, "Start_Profile", " RUN PROFILE");
    SoftOff = Button(central, "SoftOff", "SOFT OFF");
    for (QPushButton* button : {Start_Profile, SoftOff}) {
        button->setMinimumHeight(44);
        button->setFont(readout_font);
    }

    Load_Profile_Frame = Frame(central, "Load_Profile_Frame", "Load Profile");
    Profile_Name = Text_Box(Load_Profile_Frame, "Profile_Name",
                            "Profile Name Display:  Enter name via dialog box brought up "
                            "through the File Menu -> OpenFile function");
    Profile_Label = Label_For(Load_Profile_Frame, "Profile_Label", "Profile", Profile_Name);
    auto* profile_row = new QHBoxLayout(Load_Profile_Frame);
    profile_row->addWidget(Profile_Label);
    profile_row->addWidget(Profile_Name);

    Log_File_Frame = Frame(central, "Log_File_Frame", "Specify Log File");
    LogFile = Text_Box(Log_File_Frame, "LogFile",
                       "Log File Name Display:  Set with LogFile Menu -> Specify Logfiile");
    Log_Label = Label_For(Log_File_Frame, "Log_Label", "Log", LogFile);
    auto* log_row = new QHBoxLayout(Log_File_Frame);
    log_row->addWidget(Log_Label);
    log_row->addWidget(LogFile);

    Email_Notification = Text_Box(central, "Email_Notification",
                                  "email addresses to receive notifications, Set with:  Email "
                                  "Menu -> EditNotificationList");
    Email_Label = Label_For(central, "Email_Label", "Email", Email_Notification);

    User_Message_Box = Message_View(
        central, "User_Message_Box",
        "Watch this display for messages that inform you about the state of operation ");
    Message_Label = Label_For(central, "Message_Label", "User Prompt Window", User_Message_Box);

    RunProfile_FlexGrid = new QTableWidget(Last_Segment_Row, Sheet_Columns, central);
    RunProfile_FlexGrid->setObjectName("RunProfile_FlexGrid");
    RunProfile_FlexGrid->verticalHeader()->hide();
    RunProfile_FlexGrid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    // The firing's segment is the one highlighted row; a click does not move it.
    RunProfile_FlexGrid->setSelectionMode(QAbstractItemView::NoSelection);
    for (int col = 0; col < Sheet_Columns; ++col) {
        RunProfile_FlexGrid->setColumnWidth(col, Grid_Column_Width);
    }

    ProfileChart = new Run_Chart_View("ProfileChart", central);
    ProfileChart->setMinimumSize(420, 260);

    auto* left = new QVBoxLayout;
    left->addWidget(OvenName);
    left->addWidget(readouts);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(Start_Profile);
    buttons->addWidget(SoftOff);
    left->addLayout(buttons);
    // Beside the specified buttons, smaller: the firing started at a clock time instead.
    Start_Later = Button(central, "Start_Later", "Start later...");
    left->addWidget(Start_Later);
    left->addWidget(Load_Profile_Frame);
    left->addWidget(Log_File_Frame);
    auto* email_row = new QHBoxLayout;
    email_row->addWidget(Email_Label);
    email_row->addWidget(Email_Notification);
    left->addLayout(email_row);
    left->addWidget(Message_Label);
    left->addWidget(User_Message_Box, 1);

    auto* right = new QVBoxLayout;
    right->addWidget(ProfileChart, 3);
    right->addWidget(RunProfile_FlexGrid, 2);

    Banner = new Alarm_Banner_Widget(
        Model_.Run().Safety().Banner(),
        {.Acknowledge = [this] { Handle([this] { Model_.Acknowledge_Click(); }); },
         // As the count-down's own end: never inside a tick waiting for its reply.
         .Continue_Now =
             [this] {
                 if (Handling_ == 0) Handle([this] { Model_.Continue_Now_Click(); });
             },
         .Do_Not_Continue = [this] { Handle([this] { Model_.Do_Not_Continue_Click(); }); }},
        central);
    auto* columns = new QHBoxLayout;
    columns->addLayout(left, 2);
    columns->addLayout(right, 3);
    // An addition above the specified controls, which stay as they are.
    Large_Readouts = new Large_Readouts_View(central);
    auto* layout = new QVBoxLayout(central);
    layout->addWidget(Banner);
    layout->addWidget(Large_Readouts);
    layout->addLayout(columns, 1);

    // The firing's ticks keep to the millisecond: Qt's default timer may come up to 5%
    // of its interval late, three seconds on a one-minute tick.
    Control_Interval = new QTimer(this);
    Control_Interval->setObjectName("Control_Interval");
    Control_Interval->setTimerType(Qt::PreciseTimer);
    Monitor_Interval = new QTimer(this);
    Monitor_Interval->setObjectName("Monitor_Interval");
    Monitor_Interval->setTimerType(Qt::PreciseTimer);
    Message = new QTimer(this);
    Message->setObjectName("Message");
    Link_Retry = new QTimer(this);
    Link_Retry->setObjectName("Link_Retry");
    Continue_Count_Down = new QTimer(this);
    Continue_Count_Down->setObjectName("Continue_Count_Down");
    resize(1180, 720);
}

void Traj_form_Window::Build_Menus() {
    mnuFile = Menu(*menuBar(), "mnuFile", "File");
    mnuFileOpen = Menu_Item(*mnuFile, "mnuFileOpen", "OpenProfile");
    mnuPrintProfile = Menu_Item(*mnuFile, "mnuPrintProfile", "Print Profile");
    mnuLogFile = Menu(*menuBar(), "mnuLogFile", "LogFile");
    mnuSpecifyLogFile = Menu_Item(*mnuLogFile, "mnuSpecifyLogFile", "Specify LogFile");
    mnuReset_Logfile = Menu_Item(*mnuLogFile, "mnuReset_Logfile", "Reset Logfile and Time");
    mnuFiring = Menu(*menuBar(), "mnuFiring", "Change Firing");
    mnuSkipSegment = Menu_Item(*mnuFiring, "mnuSkipSegment", "Skip to the next segment");
    mnuExtendHold = Menu_Item(*mnuFiring, "mnuExtendHold", "Extend this hold...");
    mnuChangeSegment =
        Menu_Item(*mnuFiring, "mnuChangeSegment", "Change this segment's end or rate...");
    mnuSetUp = Menu(*menuBar(), "mnuSetUp", "SetUp");
    mnuRecallSetup = Menu_Item(*mnuSetUp, "mnuRecallSetup", "RecallLastStateAtRestart?", true);
    mnuCommPortNumber = Menu(*mnuSetUp, "mnuCommPortNumber", "CommPortNumber");
    mnuComm[0] = Menu_Item(*mnuCommPortNumber, "mnuComm1", "Comm=1", true);
    mnuComm[1] = Menu_Item(*mnuCommPortNumber, "mnuComm2", "Comm=2", true);
    mnuComm[2] = Menu_Item(*mnuCommPortNumber, "mnuComm3", "Comm=3", true);
    frmCommPortConfig = Menu_Item(*mnuSetUp, "frmCommPortConfig", "Comm Port Config");
    mnuSetUpName = Menu_Item(*mnuSetUp, "mnuSetUpName", "SetDeviceName");
    mnuLargeReadouts = Menu_Item(*mnuSetUp, "mnuLargeReadouts", "Large read-outs", true);
    mnuEmail = Menu(*menuBar(), "mnuEmail", "Email");
    mnuEditNotificationList =
        Menu_Item(*mnuEmail, "mnuEditNotificationList", "EditNotificationList", true);
    mnuEnableEmailNotification =
        Menu_Item(*mnuEmail, "mnuEnableEmailNotification", "EnableNotification", true);
    mnuTestNotication = Menu_Item(*mnuEmail, "mnuTestNotication", "TestNotification");
    mnuEditor = Menu(*menuBar(), "mnuEditor", "Editor");
    mnuEdit = Menu_Item(*mnuEditor, "mnuEdit", "Edit / Create Profile");
    mnuLock = Menu(*menuBar(), "mnuLock", "Lock Controls");
    mnuLockControls = Menu_Item(*mnuLock, "mnuLockControls", "Lock Controls?", true);
    mnuFrontPanelMenu = Menu(*menuBar(), "mnuFrontPanelMenu", "FrontPanel");
    mnuFrontPanel = Menu_Item(*mnuFrontPanelMenu, "mnuFrontPanel", "ShowFrontPanel", true);
    mnuLanguage = Menu(*menuBar(), "mnuLanguage", "Language");
    mnuSelectLanguage = Menu_Item(*mnuLanguage, "mnuSelectLanguage", "Select Language");
    mnuAddLanguage = Menu_Item(*mnuLanguage, "mnuAddLanguage", "Add Language");
    mnuEditTranslation = Menu_Item(*mnuLanguage, "mnuEditTranslation", "Edit Translation");
    mnuAbout = Menu(*menuBar(), "mnuAbout", "About");
    mnuVersion = Menu_Item(*mnuAbout, "mnuVersion", "Version");
    mnuExit = Menu(*menuBar(), "mnuExit", "Exit");
    mnuExitProgram = Menu_Item(*mnuExit, "mnuExitProgram", "ExitProgram");
}

void Traj_form_Window::Connect_Events() {
    auto on = [this](QAction* action, auto handler) {
        connect(action, &QAction::triggered, this, [this, handler] { Handle(handler); });
    };
    Traj_form& m = Model_;
    on(mnuFileOpen, [&m] { m.mnuFileOpen_Click(); });
    on(mnuPrintProfile, [&m] { m.mnuPrintProfile_Click(); });
    on(frmCommPortConfig, [&m] { m.frmCommPortConfig_Click(); });
    on(mnuFrontPanel, [&m] { m.mnuFrontPanel_Click(); });
    on(mnuSpecifyLogFile, [&m] { m.mnuSpecifyLogFile_Click(); });
    on(mnuReset_Logfile, [&m] { m.mnuReset_Logfile_Click(); });
    on(mnuRecallSetup, [&m] { m.mnuRecallSetup_Click(); });
    for (int n = 1; n <= 3; ++n) on(mnuComm[n - 1], [&m, n] { m.mnuComm_Click(n); });
    on(mnuSetUpName, [&m] { m.mnuSetUpName_Click(); });
    on(mnuLargeReadouts, [&m] { m.mnuLargeReadouts_Click(); });
    on(mnuSkipSegment, [&m] { m.mnuSkipSegment_Click(); });
    on(mnuExtendHold, [&m] { m.mnuExtendHold_Click(); });
    on(mnuChangeSegment, [&m] { m.mnuChangeSegment_Click(); });
    on(mnuEditNotificationList, [&m] { m.mnuEditNotificationList_Click(); });
    on(mnuEnableEmailNotification, [&m] { m.mnuEnableEmailNotification_Click(); });
    on(mnuTestNotication, [&m] { m.mnuTestNotication_Click(); });
    on(mnuEdit, [&m] { m.mnuEdit_Click(); });
    on(mnuLockControls, [&m] { m.mnuLockControls_Click(); });
    on(mnuSelectLanguage, [&m] { m.mnuSelectLanguage_Click(); });
    on(mnuAddLanguage, [&m] { m.mnuAddLanguage_Click(); });
    on(mnuEditTranslation, [&m] { m.mnuEditTranslation_Click(); });
    on(mnuVersion, [&m] { m.mnuVersion_Click(); });
    on(mnuExitProgram, [&m] { m.mnuExitProgram_Click(); });

    connect(Start_Profile, &QPushButton::clicked, this,
            [this] { Handle([this] { Model_.Start_Profile_Click(); }); });
    connect(Start_Later, &QPushButton::clicked, this,
            [this] { Handle([this] { Model_.Start_Later_Click(); }); });
    connect(SoftOff, &QPushButton::clicked, this,
            [this] { Handle([this] { Model_.SoftOff_Click(); }); });
    connect(Control_Interval, &QTimer::timeout, this,
            [this] { Handle([this] { Model_.Control_Interval_Timer(); }); });
    connect(Monitor_Interval, &QTimer::timeout, this,
            [this] { Handle([this] { Model_.Monitor_Interval_Timer(); }); });
    connect(Message, &QTimer::timeout, this,
            [this] { Handle([this] { Model_.Message_Timer(); }); });
    // Never inside a tick waiting for its reply: the port is not reopened under it.
    connect(Continue_Count_Down, &QTimer::timeout, this, [this] {
        if (Handling_ == 0) Handle([this] { Model_.Continue_Timer(); });
    });
    connect(Link_Retry, &QTimer::timeout, this, [this] {
        if (Handling_ == 0) Handle([this] { Model_.Link_Retry_Timer(); });
    });

    // What the operator types reaches the model as the box's change event.
    connect(Elapsed_Time, &QLineEdit::textEdited, this, [this](const QString& text) {
        Handle([this, text] { Model_.Elapsed_Time_Change(text.toStdString()); });
    });
    connect(Email_Notification, &QLineEdit::textEdited, this,
            [this](const QString& text) { Model_.Email_Notification = text.toStdString(); });
    Elapsed_Time->installEventFilter(this);
}

bool Traj_form_Window::eventFilter(QObject* watched, QEvent* event) {
    if (watched != Elapsed_Time) return QMainWindow::eventFilter(watched, event);
    if (event->type() == QEvent::FocusIn) {
        auto reason = static_cast<QFocusEvent*>(event)->reason();
        // Coming back to the window or out of a menu is not the operator choosing the box.
        if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason &&
            reason != Qt::MenuBarFocusReason) {
            Handle([this] { Model_.Elapsed_Time_GotFocus(); });
        }
    } else if (event->type() == QEvent::KeyPress) {
        char key = Typed_Char_Of(*static_cast<QKeyEvent*>(event));
        if (key == 0) return false;  // keys without a character only move the caret
        bool reaches_box = Model_.Elapsed_Time_KeyPress(key);
        Refresh();
        return !reaches_box;
    }
    return QMainWindow::eventFilter(watched, event);
}

void Traj_form_Window::Form_Load() {
    Model_.Form_Load();
    Refresh();
    Start_Profile->setFocus(Qt::OtherFocusReason);
}

void Traj_form_Window::Form_Activate() {
    Model_.Form_Activate();
    Apply_Own_Language();
    Refresh();
}

void Traj_form_Window::Language_Changed() {
    Model_.Translate_Grid_Titles();
    Apply_Own_Language();
    Refresh();
}

void Traj_form_Window::Apply_Own_Language() {
    Time_Left_Label->setText(Q(TranslateText("Time Left")));
    Finishes_At_Label->setText(Q(TranslateText("Finishes At")));
    mnuFiring->setTitle(Q(TranslateText("Change Firing")));
    mnuSkipSegment->setText(Q(TranslateText("Skip to the next segment")));
    mnuLargeReadouts->setText(Q(TranslateText("Large read-outs")));
    mnuExtendHold->setText(Q(TranslateText("Extend this hold...")));
    mnuChangeSegment->setText(Q(TranslateText("Change this segment's end or rate...")));
    ProfileChart->Show_Names();
}

bool Traj_form_Window::event(QEvent* event) {
    bool handled = QMainWindow::event(event);
    if (event->type() == QEvent::WindowActivate) Form_Activate();
    return handled;
}

void Traj_form_Window::closeEvent(QCloseEvent* event) {
    if (Ending_) {
        event->accept();
        return;
    }
    // Closing by the frame ends the program as ExitProgram does, so the settings are
    // saved and the port closed; a firing in progress is only left after the operator
    // confirms, and the controller then holds its last set value.
    if (Model_.Run().Control_Interval().Enabled &&
        (!Ask_.Ask_OK_Cancel(TranslateText("Profile Running") + std::string(CRLF) +
                             TranslateText("ExitProgram") + "?") ||
         !Ask_.Ask_OK_Cancel(Model_.Leaving_Firing_Words()))) {
        event->ignore();
        return;
    }
    const std::string waiting = Model_.Later_Start_Exit_Question();
    if (!waiting.empty() && !Ask_.Ask_OK_Cancel(waiting)) {
        event->ignore();
        return;
    }
    event->accept();
    Model_.mnuExitProgram_Click();
}

bool Traj_form_Window::Set_Own_Text(const Caption_Entry& entry, const std::string& text) {
    // These two captions are state of the run: the model keeps them. They show the
    // loaded profile's units, which the design texts may not be.
    const std::string units =
        Model_.Run().Live_Readouts() ? Run_Unit_Caption(Model_, entry.Control) : "";
    if (entry.Control == "TimeReadOut") {
        Model_.TimeReadOut = units.empty() ? text : units;
    } else if (entry.Control == "SetPointReadOut") {
        Model_.SetPointReadOut = units.empty() ? text : units;
    } else {
        return false;
    }
    Refresh();
    return true;
}

void Traj_form_Window::Sync_Timer(QTimer& timer, const Timer_State& state) {
    if (!state.Enabled) {
        if (timer.isActive()) timer.stop();
        return;
    }
    // Enabling a running timer leaves its countdown alone; a new interval restarts it.
    if (!timer.isActive()) {
        timer.start(state.Interval);
    } else if (timer.interval() != state.Interval) {
        timer.start(state.Interval);
    }
}

void Traj_form_Window::Refresh() {
    const Traj_form& m = Model_;
    Show_Message_Lines(*User_Message_Box, Shown_Messages_, m.User_Message_Box);
    Show_Texts({{Elapsed_Time, m.Elapsed_Time},
                {Real_Temp_Display_1, m.Real_Temp_Display_1},
                {Profile_Temperature, m.Profile_Temperature},
                {Segment_Executing, m.Segment_Executing},
                {Duty_Cycle, m.Duty_Cycle},
                {LogFile, m.LogFile},
                {Profile_Name, m.Profile_Name},
                {Email_Notification, m.Email_Notification}});
    Elapsed_Time->setEnabled(m.Elapsed_Time_Enabled);
    Large_Readouts->setVisible(m.Large_Readouts_Shown);
    mnuLargeReadouts->setChecked(m.Large_Readouts_Shown);
    Process_Temp_Note->setText(Q(m.Process_Temp_Note));
    Process_Temp_Note->setVisible(!m.Process_Temp_Note.empty());
    if (m.Process_Temp_Stale != Shown_Stale_) {
        Shown_Stale_ = m.Process_Temp_Stale;
        Show_Process_Temp_Look();
    }
    Email_Notification->setReadOnly(m.Email_Notification_Locked);
    Email_Notification->setEnabled(m.Email_Notification_Enabled);
    OvenName->setText(Q(m.OvenName));
    TimeReadOut->setText(Q(m.TimeReadOut));
    SetPointReadOut->setText(Q(m.SetPointReadOut));
    Start_Profile->setEnabled(m.Start_Profile_Enabled);
    Start_Later->setText(Q(m.Start_Later_Caption()));
    Show_Style(*Start_Profile, m.Start_Profile_Red ? "background-color: red; color: white;" : "");

    mnuRecallSetup->setChecked(m.mnuRecallSetup);
    for (int n = 0; n < 3; ++n)
        mnuComm[static_cast<std::size_t>(n)]->setChecked(m.mnuComm[static_cast<std::size_t>(n)]);
    mnuEditNotificationList->setChecked(m.mnuEditNotificationList);
    mnuEnableEmailNotification->setChecked(m.mnuEnableEmailNotification);
    mnuLockControls->setChecked(m.mnuLockControls);
    mnuFrontPanel->setChecked(m.mnuFrontPanel);

    Sync_Timer(*Control_Interval, m.Run().Control_Interval());
    Sync_Timer(*Monitor_Interval, m.Run().Monitor_Interval());
    Sync_Timer(*Message, m.Run().Alert_Interval());
    Sync_Timer(*Link_Retry, m.Run().Link_Retry_Interval());
    Sync_Timer(*Continue_Count_Down, m.Run().Continue_Interval());
    Refresh_Grid();
    Refresh_Chart();
    Banner->Refresh();
}

void Traj_form_Window::Refresh_Grid() {
    Grid_Shown_.Show(*RunProfile_FlexGrid, Model_.RunProfile_FlexGrid,
                     std::vector<int>(Sheet_Columns, Grid_Column_Width),
                     [](QTableWidgetItem& cell, int) {
                         cell.setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
                     });
}

void Traj_form_Window::Refresh_Chart() {
    // Before any profile there is nothing to draw: words say what to do instead.
    const bool nothing =
        !Model_.Run().Profile().Valid() && (!Live_View_ || Live_View_->Measured().empty());
    ProfileChart->Show_Title(
        Firing_Title(Model_.Run().Firing_Status_Now(), Operator_Style()),
        nothing ? TranslateText("Open a profile from the File menu to see its plan here; the "
                                "firing is drawn over it.")
                : "");
    if (!Live_View_) {
        ProfileChart->Show_Points(Model_.Run().Profile().Chart_Points());
        return;
    }
    const auto original = Model_.Run().Profile().Original_Plan();
    ProfileChart->Show_Firing(Model_.Run().Profile().Chart_Points(), original.get(), *Live_View_);
    Refresh_Live_View();
}

void Traj_form_Window::Show_Process_Temp_Look() {
    // A number without a fresh reading behind it is greyed, whatever the profile says.
    Show_Style(*Real_Temp_Display_1, Shown_Stale_ ? "background-color: #d6d6d6; color: #7a7a7a;"
                                     : Shown_Off_Profile_ ? "background-color: #c62828; color: white;"
                                                          : "");
}

void Traj_form_Window::Refresh_Live_View() {
    const Live_Firing_View& view = *Live_View_;
    if (Model_.Large_Readouts_Shown) Large_Readouts->Refresh(view);
    Show_Text(*Time_Left, view.Time_Left());
    Show_Text(*Finishes_At, view.Finishes_At());
    const std::string& note =
        view.Forecast_Note().empty() ? view.Cooling_Note() : view.Forecast_Note();
    if (Forecast_Note->text() != Q(note)) Forecast_Note->setText(Q(note));
    Forecast_Note->setVisible(!note.empty());
    if (view.Off_Profile() != Shown_Off_Profile_) {
        Shown_Off_Profile_ = view.Off_Profile();
        Show_Process_Temp_Look();
    }
    // The current segment's grid row stands out and stays in sight.
    if (view.Current_Segment() == Shown_Highlight_) return;
    const QBrush highlight = RunProfile_FlexGrid->palette().brush(QPalette::Highlight);
    const QBrush highlight_text = RunProfile_FlexGrid->palette().brush(QPalette::HighlightedText);
    auto paint_row = [&](int segment, bool on) {
        if (segment < 1 || segment > RunProfile_FlexGrid->rowCount()) return;
        for (int col = 0; col < Sheet_Columns; ++col) {
            QTableWidgetItem* cell = RunProfile_FlexGrid->item(segment - 1, col);
            if (!cell) {
                if (!on) continue;
                cell = new QTableWidgetItem;
                cell->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
                RunProfile_FlexGrid->setItem(segment - 1, col, cell);
            }
            cell->setBackground(on ? highlight : QBrush());
            cell->setForeground(on ? highlight_text : QBrush());
        }
    };
    paint_row(Shown_Highlight_, false);
    paint_row(view.Current_Segment(), true);
    Shown_Highlight_ = view.Current_Segment();
    if (Shown_Highlight_ > 0) {
        RunProfile_FlexGrid->scrollToItem(RunProfile_FlexGrid->item(Shown_Highlight_ - 1, 0),
                                          QAbstractItemView::EnsureVisible);
    }
}

}  // namespace corvanel
