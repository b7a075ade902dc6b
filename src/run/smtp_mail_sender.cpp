// SPDX-License-Identifier: GPL-3.0-or-later
#include "run/smtp_mail_sender.h"

#include <curl/curl.h>

#include <cctype>
#include <cstring>
#include <vector>

#include "setup/program_settings.h"
#include "setup/settings_store.h"

namespace corvanel {

namespace {

std::vector<std::string> Split_Recipients(const std::string& list) {
    std::vector<std::string> recipients;
    std::size_t start = 0;
    while (start <= list.size()) {
        std::size_t comma = list.find(',', start);
        std::string address = list.substr(start, comma - start);
        std::size_t first = address.find_first_not_of(" \t");
        std::size_t last = address.find_last_not_of(" \t");
        if (first != std::string::npos)
            recipients.push_back(address.substr(first, last - first + 1));
        if (comma == std::string::npos) break;
        start = comma + 1;
    }
    return recipients;
}

std::string Angle(const std::string& address) {
    if (!address.empty() && address.front() == '<') return address;
    return "<" + address + ">";
}

struct Upload {
    const std::string* Text;
    std::size_t Sent = 0;
};

std::size_t Read_Upload(char* buffer, std::size_t size, std::size_t count, void* user) {
    auto* upload = static_cast<Upload*>(user);
    std::size_t room = size * count;
    std::size_t left = upload->Text->size() - upload->Sent;
    std::size_t now = left < room ? left : room;
    std::memcpy(buffer, upload->Text->data() + upload->Sent, now);
    upload->Sent += now;
    return now;
}

// libcurl's global set-up, once for the life of the program.
struct Curl_Global {
    Curl_Global() { curl_global_init(CURL_GLOBAL_DEFAULT); }
    ~Curl_Global() { curl_global_cleanup(); }
};

// The server's last refusal, as it said it: a reply line of code 4xx or 5xx.
int Note_Refusal(CURL*, curl_infotype type, char* data, std::size_t size, void* user) {
    if (type != CURLINFO_HEADER_IN) return 0;
    std::string line(data, size);
    while (!line.empty() && (line.back() == '\n' || line.back() == '\r')) line.pop_back();
    if (line.size() >= 3 && (line[0] == '4' || line[0] == '5') &&
        std::isdigit(static_cast<unsigned char>(line[1])) &&
        std::isdigit(static_cast<unsigned char>(line[2]))) {
        *static_cast<std::string*>(user) = line;
    }
    return 0;
}

// A reply's words without its codes: "550 5.1.1 No such user" says "No such user".
std::string Words_Of_Reply(const std::string& line) {
    std::size_t at = 3;
    while (at < line.size() && (line[at] == ' ' || line[at] == '-')) ++at;
    std::size_t code_end = line.find(' ', at);
    const std::string code =
        line.substr(at, code_end == std::string::npos ? code_end : code_end - at);
    if (code.find_first_not_of("0123456789.") == std::string::npos &&
        code.find('.') != std::string::npos)
        at = code_end == std::string::npos ? line.size() : code_end + 1;
    const std::string words = line.substr(at);
    return words.empty() ? line : words;
}

Mail_Result Not_Sent(std::string what, std::vector<Operator_Text> parts, std::string to_do) {
    return Mail_Result::Failed({Operator_Text::Phrase(std::move(what), std::move(parts)),
                                Operator_Text::Phrase(std::move(to_do))});
}

// Why libcurl could not hand the mail over, in the operator's words.
Mail_Result Failure_Of(CURLcode code, const std::string& address, const std::string& refusal,
                       const char* error_text) {
    const Mail_Setup server = Mail_Setup_Of_Address(address, "none").value_or(Mail_Setup{});
    const Operator_Text host = Operator_Text::Value(server.Server);
    const std::string reason =
        !refusal.empty() ? Words_Of_Reply(refusal)
                         : (error_text && *error_text ? error_text : curl_easy_strerror(code));
    const char* check_server = "Check the server, the port and that this computer is online";
    const char* check_security =
        "Choose the security the mail provider names: TLS usually on port 465, STARTTLS on 587";
    switch (code) {
        case CURLE_COULDNT_RESOLVE_HOST:
            return Not_Sent("the mail server %1 is not known", {host},
                            "Check the mail server's name in Email -> Mail Settings");
        case CURLE_COULDNT_CONNECT:
            return Not_Sent("the mail server %1 could not be reached on port %2",
                            {host, Operator_Text::Value(std::to_string(server.Port))},
                            check_server);
        case CURLE_OPERATION_TIMEDOUT:
            return Not_Sent("the mail server %1 did not answer in time", {host}, check_server);
        case CURLE_LOGIN_DENIED:
            return Not_Sent("the mail server refused the user name or password: %1",
                            {Operator_Text::Value(reason)},
                            "Check the user name and password in Email -> Mail Settings");
        case CURLE_USE_SSL_FAILED:
            return Not_Sent("the mail server offers no encrypted connection", {}, check_security);
        case CURLE_SSL_CONNECT_ERROR:
        case CURLE_PEER_FAILED_VERIFICATION:
        case CURLE_SSL_CACERT_BADFILE:
        case CURLE_SSL_CERTPROBLEM:
        case CURLE_RECV_ERROR:
            if (refusal.empty())
                return Not_Sent("the encrypted connection to the mail server failed: %1",
                                {Operator_Text::Value(reason)}, check_security);
            break;
        default:
            break;
    }
    if (!refusal.empty())
        return Not_Sent("the mail server refused the mail: %1", {Operator_Text::Value(reason)},
                        "Check the sender's address in Email -> Mail Settings and the "
                        "addresses of the notification list");
    return Not_Sent("the mail could not be handed to the mail server: %1",
                    {Operator_Text::Value(reason)},
                    "Check the mail settings: Email -> Mail Settings -> Send a test mail");
}

}  // namespace

std::optional<Smtp_Mail_Sender::Server> Smtp_Mail_Sender::Server_Of(const std::string& url) {
    CURLU* parsed = curl_url();
    if (!parsed) return std::nullopt;
    std::optional<Server> server;
    if (curl_url_set(parsed, CURLUPART_URL, url.c_str(), 0) == CURLUE_OK) {
        char* scheme = nullptr;
        char* password = nullptr;
        curl_url_get(parsed, CURLUPART_SCHEME, &scheme, 0);
        const bool has_password =
            curl_url_get(parsed, CURLUPART_PASSWORD, &password, 0) == CURLUE_OK && password &&
            *password;
        const std::string name = scheme ? scheme : "";
        // Only mail: a "file://" server would have written the message over a file.
        if (name == "smtp" || name == "smtps") server = Server{name == "smtps", has_password};
        curl_free(scheme);
        curl_free(password);
    }
    curl_url_cleanup(parsed);
    return server;
}

std::string Smtp_Mail_Sender::Wire_Text(const std::string& from, const Mail_Message& message) {
    std::string text;
    text += "From: " + Angle(from) + "\r\n";
    text += "To: " + message.Recipients + "\r\n";
    text += "Subject: " + message.Subject + "\r\n";
    text += "MIME-Version: 1.0\r\n";
    text += "Content-Type: text/plain; charset=UTF-8\r\n";
    text += "\r\n";
    text += message.Body;
    text += "\r\n";
    return text;
}

Mail_Result Smtp_Mail_Sender::Send(const Mail_Message& message) {
    static Curl_Global global;
    std::string server, from;
    bool encrypt = false;  // a plain start must turn encrypted
    if (Given_) {
        server = Mail_Server_Address(*Given_);
        from = Given_->Sender;
        encrypt = Given_->Security != "none";
    } else {
        // Read for every message, so a change made outside is used by the next one. A
        // store of its own, read only: this runs on the outbox's worker thread, which may
        // outlive the program, and the program's store is used from its own thread only.
        Settings_Store settings(*Paths_);
        server = settings.Value(Program_Setting::MailServer);
        from = settings.Value(Program_Setting::MailFrom);
        encrypt = settings.Value(Mail_Setting::Security) != "none";
    }
    std::vector<std::string> recipients = Split_Recipients(message.Recipients);
    if (server.empty())
        return Not_Sent("no mail server is set up", {}, "Set it up in Email -> Mail Settings");
    const std::optional<Server> kind = Server_Of(server);
    if (!kind)
        return Not_Sent("the mail server is not set up right", {},
                        "Enter the mail server again in Email -> Mail Settings");
    if (recipients.empty())
        return Not_Sent("there is no address to send it to", {},
                        "Enter the addresses: Email -> EditNotificationList");

    CURL* curl = curl_easy_init();
    if (!curl)
        return Not_Sent("the mail could not be handed to the mail server: %1",
                        {Operator_Text::Value("libcurl")}, "");
    std::string wire = Wire_Text(from, message);
    Upload upload{&wire};
    curl_slist* rcpt = nullptr;
    for (const std::string& address : recipients)
        rcpt = curl_slist_append(rcpt, Angle(address).c_str());
    std::string mail_from = Angle(from);
    std::string refusal;
    char error_text[CURL_ERROR_SIZE] = "";

    curl_easy_setopt(curl, CURLOPT_URL, server.c_str());
    curl_easy_setopt(curl, CURLOPT_MAIL_FROM, mail_from.c_str());
    curl_easy_setopt(curl, CURLOPT_MAIL_RCPT, rcpt);
    curl_easy_setopt(curl, CURLOPT_READFUNCTION, Read_Upload);
    curl_easy_setopt(curl, CURLOPT_READDATA, &upload);
    curl_easy_setopt(curl, CURLOPT_UPLOAD, 1L);
    curl_easy_setopt(curl, CURLOPT_PROTOCOLS_STR, "smtp,smtps");
    curl_easy_setopt(curl, CURLOPT_REDIR_PROTOCOLS_STR, "smtp,smtps");
    // A password never crosses the network in clear text: without TLS the mail is not sent.
    curl_easy_setopt(
        curl, CURLOPT_USE_SSL,
        static_cast<long>(kind->Password || encrypt ? CURLUSESSL_ALL : CURLUSESSL_TRY));
    curl_easy_setopt(curl, CURLOPT_NOSIGNAL, 1L);
    // An unreachable server must not hold the mail long: later mails wait behind it.
    curl_easy_setopt(curl, CURLOPT_CONNECTTIMEOUT, 10L);
    curl_easy_setopt(curl, CURLOPT_TIMEOUT, 30L);
    // The server's replies are heard only for its reason when it refuses.
    curl_easy_setopt(curl, CURLOPT_DEBUGFUNCTION, Note_Refusal);
    curl_easy_setopt(curl, CURLOPT_DEBUGDATA, &refusal);
    curl_easy_setopt(curl, CURLOPT_VERBOSE, 1L);
    curl_easy_setopt(curl, CURLOPT_ERRORBUFFER, error_text);
    CURLcode result = curl_easy_perform(curl);
    curl_slist_free_all(rcpt);
    curl_easy_cleanup(curl);
    if (result == CURLE_OK) return Mail_Result::Sent();
    return Failure_Of(result, server, refusal, error_text);
}

}  // namespace corvanel
