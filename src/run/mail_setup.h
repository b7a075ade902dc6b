// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <variant>
#include <vector>

#include "common/problem.h"
#include "run/mail.h"
#include "setup/setting.h"
#include "setup/setting_binding.h"
#include "setup/settings_form.h"
#include "setup/settings_store.h"

namespace corvanel {

// The mail server as the operator sets it up: a friendlier view over the server's address
// (MailServer.txt, "smtp://" or "smtps://", optionally with "user:password@") and the
// sender (MailFrom.txt). Only what the address cannot say, that a plain connection must
// turn encrypted (STARTTLS), is kept in a file of its own, MailSecurity.txt.
struct Mail_Setup {
    std::string Server;  // a name or an address; empty: no mail goes out
    int Port = 587;
    std::string Security = "none";  // "none", "starttls" or "tls" (smtps)
    std::string User;
    std::string Password;
    std::string Sender;

    bool Tls() const { return Security == "tls"; }
    // A password never crosses the network in clear text.
    bool Encryption_Required() const { return Security != "none" || !Password.empty(); }
};

namespace Mail_Setting {
extern const Setting Security;
}

// The dialog's fields, in order: server, port, security, user, password, sender.
const Setting_Bindings<Mail_Setup>& Mail_Setup_Bindings();

// The address written to MailServer.txt ("" without a server), and back. An address that
// is not smtp:// or smtps:// gives nothing.
std::string Mail_Server_Address(const Mail_Setup& setup);
std::optional<Mail_Setup> Mail_Setup_Of_Address(const std::string& address,
                                                const std::string& security);

// The mail setup in the files now; what could not be read is said in `problems`.
Mail_Setup Read_Mail_Setup(Settings_Store& store, std::vector<Problem>& problems);
Maybe_Problem Write_Mail_Setup(Settings_Store& store, const Mail_Setup& setup);

// A password asked to go unencrypted, refused: what to correct.
Maybe_Problem Mail_Setup_Refused(const Mail_Setup& setup);

// Email -> Mail Settings: the fields over the files above. The entries as a setup, or
// the first that breaks its rule.
Settings_Form Mail_Setup_Form(Settings_Store& store);
std::variant<Mail_Setup, Problem> Mail_Setup_Of_Entries(Settings_Form& form);

// What the dialog says of a test mail: sent to whom, or why not and what to do.
Problem Test_Mail_Said(const Mail_Result& result, const std::string& recipients);
// The banner's line of an alarm mail that did not go out.
std::string Alarm_Mail_Not_Sent_Line(const Problem& why);
inline constexpr const char* Alarm_Mail_Not_Sent = "The alarm mail could not be sent";

}  // namespace corvanel
