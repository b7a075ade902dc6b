// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/windows/comm_setup_window.h"

#include "ui/widgets.h"

#include <QCloseEvent>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>

namespace corvanel {

CommSetUp_Window::CommSetUp_Window(CommSetUp& model, QWidget* parent)
    : QWidget(parent, Qt::Window), Model_(model) {
    setObjectName("CommSetUp");
    setWindowTitle("Communications Port Configuration");
    CommPortNumber = Text_Box(this, "CommPortNumber");
    CommDisplayLabel = Label_For(this, "CommDisplayLabel", "Comm Port Number", CommPortNumber);
    DecrPortNumber = Button(this, "DecrPortNumber", "<");
    IncrPortNum = Button(this, "IncrPortNum", ">");
    Port_Device = new QLabel(this);
    Port_Device->setObjectName("Port_Device");
    Port_Device->setWordWrap(true);
    Port_Device->setTextInteractionFlags(Qt::TextSelectableByMouse);
    SavePortSettings = Button(this, "SavePortSettings", "Use This Setting");
    ScanPortNumber = Button(this, "ScanPortNumber", "Scan Serial Ports");
    SerialPortPrompt = Message_View(this, "SerialPortPrompt");
    SerialPortPromptLabel =
        Label_For(this, "SerialPortPromptLabel", "Port Prompt", SerialPortPrompt);

    auto* layout = new QGridLayout(this);
    layout->addWidget(CommDisplayLabel, 0, 0);
    layout->addWidget(DecrPortNumber, 0, 1);
    layout->addWidget(CommPortNumber, 0, 2);
    layout->addWidget(IncrPortNum, 0, 3);
    layout->addWidget(Port_Device, 1, 0, 1, 4);
    layout->addWidget(SavePortSettings, 2, 0, 1, 2);
    layout->addWidget(ScanPortNumber, 2, 2, 1, 2);
    layout->addWidget(SerialPortPromptLabel, 3, 0, 1, 4);
    layout->addWidget(SerialPortPrompt, 4, 0, 1, 4);
    resize(520, 420);

    connect(IncrPortNum, &QPushButton::clicked, this,
            [this] { Handle([this] { Model_.IncrPortNum_Click(); }); });
    connect(DecrPortNumber, &QPushButton::clicked, this,
            [this] { Handle([this] { Model_.DecrPortNumber_Click(); }); });
    connect(SavePortSettings, &QPushButton::clicked, this,
            [this] { Handle([this] { Model_.SavePortSettings_Click(); }); });
    connect(ScanPortNumber, &QPushButton::clicked, this,
            [this] { Handle([this] { Model_.ScanPortNumber_Click(); }); });
}

void CommSetUp_Window::Handle(const std::function<void()>& handler) {
    handler();
    Refresh();
    if (Main_Window_Changed) Main_Window_Changed();
}

void CommSetUp_Window::Open() {
    Handle([this] { Model_.Form_Open(); });
    show();
    raise();
    activateWindow();
}

void CommSetUp_Window::Refresh() {
    Show_Text(*CommPortNumber, Model_.CommPortNumber);
    Port_Device->setText(Q(Model_.Port_Device_Text));
    Port_Device->setVisible(!Model_.Port_Device_Text.empty());
    Show_Message_Lines(*SerialPortPrompt, Shown_Prompt_, Model_.SerialPortPrompt);
}

void CommSetUp_Window::closeEvent(QCloseEvent* event) {
    Handle([this] { Model_.Form_Close(); });
    event->accept();
}

}  // namespace corvanel
