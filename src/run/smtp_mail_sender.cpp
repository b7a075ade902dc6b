// SPDX-License-Identifier: GPL-3.0-or-later
#include "run/smtp_mail_sender.h"

#include <curl/curl.h>

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

bool Smtp_Mail_Sender::Send(const Mail_Message& message) {
    static Curl_Global global;
    // Read for every message, so a change made outside is used by the next one. A store
    // of its own, read only: this runs on the outbox's worker thread, which may outlive
    // the program, and the program's store is used from its own thread only.
    Settings_Store settings(Paths_);
    const std::string server = settings.Value(Program_Setting::MailServer);
    const std::string from = settings.Value(Program_Setting::MailFrom);
    std::vector<std::string> recipients = Split_Recipients(message.Recipients);
    if (server.empty() || recipients.empty()) return false;
    const std::optional<Server> kind = Server_Of(server);
    if (!kind) return false;

    CURL* curl = curl_easy_init();
    if (!curl) return false;
    std::string wire = Wire_Text(from, message);
    Upload upload{&wire};
    curl_slist* rcpt = nullptr;
    for (const std::string& address : recipients)
        rcpt = curl_slist_append(rcpt, Angle(address).c_str());
    std::string mail_from = Angle(from);

    curl_easy_setopt(curl, CURLOPT_URL, server.c_str());
    curl_easy_setopt(curl, CURLOPT_MAIL_FROM, mail_from.c_str());
    curl_easy_setopt(curl, CURLOPT_MAIL_RCPT, rcpt);
    curl_easy_setopt(curl, CURLOPT_READFUNCTION, Read_Upload);
    curl_easy_setopt(curl, CURLOPT_READDATA, &upload);
    curl_easy_setopt(curl, CURLOPT_UPLOAD, 1L);
    curl_easy_setopt(curl, CURLOPT_PROTOCOLS_STR, "smtp,smtps");
    curl_easy_setopt(curl, CURLOPT_REDIR_PROTOCOLS_STR, "smtp,smtps");
    // A password never crosses the network in clear text: without TLS the mail is not sent.
    curl_easy_setopt(curl, CURLOPT_USE_SSL,
                     static_cast<long>(kind->Password ? CURLUSESSL_ALL : CURLUSESSL_TRY));
    curl_easy_setopt(curl, CURLOPT_NOSIGNAL, 1L);
    // A send blocks the window thread; an unreachable server must not hold it long.
    curl_easy_setopt(curl, CURLOPT_CONNECTTIMEOUT, 10L);
    curl_easy_setopt(curl, CURLOPT_TIMEOUT, 30L);
    CURLcode result = curl_easy_perform(curl);
    curl_slist_free_all(rcpt);
    curl_easy_cleanup(curl);
    return result == CURLE_OK;
}

}  // namespace corvanel
