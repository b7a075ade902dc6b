// SPDX-License-Identifier: GPL-3.0-or-later
#include "run/windows/mail_settings_window.h"

#include <QLabel>
#include <QPushButton>

#include "language/translate.h"
#include "run/mail_outbox.h"
#include "run/mail_setup.h"
#include "run/smtp_mail_sender.h"
#include "ui/widgets.h"

namespace corvanel {

namespace {

const char* const How_Mail_Goes_Text =
    "Alarm mails go out from this program straight to the mail server set here; no mail "
    "program needs to be running. Your mail provider names the server, the port and the "
    "security. Send a test mail to see that the mails arrive.";

}  // namespace

Mail_Settings_Window::Mail_Settings_Window(Settings_Form& form,
                                           std::function<std::string()> recipients, QWidget* parent)
    : Settings_Dialog(form, "Mail_Settings", "Mail Settings", Translate_Phrase, parent),
      Form_(form),
      Recipients_(std::move(recipients)) {
    How_Mail_Goes = Add_Note("How_Mail_Goes");
    // Wide enough for the note to read as a paragraph, not a column of words.
    How_Mail_Goes->setMinimumWidth(How_Mail_Goes->fontMetrics().averageCharWidth() * 56);
    Test_Button = Add_Button("Send_Test_Mail", "Send a test mail");
    connect(Test_Button, &QPushButton::clicked, this, [this] { Send_Test_Mail(); });
}

Mail_Settings_Window::~Mail_Settings_Window() = default;

int Mail_Settings_Window::Open() {
    How_Mail_Goes->setText(Q(TranslateText(How_Mail_Goes_Text)));
    return Settings_Dialog::Open();
}

void Mail_Settings_Window::Say(const Problem& said) {
    Form_.Message = said;
    Apply_Language();
    adjustSize();  // a longer message must not squeeze the note
}

void Mail_Settings_Window::Send_Test_Mail() {
    Take_Entries();
    auto entries = Mail_Setup_Of_Entries(Form_);
    if (const Problem* refused = std::get_if<Problem>(&entries)) {
        Say(*refused);
        if (Form_.Bad_Field < Form_.Fields().size()) Control(Form_.Bad_Field)->setFocus();
        return;
    }
    const std::string recipients = Recipients_ ? Recipients_() : "";
    // The outcome is posted to this dialog; the outbox goes before the dialog does.
    Test_Outbox_ = std::make_unique<Mail_Outbox>(
        std::make_unique<Smtp_Mail_Sender>(std::get<Mail_Setup>(entries)), 1,
        [this](std::function<void()> done) {
            QMetaObject::invokeMethod(this, std::move(done), Qt::QueuedConnection);
        });
    Mail_Message test = Compose_Test_Mail(recipients);
    test.Then = [this, recipients](const Mail_Result& result) {
        Test_Button->setEnabled(true);
        Say(Test_Mail_Said(result, recipients));
    };
    Test_Button->setEnabled(false);
    Say(Test_Mail_Said(Test_Outbox_->Send(test), recipients));
}

}  // namespace corvanel
