#include "app/comm_setup.h"

#include <QCloseEvent>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>

namespace corvanel {

namespace {

template <typename Widget>
Widget* Named(Widget* widget, const char* name) {
    widget->setObjectName(name);
    return widget;
}

}  // namespace

CommSetUp_Window::CommSetUp_Window(CommSetUp& model, QWidget* parent)
    : QWidget(parent, Qt::Window), Model_(model) {
    setObjectName("CommSetUp");
    setWindowTitle("Communications Port Configuration");
    CommPortNumber = Named(new QLineEdit(this), "CommPortNumber");
    CommPortNumber->setReadOnly(true);
    CommDisplayLabel = Named(new QLabel("Comm Port Number", this), "CommDisplayLabel");
    CommDisplayLabel->setBuddy(CommPortNumber);
    DecrPortNumber = Named(new QPushButton("<", this), "DecrPortNumber");
    IncrPortNum = Named(new QPushButton(">", this), "IncrPortNum");
    SavePortSettings = Named(new QPushButton("Use This Setting", this), "SavePortSettings");
    ScanPortNumber = Named(new QPushButton("Scan Serial Ports", this), "ScanPortNumber");
    SerialPortPrompt = Named(new QPlainTextEdit(this), "SerialPortPrompt");
    SerialPortPrompt->setReadOnly(true);
    SerialPortPromptLabel = Named(new QLabel("Port Prompt", this), "SerialPortPromptLabel");
    SerialPortPromptLabel->setBuddy(SerialPortPrompt);

    auto* layout = new QGridLayout(this);
    layout->addWidget(CommDisplayLabel, 0, 0);
    layout->addWidget(DecrPortNumber, 0, 1);
    layout->addWidget(CommPortNumber, 0, 2);
    layout->addWidget(IncrPortNum, 0, 3);
    layout->addWidget(SavePortSettings, 1, 0, 1, 2);
    layout->addWidget(ScanPortNumber, 1, 2, 1, 2);
    layout->addWidget(SerialPortPromptLabel, 2, 0, 1, 4);
    layout->addWidget(SerialPortPrompt, 3, 0, 1, 4);
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
    CommPortNumber->setText(QString::fromStdString(Model_.CommPortNumber));
    QString prompt = QString::fromStdString(Model_.SerialPortPrompt);
    if (SerialPortPrompt->toPlainText() != prompt) {
        SerialPortPrompt->setPlainText(prompt);
        SerialPortPrompt->verticalScrollBar()->setValue(
            SerialPortPrompt->verticalScrollBar()->maximum());
    }
}

void CommSetUp_Window::closeEvent(QCloseEvent* event) {
    Handle([this] { Model_.Form_Close(); });
    event->accept();
}

}  // namespace corvanel
