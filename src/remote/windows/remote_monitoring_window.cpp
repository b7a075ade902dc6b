// SPDX-License-Identifier: GPL-3.0-or-later
#include "remote/windows/remote_monitoring_window.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPixmap>
#include <QPushButton>

#include "language/translate.h"
#include "remote/remote_settings.h"
#include "remote/windows/address_code_image.h"
#include "ui/widgets.h"

namespace corvanel {

Remote_Monitoring_Window::Remote_Monitoring_Window(Settings_Form& form, std::string host,
                                                   QWidget* parent)
    : Settings_Dialog(form, "RemoteMonitoring", "Remote Monitoring", Translate_Phrase, parent),
      Form_(form),
      Host_(std::move(host)) {
    Message()->setObjectName("Message");
    // The token is no password: it is read off here and typed into a phone.
    if (auto* token = qobject_cast<QLineEdit*>(Control(Remote_Setting::Token.Name())))
        token->setEchoMode(QLineEdit::Normal);
    QPushButton* new_token = Add_Button("New_Token", "New Token");
    // Whether a phone can open it, the sentence under it says.
    Address = Add_Line("Address", "Address of the status page");
    Address->setMinimumWidth(Address->fontMetrics().horizontalAdvance(
        "http://192.168.100.200:65535/?token=0123456789abcdef0123456789abcdef"));
    Who_Can_Open = Add_Note("Who_Can_Open");
    QPushButton* copy = Add_Button("Copy_Address", "Copy Address");
    Address_Code = Add_Note("Address_Code");
    Address_Code->setAlignment(Qt::AlignCenter);
    connect(copy, &QPushButton::clicked, this,
            [this] { QGuiApplication::clipboard()->setText(Address->text()); });
    connect(new_token, &QPushButton::clicked, this, [this] {
        Form_.Set_Text(Field(Remote_Setting::Token), New_Access_Token());
        Show_Fields();
        Show_Address();
    });
    Edited = [this] {
        Token_For_The_Network();
        Show_Address();
    };
    Check = [this]() -> std::optional<Refusal> {
        Listen_Shown_.clear();
        Token_For_The_Network();
        return std::nullopt;
    };
}

Settings_Field& Remote_Monitoring_Window::Field(const Setting& setting) {
    return *Form_.Field(setting.Name());
}

void Remote_Monitoring_Window::Token_For_The_Network() {
    // A token is made when the network is chosen, not whenever the box is emptied, so
    // the operator can type one of their own.
    const std::string listen = Field(Remote_Setting::Listen).Text;
    const bool chosen_now = listen != Listen_Shown_;
    Listen_Shown_ = listen;
    if (!chosen_now || listen != "network" || !Field(Remote_Setting::Token).Text.empty()) return;
    Form_.Set_Text(Field(Remote_Setting::Token), New_Access_Token());
    Show_Fields();
}

void Remote_Monitoring_Window::Show_Address() {
    Remote_Settings shown;
    std::optional<std::string> port =
        Setting_Value_Of_Text(Remote_Setting::Port, Field(Remote_Setting::Port).Text);
    shown.Port = port ? std::stoi(*port) : 0;
    shown.On_Network = Field(Remote_Setting::Listen).Text == "network";
    shown.Token = Field(Remote_Setting::Token).Text;
    Show_Text(*Address, Page_Address(shown, shown.On_Network ? Host_ : "127.0.0.1"));
    Address->setCursorPosition(0);  // the start of a long address shows
    // Only the network has an address a phone can open.
    const QImage code =
        shown.On_Network ? Address_Code_Image(Address->text().toStdString()) : QImage();
    Address_Code->setPixmap(QPixmap::fromImage(code));
    Address_Code->setVisible(!code.isNull());
    Who_Can_Open->setText(Q(TranslateText(
        shown.On_Network ? "A phone or computer on this network opens the page with this whole "
                           "address, its key included."
                         : "Only this computer can open the page. Choose the network to open it "
                           "from a phone.")));
}

int Remote_Monitoring_Window::Open() {
    Form_.Load();
    Listen_Shown_.clear();
    Token_For_The_Network();
    Show_Fields();
    Show_Address();
    Apply_Language();
    return exec();
}

}  // namespace corvanel
