// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <functional>
#include <memory>
#include <string>

#include "ui/settings_dialog.h"

class QLabel;
class QPushButton;

namespace corvanel {

class Mail_Outbox;

// Email -> "Mail Settings": the mail server, port, security, user, password and sender
// over the mail setup (Mail_Setup_Form), with a note on how mail goes out and "Send a test
// mail", which tries the entries as typed, saved or not. The test goes out on a thread of
// its own and its outcome comes back on the event loop: the dialog never waits for a
// server.
class Mail_Settings_Window : public Settings_Dialog {
    Q_OBJECT
  public:
    // `recipients`: the notification list the test mail goes to, as the run window holds it.
    Mail_Settings_Window(Settings_Form& form, std::function<std::string()> recipients,
                         QWidget* parent = nullptr);
    ~Mail_Settings_Window() override;

    int Open();
    void Send_Test_Mail();

    QPushButton* Test_Button = nullptr;
    QLabel* How_Mail_Goes = nullptr;

  private:
    void Say(const Problem& said);

    Settings_Form& Form_;
    std::function<std::string()> Recipients_;
    std::unique_ptr<Mail_Outbox> Test_Outbox_;  // before the QObject goes: it posts to it
};

}  // namespace corvanel
