// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QWidget>
#include <string>
#include <utility>
#include <vector>

#include "controller/front_panel_model.h"

class QCheckBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QTimer;

namespace corvanel {

// The controller front panel: the panel's state bound to widgets. Every event goes to
// the model's handler, then the widgets are brought in line with the model (Refresh);
// while shown, the window also follows what the receive path and a running scan write.
// EXIT hides this window through the model's Hide_Window; whoever owns the main window
// connects the model's Exited.
class FrontPanel_Window : public QWidget {
    Q_OBJECT
  public:
    explicit FrontPanel_Window(FrontPanel& model, QWidget* parent = nullptr);
    ~FrontPanel_Window() override;

    // The first creation's load: the model's load, then what it set is shown.
    void Form_Load();
    // Brings every read-out, indicator and message box in line with the model.
    void Refresh();

    FrontPanel& Model() { return Model_; }

    QLineEdit *Unit_Address_Display, *Set_Point, *Process_Value, *Output_Display,
        *Low_Limit_Display, *High_Limit_Display;
    QPlainTextEdit *Response_Box, *User_Interface;
    QPushButton *Decrement_Unit_Addr, *Increment_Unit_Addr, *SV_Read_Command, *SV_Command,
        *RV_Command, *NV_Ram, *Ram_Only, *NV_AllSave, *Display_Status, *ReadOutputValue,
        *Read_Set_Limits, *AutoTune, *Stop_Tune, *Unit_Addr_Scan, *Exit_FrontPanel;
    QCheckBox *Communication_Status, *Command_Executed, *Unit_Scanning_Indicator;
    QCheckBox *OverFlow, *Underflow, *InputError, *AD_Fail, *HeaterBurnout, *RamDataError, *MemDiff,
        *ShiftOn, *Alarm_1, *Alarm_2, *AutoTuning, *RamWrite, *Manual, *Remote;
    QLabel *Unit_Status_Label, *Low_Limit_Label, *High_Limit_Label, *Output_Label,
        *Unit_Address_Label, *Process_Value_Label, *Set_Point_Label, *Response_Label;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

  private:
    void Build_Controls();
    void Connect_Events();
    // Runs a handler of the model, then shows what it changed.
    template <typename Handler>
    void Handle(Handler handler) {
        handler();
        Refresh();
    }

    FrontPanel& Model_;
    // Characters arrive, and a scan moves on, while no event of this window runs: while
    // the panel is shown it looks at the model a few times a second.
    QTimer* Refresh_Timer_;
    // Each indicator with the state it shows; a click on one is undone from here.
    std::vector<std::pair<QCheckBox*, bool FrontPanel::*>> Indicators_;
    std::string Shown_Response_, Shown_Messages_;
};

}  // namespace corvanel
