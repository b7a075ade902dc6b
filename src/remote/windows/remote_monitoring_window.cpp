// SPDX-License-Identifier: GPL-3.0-or-later
#include "remote/windows/remote_monitoring_window.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "language/translate.h"
#include "ui/widgets.h"

namespace corvanel {

Remote_Monitoring_Window::Remote_Monitoring_Window(Remote_Monitoring_Model& model, QWidget* parent)
    : QDialog(parent), Model_(model) {
    setObjectName("RemoteMonitoring");
    setWindowTitle(Q(TranslateText("Remote Monitoring")));
    Enable_Page = new QCheckBox(Q(TranslateText("Show the status page")), this);
    Port = new QLineEdit(this);
    Listen_Local = new QRadioButton(Q(TranslateText("Listen on this computer only")), this);
    Listen_Network =
        new QRadioButton(Q(TranslateText("Listen on the network (needs the access token)")), this);
    Token = new QLineEdit(this);
    auto* new_token = new QPushButton(Q(TranslateText("New Token")), this);
    Address = new QLineEdit(this);
    Address->setReadOnly(true);
    Message = new QLabel(this);
    Message->setWordWrap(true);
    auto* buttons = Ok_Cancel_Buttons(
        *this, [this] { return Model_.OK_Click(); }, [this] { Refresh(); }, &Saved);
    for (auto [widget, name] : {std::pair<QWidget*, const char*>{Enable_Page, "Enable_Page"},
                                {Port, "Port"},
                                {Listen_Local, "Listen_Local"},
                                {Listen_Network, "Listen_Network"},
                                {Token, "Token"},
                                {new_token, "New_Token"},
                                {Address, "Address"},
                                {Message, "Message"}}) {
        widget->setObjectName(name);
    }

    auto* form = new QFormLayout;
    form->addRow(Enable_Page);
    form->addRow(Q(TranslateText("Port")), Port);
    form->addRow(Listen_Local);
    form->addRow(Listen_Network);
    form->addRow(Q(TranslateText("Access token")), Token);
    form->addRow(QString(), new_token);
    form->addRow(Q(TranslateText("Address to type into a phone")), Address);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(Message);
    layout->addWidget(buttons);

    connect(Enable_Page, &QCheckBox::toggled, this, [this](bool on) { Model_.Enabled = on; });
    connect(Port, &QLineEdit::textEdited, this, [this](const QString& text) {
        Model_.Port_Text = text.toStdString();
        Refresh();
    });
    connect(Listen_Network, &QRadioButton::toggled, this, [this](bool on) {
        Model_.Listen_Changed(on);
        Refresh();
    });
    connect(Token, &QLineEdit::textEdited, this, [this](const QString& text) {
        Model_.Token = text.toStdString();
        Refresh();
    });
    connect(new_token, &QPushButton::clicked, this, [this] {
        Model_.New_Token_Click();
        Refresh();
    });
}

void Remote_Monitoring_Window::Refresh() {
    Enable_Page->setChecked(Model_.Enabled);
    Show_Text(*Port, Model_.Port_Text);
    (Model_.On_Network ? Listen_Network : Listen_Local)->setChecked(true);
    Show_Text(*Token, Model_.Token);
    Show_Text(*Address, Model_.Address());
    Message->setText(Q(Model_.Message));
}

void Remote_Monitoring_Window::Open() {
    Model_.Form_Load();
    Refresh();
    exec();
}

}  // namespace corvanel
