// SPDX-License-Identifier: GPL-3.0-or-later
#include "controller/windows/front_panel_window.h"

#include <functional>

#include "ui/widgets.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QTimer>
#include <QVBoxLayout>

namespace corvanel {

namespace {

QLineEdit* Read_Out(QWidget* parent, const char* name) {
    QLineEdit* box = Text_Box(parent, name);
    box->setAlignment(Qt::AlignRight);
    return box;
}

QCheckBox* Indicator(QWidget* parent, const char* name, const char* caption) {
    auto* box = new QCheckBox(caption, parent);
    box->setObjectName(name);
    // The system sets it; the keyboard cannot reach it either.
    box->setFocusPolicy(Qt::NoFocus);
    return box;
}

// The raw view as a text box shows what is typed and received: a carriage return
// breaks the line, a backspace takes back the character before it.
QString Raw_Text(const std::string& text) {
    QString shown;
    for (std::size_t i = 0; i < text.size(); ++i) {
        char c = text[i];
        if (c == '\r') {
            shown += '\n';
            if (i + 1 < text.size() && text[i + 1] == '\n') ++i;
        } else if (c == '\b') {
            if (!shown.isEmpty() && !shown.endsWith('\n')) shown.chop(1);
        } else if (c == '\n' || c == '\t' || static_cast<unsigned char>(c) >= 32) {
            shown += QChar(static_cast<unsigned char>(c));
        }
    }
    return shown;
}

void Show_Box(QPlainTextEdit& box, const QString& text) {
    box.setPlainText(text);
    QTextCursor end = box.textCursor();
    end.movePosition(QTextCursor::End);
    box.setTextCursor(end);
    box.verticalScrollBar()->setValue(box.verticalScrollBar()->maximum());
}

}  // namespace

FrontPanel_Window::FrontPanel_Window(FrontPanel& model, QWidget* parent)
    : QWidget(parent), Model_(model) {
    setObjectName("FrontPanel");
    setWindowTitle("Controller Front Panel");
    Build_Controls();
    Connect_Events();
    Model_.Hide_Window = [this] { hide(); };
    Refresh_Timer_ = new QTimer(this);
    Refresh_Timer_->setInterval(100);
    connect(Refresh_Timer_, &QTimer::timeout, this, [this] { Refresh(); });
    Refresh();
}

FrontPanel_Window::~FrontPanel_Window() {
    Model_.Hide_Window = nullptr;
}

void FrontPanel_Window::Build_Controls() {
    // The unit address and the commands.
    auto* commands = new QGroupBox(this);
    commands->setObjectName("Command_Frame");
    Unit_Address_Display = Read_Out(commands, "Unit_Address_Display");
    Unit_Address_Display->setAlignment(Qt::AlignCenter);
    Unit_Address_Display->setMaximumWidth(60);
    Unit_Address_Label =
        Label_For(commands, "Unit_Address_Label", "Unit Address", Unit_Address_Display);
    Decrement_Unit_Addr = Button(commands, "Decrement_Unit_Addr", "<");
    Increment_Unit_Addr = Button(commands, "Increment_Unit_Addr", ">");
    SV_Read_Command = Button(commands, "SV_Read_Command", "Read Set Value");
    SV_Command = Button(commands, "SV_Command", "Write Set Value");
    RV_Command = Button(commands, "RV_Command", "Read Process Value");
    NV_Ram = Button(commands, "NV_Ram", "NV Ram");
    Ram_Only = Button(commands, "Ram_Only", "RamOnly");
    NV_AllSave = Button(commands, "NV_AllSave", "NVSave");
    Display_Status = Button(commands, "Display_Status", "Read Status");
    ReadOutputValue = Button(commands, "ReadOutputValue", "Read Output Value");
    Read_Set_Limits = Button(commands, "Read_Set_Limits", "Read Set Limits");
    AutoTune = Button(commands, "AutoTune", "AutoTune");
    Stop_Tune = Button(commands, "Stop_Tune", "StopTune");
    Unit_Addr_Scan = Button(commands, "Unit_Addr_Scan", "Unit Addr Scan");
    for (QPushButton* step : {Decrement_Unit_Addr, Increment_Unit_Addr}) step->setMaximumWidth(36);

    auto* command_grid = new QGridLayout(commands);
    auto* address_row = new QHBoxLayout;
    address_row->addWidget(Unit_Address_Label);
    address_row->addWidget(Decrement_Unit_Addr);
    address_row->addWidget(Unit_Address_Display);
    address_row->addWidget(Increment_Unit_Addr);
    address_row->addStretch();
    command_grid->addLayout(address_row, 0, 0, 1, 2);
    int index = 0;
    for (QPushButton* button :
         {SV_Read_Command, SV_Command, RV_Command, Display_Status, ReadOutputValue, Read_Set_Limits,
          NV_Ram, Ram_Only, NV_AllSave, AutoTune, Stop_Tune, Unit_Addr_Scan}) {
        command_grid->addWidget(button, 1 + index / 2, index % 2);
        ++index;
    }

    // The read-outs, each named by its label.
    auto* readouts = new QGroupBox(this);
    readouts->setObjectName("Readout_Frame");
    Set_Point = Read_Out(readouts, "Set_Point");
    Process_Value = Read_Out(readouts, "Process_Value");
    Output_Display = Read_Out(readouts, "Output_Display");
    Low_Limit_Display = Read_Out(readouts, "Low_Limit_Display");
    High_Limit_Display = Read_Out(readouts, "High_Limit_Display");
    Set_Point_Label = Label_For(readouts, "Set_Point_Label", "Set Point Display", Set_Point);
    Process_Value_Label =
        Label_For(readouts, "Process_Value_Label", "Process Value Display", Process_Value);
    Output_Label = Label_For(readouts, "Output_Label", "Output Value", Output_Display);
    Low_Limit_Label = Label_For(readouts, "Low_Limit_Label", "Low Set Limit", Low_Limit_Display);
    High_Limit_Label =
        Label_For(readouts, "High_Limit_Label", "High Set Limit", High_Limit_Display);
    auto* readout_grid = new QGridLayout(readouts);
    int row = 0;
    for (auto [label, box] :
         {std::pair{Set_Point_Label, Set_Point}, std::pair{Process_Value_Label, Process_Value},
          std::pair{Output_Label, Output_Display}, std::pair{Low_Limit_Label, Low_Limit_Display},
          std::pair{High_Limit_Label, High_Limit_Display}}) {
        readout_grid->addWidget(label, row, 0);
        readout_grid->addWidget(box, row, 1);
        ++row;
    }
    Communication_Status = Indicator(readouts, "Communication_Status", "Comm Status");
    Command_Executed = Indicator(readouts, "Command_Executed", "Command Executed");
    Unit_Scanning_Indicator =
        Indicator(readouts, "Unit_Scanning_Indicator", "Scanning Unit Addresses");
    for (QCheckBox* box : {Communication_Status, Command_Executed, Unit_Scanning_Indicator}) {
        readout_grid->addWidget(box, row++, 0, 1, 2);
    }

    // The status bits of the last good process-value read.
    auto* status = new QGroupBox(this);
    status->setObjectName("Status_Frame");
    auto* status_column = new QVBoxLayout(status);
    Unit_Status_Label = new QLabel("Unit Status Display", status);
    Unit_Status_Label->setObjectName("Unit_Status_Label");
    QFont heading = Unit_Status_Label->font();
    heading.setBold(true);
    Unit_Status_Label->setFont(heading);
    status_column->addWidget(Unit_Status_Label);
    OverFlow = Indicator(status, "OverFlow", "OverFlow");
    Underflow = Indicator(status, "Underflow", "UnderFlow");
    InputError = Indicator(status, "InputError", "Input Error");
    AD_Fail = Indicator(status, "AD_Fail", "A/D Converter Failure");
    HeaterBurnout = Indicator(status, "HeaterBurnout", "Heater Burnout Detection");
    RamDataError = Indicator(status, "RamDataError", "Ram Data Error");
    MemDiff = Indicator(status, "MemDiff", "MemDiff  /  *MemSame");
    ShiftOn = Indicator(status, "ShiftOn", "Input Shift On");
    Alarm_1 = Indicator(status, "Alarm_1", "Alarm 1 On ");
    Alarm_2 = Indicator(status, "Alarm_2", "Alarm 2 On");
    AutoTuning = Indicator(status, "AutoTuning", "AutoTuning");
    RamWrite = Indicator(status, "RamWrite", "RamWriteOnly / *BackUp");
    Manual = Indicator(status, "Manual", "Manual / *AutoOutput");
    Remote = Indicator(status, "Remote", "Remote/ *Local");
    Indicators_ = {{OverFlow, &FrontPanel::OverFlow},
                   {Underflow, &FrontPanel::Underflow},
                   {InputError, &FrontPanel::InputError},
                   {AD_Fail, &FrontPanel::AD_Fail},
                   {HeaterBurnout, &FrontPanel::HeaterBurnout},
                   {RamDataError, &FrontPanel::RamDataError},
                   {MemDiff, &FrontPanel::MemDiff},
                   {ShiftOn, &FrontPanel::ShiftOn},
                   {Alarm_1, &FrontPanel::Alarm_1},
                   {Alarm_2, &FrontPanel::Alarm_2},
                   {AutoTuning, &FrontPanel::AutoTuning},
                   {RamWrite, &FrontPanel::RamWrite},
                   {Manual, &FrontPanel::Manual},
                   {Remote, &FrontPanel::Remote}};
    for (auto [box, state] : Indicators_) status_column->addWidget(box);
    status_column->addStretch();
    Indicators_.push_back({Communication_Status, &FrontPanel::Communication_Status});
    Indicators_.push_back({Command_Executed, &FrontPanel::Command_Executed});
    Indicators_.push_back({Unit_Scanning_Indicator, &FrontPanel::Unit_Scanning_Indicator});

    // The raw line and the panel's messages.
    Response_Box = new QPlainTextEdit(this);
    Response_Box->setObjectName("Response_Box");
    Response_Label = Label_For(this, "Response_Label", "Unit Response String", Response_Box);
    User_Interface = Message_View(this, "User_Interface");
    QFont fixed("Monospace");
    fixed.setStyleHint(QFont::TypeWriter);
    Response_Box->setFont(fixed);
    Exit_FrontPanel = Button(this, "Exit_FrontPanel", "EXIT");

    auto* top = new QHBoxLayout;
    top->addWidget(commands, 2);
    top->addWidget(readouts, 2);
    top->addWidget(status, 1);
    auto* bottom = new QGridLayout;
    bottom->addWidget(Response_Label, 0, 0);
    bottom->addWidget(Response_Box, 1, 0);
    bottom->addWidget(User_Interface, 1, 1);
    bottom->addWidget(Exit_FrontPanel, 2, 1, Qt::AlignRight);
    auto* page = new QVBoxLayout(this);
    page->addLayout(top);
    page->addLayout(bottom);
}

void FrontPanel_Window::Connect_Events() {
    const std::pair<QPushButton*, void (FrontPanel::*)()> clicks[] = {
        {Decrement_Unit_Addr, &FrontPanel::Decrement_Unit_Addr_Click},
        {Increment_Unit_Addr, &FrontPanel::Increment_Unit_Addr_Click},
        {SV_Read_Command, &FrontPanel::SV_Read_Command_Click},
        {SV_Command, &FrontPanel::SV_Command_Click},
        {RV_Command, &FrontPanel::RV_Command_Click},
        {NV_Ram, &FrontPanel::NV_Ram_Click},
        {Ram_Only, &FrontPanel::Ram_Only_Click},
        {NV_AllSave, &FrontPanel::NV_AllSave_Click},
        {Display_Status, &FrontPanel::Display_Status_Click},
        {ReadOutputValue, &FrontPanel::ReadOutputValue_Click},
        {Read_Set_Limits, &FrontPanel::Read_Set_Limits_Click},
        {AutoTune, &FrontPanel::AutoTune_Click},
        {Stop_Tune, &FrontPanel::Stop_Tune_Click},
        {Unit_Addr_Scan, &FrontPanel::Unit_Addr_Scan_Click},
        {Exit_FrontPanel, &FrontPanel::Exit_FrontPanel_Click}};
    // std::invoke rather than `.*`: GCC 12's UBSan reports a null `this` for a member
    // pointer called inside these lambdas, though the window is there.
    for (auto [button, handler] : clicks) {
        connect(button, &QPushButton::clicked, this,
                [this, handler = handler] { Handle([&] { std::invoke(handler, Model_); }); });
    }
    // An operator's click on an indicator is undone at once: only the system sets them.
    for (auto [box, state] : Indicators_) {
        connect(box, &QCheckBox::clicked, this, [this] { Refresh(); });
    }
    Response_Box->installEventFilter(this);
}

bool FrontPanel_Window::eventFilter(QObject* watched, QEvent* event) {
    if (watched != Response_Box || event->type() != QEvent::KeyPress) {
        return QWidget::eventFilter(watched, event);
    }
    auto* key_event = static_cast<QKeyEvent*>(event);
    char key = 0;
    if (key_event->key() == Qt::Key_Return || key_event->key() == Qt::Key_Enter) {
        key = '\r';
    } else {
        QString text = key_event->text();
        if (text.size() == 1 && text[0].unicode() > 0 && text[0].unicode() < 256) {
            key = static_cast<char>(text[0].unicode());
        }
    }
    if (key == 0) return false;  // keys without a character only move the caret
    Handle([&] { Model_.Response_Box_KeyPress(key); });
    return true;
}

void FrontPanel_Window::Form_Load() {
    Handle([this] { Model_.Form_Load(); });
}

void FrontPanel_Window::showEvent(QShowEvent* event) {
    // What the protocol wrote while the panel was hidden shows at once.
    Refresh();
    Refresh_Timer_->start();
    QWidget::showEvent(event);
}

void FrontPanel_Window::hideEvent(QHideEvent* event) {
    Refresh_Timer_->stop();
    QWidget::hideEvent(event);
}

void FrontPanel_Window::closeEvent(QCloseEvent* event) {
    // Closing by the frame is EXIT: the main window must come back with it.
    event->ignore();
    Handle([this] { Model_.Exit_FrontPanel_Click(); });
}

void FrontPanel_Window::Refresh() {
    const FrontPanel& m = Model_;
    Show_Texts({{Unit_Address_Display, m.Unit_Address_Display},
                {Set_Point, m.Set_Point},
                {Process_Value, m.Process_Value},
                {Output_Display, m.Output_Display},
                {Low_Limit_Display, m.Low_Limit_Display},
                {High_Limit_Display, m.High_Limit_Display}});
    for (auto [box, state] : Indicators_) {
        QSignalBlocker quiet(box);
        box->setChecked(m.*state);
    }
    if (Shown_Response_ != m.Response_Box) {
        Shown_Response_ = m.Response_Box;
        Show_Box(*Response_Box, Raw_Text(m.Response_Box));
    }
    Show_Message_Lines(*User_Interface, Shown_Messages_, m.User_Interface);
}

}  // namespace corvanel
