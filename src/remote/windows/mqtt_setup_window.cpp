// SPDX-License-Identifier: GPL-3.0-or-later
#include "remote/windows/mqtt_setup_window.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

#include "language/translate.h"
#include "ui/widgets.h"

namespace corvanel {

Mqtt_Setup_Window::Mqtt_Setup_Window(Mqtt_Setup_Model& model, QWidget* parent)
    : QDialog(parent), Model_(model) {
    setObjectName("MqttSetup");
    setWindowTitle(Q(TranslateText("MQTT")));
    Enable_Publishing =
        new QCheckBox(Q(TranslateText("Publish the firing to an MQTT broker")), this);
    Host = new QLineEdit(this);
    Port = new QLineEdit(this);
    User_Name = new QLineEdit(this);
    Password = new QLineEdit(this);
    Password->setEchoMode(QLineEdit::Password);
    Use_Tls = new QCheckBox(Q(TranslateText("Use TLS")), this);
    Ca_File = new QLineEdit(this);
    Ca_File->setPlaceholderText(Q(TranslateText("the system's certificates")));
    Topic_Prefix = new QLineEdit(this);
    Discovery = new QCheckBox(Q(TranslateText("Home Assistant discovery")), this);
    Message = new QLabel(this);
    Message->setWordWrap(true);
    auto* buttons = Ok_Cancel_Buttons(
        *this, [this] { return Model_.OK_Click(); }, [this] { Refresh(); }, &Saved);
    for (auto [widget, name] :
         {std::pair<QWidget*, const char*>{Enable_Publishing, "Enable_Publishing"},
          {Host, "Host"},
          {Port, "Port"},
          {User_Name, "User_Name"},
          {Password, "Password"},
          {Use_Tls, "Use_Tls"},
          {Ca_File, "Ca_File"},
          {Topic_Prefix, "Topic_Prefix"},
          {Discovery, "Discovery"},
          {Message, "Message"}}) {
        widget->setObjectName(name);
    }

    auto* form = new QFormLayout;
    form->addRow(Enable_Publishing);
    form->addRow(Q(TranslateText("Broker host")), Host);
    form->addRow(Q(TranslateText("Port")), Port);
    form->addRow(Q(TranslateText("User name")), User_Name);
    form->addRow(Q(TranslateText("Password")), Password);
    form->addRow(Use_Tls);
    form->addRow(Q(TranslateText("CA file")), Ca_File);
    form->addRow(Q(TranslateText("Topic prefix")), Topic_Prefix);
    form->addRow(Discovery);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(Message);
    layout->addWidget(buttons);

    connect(Enable_Publishing, &QCheckBox::toggled, this, [this](bool on) { Model_.Enabled = on; });
    connect(Use_Tls, &QCheckBox::toggled, this, [this](bool on) {
        Model_.Tls = on;
        Ca_File->setEnabled(on);
    });
    connect(Discovery, &QCheckBox::toggled, this, [this](bool on) { Model_.Discovery = on; });
    for (auto [box, text] : {std::pair{Host, &Model_.Host},
                             {Port, &Model_.Port_Text},
                             {User_Name, &Model_.User_Name},
                             {Password, &Model_.Password},
                             {Ca_File, &Model_.Ca_File},
                             {Topic_Prefix, &Model_.Topic_Prefix}}) {
        connect(box, &QLineEdit::textEdited, this,
                [text](const QString& typed) { *text = typed.toStdString(); });
    }
}

void Mqtt_Setup_Window::Refresh() {
    Enable_Publishing->setChecked(Model_.Enabled);
    Show_Text(*Host, Model_.Host);
    Show_Text(*Port, Model_.Port_Text);
    Show_Text(*User_Name, Model_.User_Name);
    Show_Text(*Password, Model_.Password);
    Use_Tls->setChecked(Model_.Tls);
    Ca_File->setEnabled(Model_.Tls);
    Show_Text(*Ca_File, Model_.Ca_File);
    Show_Text(*Topic_Prefix, Model_.Topic_Prefix);
    Topic_Prefix->setPlaceholderText(Q(Model_.Default_Prefix));
    Discovery->setChecked(Model_.Discovery);
    Message->setText(Q(Model_.Message));
}

void Mqtt_Setup_Window::Open(const std::string& default_prefix) {
    Model_.Form_Load(default_prefix);
    Refresh();
    exec();
}

}  // namespace corvanel
