// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>
#include <string>

#include "run/mail.h"
#include "setup/program_paths.h"

namespace corvanel {

// Sends mail over SMTP with libcurl. The server ("smtp://host:port" or "smtps://...",
// optionally with "user:password@") and the sender's address are read from
// Setup/MailServer.txt and Setup/MailFrom.txt at every send, so a change takes effect
// at once. Recipients are the comma-separated notification list. Any other kind of
// address is refused, and a server given a password gets it only over TLS (smtps, or
// STARTTLS that must succeed).
class Smtp_Mail_Sender : public Mail_Sender {
  public:
    explicit Smtp_Mail_Sender(Program_Paths paths) : Paths_(std::move(paths)) {}
    bool Send(const Mail_Message& message) override;

    // The message as it goes over the wire: headers, a blank line, the body; CR LF lines.
    static std::string Wire_Text(const std::string& from, const Mail_Message& message);

    // What an address says of the server: TLS from the start, a password given. Nothing
    // for an address that is not smtp:// or smtps://.
    struct Server {
        bool Tls = false, Password = false;
    };
    static std::optional<Server> Server_Of(const std::string& url);

  private:
    Program_Paths Paths_;
};

}  // namespace corvanel
