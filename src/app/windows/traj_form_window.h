// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QMainWindow>
#include <array>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "app/traj_form_model.h"
#include "app/windows/run_chart_view.h"
#include "run/live_firing_view.h"
#include "ui/caption_registry.h"
#include "ui/sheet_table.h"

class QAction;
class QGroupBox;
class QKeyEvent;
class QLabel;
class QLineEdit;
class QMenu;
class QPlainTextEdit;
class QPushButton;
class QTableWidget;
class QTimer;

namespace corvanel {

class Alarm_Banner_Widget;
class Large_Readouts_View;

// The run window: the widgets of the main window bound to its model. Every event goes
// to the model's handler; after it the widgets, menus and timers are brought in line
// with the model's state (Refresh), so the window holds no rule of its own.
class Traj_form_Window : public QMainWindow, public Caption_Owner {
    Q_OBJECT
  public:
    Traj_form_Window(Traj_form& model, Message_Box& ask);

    // The live view of the firing the window draws: traces, marker, time left, finish.
    void Show_Live_View(const Live_Firing_View& view) { Live_View_ = &view; }

    // The load: the model's load runs before the window is drawn.
    void Form_Load();
    // Brings every control, check mark and timer in line with the model.
    void Refresh();
    // The activation pass: the caption pass, then the grid titles.
    void Form_Activate();
    // A language chosen while the program runs: every text the window sets itself, the
    // grid titles and the dates, without the activation's caption pass.
    void Language_Changed();

    bool Set_Own_Text(const Caption_Entry& entry, const std::string& text) override;

    // Set when the program ends, so closing the window then asks nothing.
    void Program_Ending() { Ending_ = true; }

    // Controls, named as the operator's manual names them.
    QPlainTextEdit* User_Message_Box;
    QLineEdit *Elapsed_Time, *Real_Temp_Display_1, *Profile_Temperature, *Segment_Executing,
        *Duty_Cycle, *LogFile, *Profile_Name, *Email_Notification, *Time_Left, *Finishes_At;
    QLabel *OvenName, *TimeReadOut, *SetPointReadOut, *Process_Temp_Label, *Segment_Label,
        *Power_Label, *Log_Label, *Profile_Label, *Email_Label, *Message_Label, *Time_Left_Label,
        *Finishes_At_Label;
    QGroupBox *Load_Profile_Frame, *Log_File_Frame;
    QPushButton *Start_Profile, *SoftOff, *Start_Later;
    QTimer *Control_Interval, *Monitor_Interval, *Message;
    QTimer* Link_Retry;           // the link's way back after an outage
    QTimer* Continue_Count_Down;  // an interrupted firing going on by itself
    QTableWidget* RunProfile_FlexGrid;
    Run_Chart_View* ProfileChart;

    // The Firing menu: changes of the running firing.
    QMenu* mnuFiring;
    QAction *mnuSkipSegment, *mnuExtendHold, *mnuChangeSegment;
    QMenu *mnuFile, *mnuLogFile, *mnuSetUp, *mnuCommPortNumber, *mnuEmail, *mnuEditor, *mnuLock,
        *mnuFrontPanelMenu, *mnuLanguage, *mnuAbout, *mnuExit;
    QAction *mnuFileOpen, *mnuSpecifyLogFile, *mnuReset_Logfile, *mnuRecallSetup, *mnuSetUpName,
        *mnuEditNotificationList, *mnuEnableEmailNotification, *mnuTestNotication, *mnuEdit,
        *mnuLockControls, *mnuVersion, *mnuExitProgram, *mnuPrintProfile, *frmCommPortConfig,
        *mnuFrontPanel, *mnuSelectLanguage, *mnuAddLanguage, *mnuEditTranslation;
    Alarm_Banner_Widget* Banner;
    Large_Readouts_View* Large_Readouts;
    QAction* mnuLargeReadouts;
    std::array<QAction*, 3> mnuComm{};
    QLabel* Process_Temp_Note;  // since when Process Temp has no fresh reading
    QLabel* Forecast_Note = nullptr;

  protected:
    bool event(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void Build_Controls();
    void Build_Menus();
    void Connect_Events();
    // Runs a handler of the model, then shows what it changed.
    template <typename Handler>
    void Handle(Handler handler) {
        ++Handling_;
        handler();
        --Handling_;
        Refresh();
    }
    void Refresh_Grid();
    void Refresh_Chart();
    void Refresh_Live_View();
    static void Sync_Timer(QTimer& timer, const Timer_State& state);

    Traj_form& Model_;
    Message_Box& Ask_;
    bool Ending_ = false;
    int Handling_ = 0;  // handlers running, one inside another's pause for a reply
    Sheet_Table Grid_Shown_;
    std::string Shown_Messages_;
    const Live_Firing_View* Live_View_ = nullptr;
    void Apply_Own_Language();
    int Shown_Highlight_ = 0;
    bool Shown_Off_Profile_ = false;
    bool Shown_Stale_ = false;
    void Show_Process_Temp_Look();
};

}  // namespace corvanel
