// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>
#include <string>

#include "run/mail.h"
#include "run/mail_setup.h"
#include "setup/program_paths.h"

namespace corvanel {

// Sends mail over SMTP with libcurl. The server ("smtp://host:port" or "smtps://...",
// optionally with "user:password@"), whether a plain connection must turn encrypted
// (STARTTLS) and the sender's address are read from the Setup folder at every send, so a
// change takes effect at once; or, for a test of entries not saved yet, given. Recipients
// are the comma-separated notification list. Any other kind of address is refused, and a
// server given a password gets it only over TLS (smtps, or STARTTLS that must succeed).
// A send that fails says why in the operator's words, with the server's own where it
// refused.
class Smtp_Mail_Sender : public Mail_Sender {
  public:
    explicit Smtp_Mail_Sender(Program_Paths paths) : Paths_(std::move(paths)) {}
    explicit Smtp_Mail_Sender(Mail_Setup setup) : Given_(std::move(setup)) {}
    Mail_Result Send(const Mail_Message& message) override;

    // The message as it goes over the wire: headers, a blank line, the body; CR LF lines.
    static std::string Wire_Text(const std::string& from, const Mail_Message& message);

    // What an address says of the server: TLS from the start, a password given. Nothing
    // for an address that is not smtp:// or smtps://.
    struct Server {
        bool Tls = false, Password = false;
    };
    static std::optional<Server> Server_Of(const std::string& url);

  private:
    std::optional<Program_Paths> Paths_;
    std::optional<Mail_Setup> Given_;
};

}  // namespace corvanel
