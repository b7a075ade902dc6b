// SPDX-License-Identifier: GPL-3.0-or-later
#include "profiles/windows/profile_editor_window.h"

#include "profiles/editor_unit_caption.h"
#include "ui/typed_char.h"
#include "ui/widgets.h"

#include <QCloseEvent>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QTableWidget>
#include <QVBoxLayout>

#include "language/translate.h"
#include "profiles/scale_conversion.h"
#include "profiles/sensor_table.h"
#include "profiles/windows/new_from_cone_window.h"

namespace corvanel {

namespace {

// Column widths of the design: 1000 twips for the row numbers, 1100 for the others,
// 15 twips to a pixel.
constexpr int Seg_Column_Width = 1000 / 15;
constexpr int Column_Width = 1100 / 15;

// The menu items of the ten sensor types, in the sensor table's order.
constexpr std::array<std::pair<const char*, const char*>, 10> Sensor_Items = {{
    {"mnuR_Type", "R"},
    {"mnuS_Type", "S"},
    {"mnuK_Type", "K"},
    {"mnuJ_Type", "J"},
    {"mnuT_Type", "T"},
    {"mnuE_Type", "E"},
    {"mnuPt_JIS_RTD", "PtJIS"},
    {"mnuPt_DIN_RTD", "PtDIN"},
    {"mnuL_Type", "L"},
    {"mnuU_Type", "U"},
}};

}  // namespace

Profile_Editor_Window::Profile_Editor_Window(Program_Paths paths, Settings_Store& settings,
                                             File_Dialog& dialog, Message_Box& ask, Beeper& beeper)
    : Model_(std::move(paths), settings, dialog, ask, beeper) {
    setObjectName("Profile_Editor");
    setWindowTitle("PROFILE EDITOR");
    Build_Controls();
    Build_Menus();
    Connect_Events();
}

void Profile_Editor_Window::Build_Controls() {
    auto* central = new QWidget(this);
    central->setObjectName("Profile_Editor_Controls");
    setCentralWidget(central);

    Edit_Profile_Frame = Frame(central, "Edit_Profile_Frame", "Edit Profile");

    // Row 0 of the sheet is the grid's fixed title row: the header. Table row t is
    // sheet row t + 1.
    Profile_FlexGrid = new QTableWidget(Last_Segment_Row, Sheet_Columns, Edit_Profile_Frame);
    Profile_FlexGrid->setObjectName("Profile_FlexGrid");
    Profile_FlexGrid->verticalHeader()->hide();
    Profile_FlexGrid->horizontalHeader()->setSectionsClickable(false);
    Profile_FlexGrid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    Profile_FlexGrid->setSelectionMode(QAbstractItemView::SingleSelection);
    Profile_FlexGrid->setColumnWidth(Col_Seg, Seg_Column_Width);
    for (int col = 1; col < Sheet_Columns; ++col)
        Profile_FlexGrid->setColumnWidth(col, Column_Width);
    Profile_FlexGrid->setMinimumWidth(Seg_Column_Width + (Sheet_Columns - 1) * Column_Width + 24);

    // The cell editor floats over the current cell, inside the grid's viewport so it
    // moves with the cells.
    FloatingTextBox = new QLineEdit(Profile_FlexGrid->viewport());
    FloatingTextBox->setObjectName("FloatingTextBox");
    FloatingTextBox->setFrame(false);
    FloatingTextBox->setFont(Profile_FlexGrid->font());
    FloatingTextBox->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    FloatingTextBox->hide();

    auto* frame_layout = new QVBoxLayout(Edit_Profile_Frame);
    frame_layout->addWidget(Profile_FlexGrid);

    EditChart = new Profile_Chart_View("EditChart", central);
    EditChart->setMinimumSize(420, 220);

    User_Prompt = Message_View(central, "User_Prompt",
                               "Watch for messages that guide you when creating profiles");
    Message_Center = Label_For(central, "Message_Center", "User Prompt Window", User_Prompt);

    // Named through the File menu's dialogs only.
    Edit_Profile_Name = Text_Box(
        central, "Edit_Profile_Name",
        "Profile Name Display:  Enter name via dialog box brought up through the Flie Menu -> "
        "open, save or saveas functions");
    File_Name_Prompter =
        Label_For(central, "File_Name_Prompter", "File Name Display", Edit_Profile_Name);
    File_Name_Prompter->setToolTip(
        "This readout only displays the name of the profile being edited");

    TempScale = new QLabel(central);
    TempScale->setObjectName("TempScale");
    TimeScale = new QLabel(central);
    TimeScale->setObjectName("TimeScale");

    auto* name_row = new QHBoxLayout;
    name_row->addWidget(File_Name_Prompter);
    name_row->addWidget(Edit_Profile_Name, 1);
    name_row->addSpacing(16);
    name_row->addWidget(TempScale);
    name_row->addSpacing(16);
    name_row->addWidget(TimeScale);

    auto* prompt_column = new QVBoxLayout;
    prompt_column->addWidget(Message_Center);
    prompt_column->addWidget(User_Prompt, 1);
    auto* lower = new QHBoxLayout;
    lower->addWidget(EditChart, 3);
    lower->addLayout(prompt_column, 2);

    auto* layout = new QVBoxLayout(central);
    layout->addWidget(Edit_Profile_Frame, 3);
    layout->addLayout(name_row);
    layout->addLayout(lower, 2);
    resize(1000, 700);
}

void Profile_Editor_Window::Build_Menus() {
    mnuFile = Menu(*menuBar(), "mnuFile", "File");
    mnuFileOpen = Menu_Item(*mnuFile, "mnuFileOpen", "Open");
    mnuSaveFileAs = Menu_Item(*mnuFile, "mnuSaveFileAs", "SaveAs");
    mnuNew = Menu_Item(*mnuFile, "mnuNew", "New");
    mnuNewFromCone = Menu_Item(*mnuFile, "mnuNewFromCone", "New From Cone");
    mnuSensorType = Menu(*menuBar(), "mnuSensorType", "SensorType");
    for (std::size_t i = 0; i < Sensor_Items.size(); ++i) {
        mnuSensor[i] =
            Menu_Item(*mnuSensorType, Sensor_Items[i].first, Sensor_Items[i].second, true);
    }
    mnuScales = Menu(*menuBar(), "mnuScales", "Scales");
    mnuTemp = Menu(*mnuScales, "mnuTemp", "Temp");
    mnuFahrenheit = Menu_Item(*mnuTemp, "mnuFahrenheit", "Fahrenheit", true);
    mnuCelcius = Menu_Item(*mnuTemp, "mnuCelcius", "Celcius", true);
    mnuTime = Menu(*mnuScales, "mnuTime", "Time");
    mnuMinutes = Menu_Item(*mnuTime, "mnuMinutes", "Minutes", true);
    mnuHours = Menu_Item(*mnuTime, "mnuHours", "Hours", true);
    mnuConvertScale = Menu_Item(*mnuScales, "mnuConvertScale", "");
    mnuExit = Menu(*menuBar(), "mnuExit", "Exit");
    mnuExitEditor = Menu_Item(*mnuExit, "mnuExitEditor", "Exit Editor");
}

void Profile_Editor_Window::Connect_Events() {
    auto on = [this](QAction* action, auto handler) {
        connect(action, &QAction::triggered, this, [this, handler] { Handle(handler); });
    };
    Profile_Editor& m = Model_;
    on(mnuFileOpen, [&m] { m.mnuFileOpen_Click(); });
    on(mnuSaveFileAs, [&m] { m.mnuSaveFileAs_Click(); });
    on(mnuNew, [&m] { m.mnuNew_Click(); });
    connect(mnuNewFromCone, &QAction::triggered, this, [this] { mnuNewFromCone_Click(); });
    for (int i = 0; i < static_cast<int>(mnuSensor.size()); ++i) {
        on(mnuSensor[static_cast<std::size_t>(i)], [&m, i] { m.Sensor_Menu_Click(i); });
    }
    on(mnuFahrenheit, [&m] { m.mnuFahrenheit_Click(); });
    on(mnuCelcius, [&m] { m.mnuCelcius_Click(); });
    on(mnuMinutes, [&m] { m.mnuMinutes_Click(); });
    on(mnuHours, [&m] { m.mnuHours_Click(); });
    on(mnuConvertScale, [&m] { m.mnuConvertScale_Click(); });
    // Exit Editor asks as closing by the frame does; the close event puts the question.
    connect(mnuExitEditor, &QAction::triggered, this, [this] { close(); });

    connect(Profile_FlexGrid, &QTableWidget::cellClicked, this, [this](int row, int col) {
        Handle([this, row, col] { Model_.Profile_FlexGrid_Click(row + 1, col); });
        if (Model_.FloatingTextBox_Visible) FloatingTextBox->setFocus(Qt::MouseFocusReason);
    });
    for (QScrollBar* bar :
         {Profile_FlexGrid->verticalScrollBar(), Profile_FlexGrid->horizontalScrollBar()}) {
        connect(bar, &QScrollBar::valueChanged, this,
                [this] { Handle([this] { Model_.Profile_FlexGrid_Scroll(); }); });
    }
    connect(FloatingTextBox, &QLineEdit::textEdited, this, [this](const QString& text) {
        Handle([this, text] { Model_.FloatingTextBox_Change(text.toStdString()); });
    });
    FloatingTextBox->installEventFilter(this);
}

bool Profile_Editor_Window::eventFilter(QObject* watched, QEvent* event) {
    if (watched == FloatingTextBox && event->type() == QEvent::KeyPress) {
        return FloatingTextBox_Key(*static_cast<QKeyEvent*>(event));
    }
    return QMainWindow::eventFilter(watched, event);
}

// True when the key is kept from the box.
bool Profile_Editor_Window::FloatingTextBox_Key(QKeyEvent& key_event) {
    const char key = Typed_Char_Of(key_event);
    if (key == 0) return false;  // keys without a character only move the caret
    const bool reaches_box = Model_.FloatingTextBox_KeyPress(key);
    // The filter may have rewritten the box (the Action cell is emptied before its
    // letter goes in, or gets its old letter back): the widget takes that text first.
    Refresh();
    return !reaches_box;
}

void Profile_Editor_Window::Form_Load() {
    Model_.Form_Load();
    Refresh();
}

void Profile_Editor_Window::mnuNewFromCone_Click() {
    if (!Cone_Window) {
        Cone_Window = new New_From_Cone_Window(this);
        Cone_Window->On_OK = [this](New_From_Cone& cone) {
            Handle([this, &cone] { cone.OK_Click(Model_); });
        };
    }
    Cone_Window->Form_Load(Model_);
    Cone_Window->open();
}

void Profile_Editor_Window::Form_Activate() {
    if (Caption_Pass) Caption_Pass();
    Language_Changed();
}

void Profile_Editor_Window::Language_Changed() {
    mnuNewFromCone->setText(Q(TranslateText("New From Cone")));
    Convert_Caption_To_Fahrenheit_.reset();  // the language may have changed
    Model_.Form_Activate();
    Refresh();
}

bool Profile_Editor_Window::event(QEvent* event) {
    bool handled = QMainWindow::event(event);
    if (event->type() == QEvent::WindowActivate && !Closed_) Form_Activate();
    return handled;
}

void Profile_Editor_Window::closeEvent(QCloseEvent* event) {
    if (Closed_) {
        event->accept();
        return;
    }
    // Closing by the frame is Exit Editor: the operator confirms, the settings are
    // written, and the sheet goes with the window.
    const bool closes = Model_.mnuExitEditor_Click();
    Refresh();
    if (!closes) {
        event->ignore();
        return;
    }
    Closed_ = true;
    event->accept();
    if (On_Closed) On_Closed();
}

bool Profile_Editor_Window::Set_Own_Text(const Caption_Entry& entry, const std::string& text) {
    // The two scale labels are state of the profile being edited: the model keeps them,
    // showing its scales rather than the design words.
    const std::string units =
        Units_Follow_Profile ? Editor_Unit_Caption(Model_, entry.Control) : "";
    if (entry.Control == "TempScale") {
        Model_.TempScale = units.empty() ? text : units;
    } else if (entry.Control == "TimeScale") {
        Model_.TimeScale = units.empty() ? text : units;
    } else {
        return false;
    }
    Refresh();
    return true;
}

void Profile_Editor_Window::Refresh() {
    const Profile_Editor& m = Model_;
    Show_Message_Lines(*User_Prompt, Shown_Messages_, m.User_Prompt);
    Show_Text(*Edit_Profile_Name, m.Edit_Profile_Name);
    TempScale->setText(Q(m.TempScale));
    TimeScale->setText(Q(m.TimeScale));

    mnuFahrenheit->setChecked(m.mnuFahrenheit);
    mnuCelcius->setChecked(m.mnuCelcius);
    mnuMinutes->setChecked(m.mnuMinutes);
    mnuHours->setChecked(m.mnuHours);
    if (Convert_Caption_To_Fahrenheit_ != !m.mnuFahrenheit) {
        Convert_Caption_To_Fahrenheit_ = !m.mnuFahrenheit;
        mnuConvertScale->setText(Q(Convert_Scale_Caption(!m.mnuFahrenheit)));
    }
    for (std::size_t i = 0; i < mnuSensor.size(); ++i)
        mnuSensor[i]->setChecked(m.mnuSensor_Checked[i]);

    Refresh_Grid();
    EditChart->Show_Points(m.EditChart_Points);
    EditChart->Title_Axes(m.mnuMinutes ? "M" : "H", m.mnuFahrenheit ? "F" : "C");
    Refresh_Text_Box();
}

void Profile_Editor_Window::Refresh_Grid() {
    std::vector<int> widths(Sheet_Columns, Column_Width);
    widths[Col_Seg] = Seg_Column_Width;
    // The segment numbers stand apart as the grid's fixed column.
    const QBrush fixed_column = Profile_FlexGrid->palette().button();
    Grid_Shown_.Show(*Profile_FlexGrid, Model_.Profile_FlexGrid, widths,
                     [&](QTableWidgetItem& cell, int col) {
                         if (col == Col_Seg) {
                             cell.setBackground(fixed_column);
                         } else {
                             cell.setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
                         }
                     });
}

void Profile_Editor_Window::Refresh_Text_Box() {
    const Profile_Editor& m = Model_;
    const QString text = Q(m.FloatingTextBox_Text);
    if (FloatingTextBox->text() != text) {
        QSignalBlocker quiet(FloatingTextBox);
        FloatingTextBox->setText(text);
    }
    // The box covers the cell it edits; the title row has no cell of its own to cover.
    const bool shown = m.FloatingTextBox_Visible && m.Current_Row >= 1;
    if (shown) {
        FloatingTextBox->setGeometry(Profile_FlexGrid->visualRect(
            Profile_FlexGrid->model()->index(m.Current_Row - 1, m.Current_Col)));
    }
    FloatingTextBox->setVisible(shown);
}

}  // namespace corvanel
