// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QMainWindow>
#include <array>
#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "profiles/profile_editor_model.h"
#include "ui/caption_registry.h"
#include "ui/profile_chart_view.h"
#include "ui/sheet_table.h"

class QAction;
class QGroupBox;
class QKeyEvent;
class QLabel;
class QLineEdit;
class QMenu;
class QPlainTextEdit;
class QTableWidget;

namespace corvanel {

class New_From_Cone_Window;

// The profile editor: the grid, its floating text box, the chart and the menus bound to
// the editor's model. Every event goes to the model's handler, then the window shows
// the model's state again (Refresh).
class Profile_Editor_Window : public QMainWindow, public Caption_Owner {
    Q_OBJECT
  public:
    Profile_Editor_Window(Program_Paths paths, Settings_Store& settings, File_Dialog& dialog,
                          Message_Box& ask, Beeper& beeper);

    // The load: the model reads the editor's settings files and seeds a new profile.
    void Form_Load();
    void Refresh();
    // The activation pass: the caption pass, then the grid titles.
    void Form_Activate();
    // A language chosen while the program runs: what the activation sets besides the
    // caption pass.
    void Language_Changed();

    bool Set_Own_Text(const Caption_Entry& entry, const std::string& text) override;
    // The scale labels show the edited profile's scales through the caption pass
    // (Setup/LiveFiringView.txt).
    bool Units_Follow_Profile = true;

    // The caption pass over every window, run when the editor becomes active.
    std::function<void()> Caption_Pass;
    // Called once the operator has confirmed closing; the window is hidden by then.
    std::function<void()> On_Closed;

    Profile_Editor& Model() { return Model_; }

    // Controls, named as the operator's manual names them.
    QTableWidget* Profile_FlexGrid;
    QLineEdit* FloatingTextBox;
    Profile_Chart_View* EditChart;
    QPlainTextEdit* User_Prompt;
    QLineEdit* Edit_Profile_Name;
    QLabel *Message_Center, *File_Name_Prompter, *TempScale, *TimeScale;
    QGroupBox* Edit_Profile_Frame;

    QMenu *mnuFile, *mnuSensorType, *mnuScales, *mnuTemp, *mnuTime, *mnuExit;
    QAction* mnuNewFromCone;  // opens Cone_Window: a new sheet from a cone and a speed
    New_From_Cone_Window* Cone_Window = nullptr;  // made on first use
    QAction *mnuFileOpen, *mnuSaveFileAs, *mnuNew, *mnuFahrenheit, *mnuCelcius, *mnuMinutes,
        *mnuHours, *mnuExitEditor;
    // Converts the sheet to the other scale; its caption names the scale it goes to.
    QAction* mnuConvertScale;
    std::array<QAction*, 10> mnuSensor{};  // mnuR_Type .. mnuU_Type, in the sensor table's order

  protected:
    bool event(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void Build_Controls();
    void Build_Menus();
    void Connect_Events();
    template <typename Handler>
    void Handle(Handler handler) {
        handler();
        Refresh();
    }
    bool FloatingTextBox_Key(QKeyEvent& key_event);
    void Refresh_Grid();
    void Refresh_Text_Box();
    void mnuNewFromCone_Click();

    Profile_Editor Model_;
    Sheet_Table Grid_Shown_;
    std::string Shown_Messages_;
    bool Closed_ = false;
    std::optional<bool> Convert_Caption_To_Fahrenheit_;  // as last translated; none: again
};

}  // namespace corvanel
