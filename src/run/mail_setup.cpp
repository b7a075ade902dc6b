// SPDX-License-Identifier: GPL-3.0-or-later
#include "run/mail_setup.h"

#include <curl/curl.h>

#include "language/translate.h"
#include "setup/program_settings.h"

namespace corvanel {

namespace {

std::optional<Operator_Text> Server_Problem(std::string_view server) {
    bool fits = server.size() <= 253;
    for (char c : server) fits = fits && c > ' ' && c != '/' && c != '@' && c != ':' && c != 0x7f;
    if (fits) return std::nullopt;
    return Operator_Text::Phrase("a name or an address without spaces");
}

Setting Part(const char* label, const char* name, Setting_Type type = Setting_Type::Text) {
    // Parts of the server's address: the form keeps them together (Mail_Setup_Form).
    return {.File = Program_Setting::MailServer.File,
            .Type = type,
            .Label = label,
            .Object_Name = name};
}

// One part of a parsed address, decoded; "" when it has none.
std::string Url_Part(CURLU* url, CURLUPart part, unsigned flags = CURLU_URLDECODE) {
    char* text = nullptr;
    std::string value;
    if (curl_url_get(url, part, &text, flags) == CURLUE_OK && text) value = text;
    curl_free(text);
    return value;
}

}  // namespace

namespace Mail_Setting {
const Setting Security{.File = "MailSecurity.txt",
                       .Type = Setting_Type::Choice,
                       .Default = "none",
                       .Label = "Security",
                       .Choices = {"none", "starttls", "tls"},
                       .Choice_Labels = {"No encryption", "STARTTLS", "TLS"},
                       .Object_Name = "Mail_Security"};
}  // namespace Mail_Setting

const Setting_Bindings<Mail_Setup>& Mail_Setup_Bindings() {
    static const Setting_Bindings<Mail_Setup> bindings = [] {
        Setting server = Part("Mail server", "Mail_Server");
        server.Check = Server_Problem;
        server.Placeholder = "smtp.example.com";
        Setting port = Part("Port", "Mail_Port", Setting_Type::Whole);
        port.Low = 1;
        port.High = 65535;
        port.Refusal = "The port must be a whole number from 1 to 65535";
        return Setting_Bindings<Mail_Setup>{
            {server, &Mail_Setup::Server},
            {port, &Mail_Setup::Port},
            {&Mail_Setting::Security, &Mail_Setup::Security},
            {Part("User name", "Mail_User"), &Mail_Setup::User},
            {Part("Password", "Mail_Password", Setting_Type::Secret), &Mail_Setup::Password},
            {&Program_Setting::MailFrom, &Mail_Setup::Sender}};
    }();
    return bindings;
}

std::string Mail_Server_Address(const Mail_Setup& setup) {
    if (setup.Server.empty()) return "";
    CURLU* url = curl_url();
    if (!url) return "";
    curl_url_set(url, CURLUPART_SCHEME, setup.Tls() ? "smtps" : "smtp", 0);
    curl_url_set(url, CURLUPART_HOST, setup.Server.c_str(), 0);
    curl_url_set(url, CURLUPART_PORT, std::to_string(setup.Port).c_str(), 0);
    if (!setup.User.empty() || !setup.Password.empty()) {
        curl_url_set(url, CURLUPART_USER, setup.User.c_str(), CURLU_URLENCODE);
        if (!setup.Password.empty())
            curl_url_set(url, CURLUPART_PASSWORD, setup.Password.c_str(), CURLU_URLENCODE);
    }
    std::string address = Url_Part(url, CURLUPART_URL, 0);
    curl_url_cleanup(url);
    // Written as the operator would type it: no path the server never asked for.
    if (address.ends_with("/")) address.pop_back();
    return address;
}

std::optional<Mail_Setup> Mail_Setup_Of_Address(const std::string& address,
                                                const std::string& security) {
    Mail_Setup setup;
    if (address.empty()) return setup;
    CURLU* url = curl_url();
    if (!url) return std::nullopt;
    std::optional<Mail_Setup> read;
    if (curl_url_set(url, CURLUPART_URL, address.c_str(), 0) == CURLUE_OK) {
        const std::string scheme = Url_Part(url, CURLUPART_SCHEME, 0);
        const std::string port = Url_Part(url, CURLUPART_PORT, CURLU_DEFAULT_PORT);
        if (scheme == "smtp" || scheme == "smtps") {
            setup.Server = Url_Part(url, CURLUPART_HOST);
            setup.Port = port.empty() ? setup.Port : std::stoi(port);
            setup.User = Url_Part(url, CURLUPART_USER);
            setup.Password = Url_Part(url, CURLUPART_PASSWORD);
            // The address says TLS from the start; the file, whether a plain start must
            // turn encrypted, as it must for a password.
            const bool plain = security == "none" && setup.Password.empty();
            setup.Security = scheme == "smtps" ? "tls" : plain ? "none" : "starttls";
            read = setup;
        }
    }
    curl_url_cleanup(url);
    return read;
}

Mail_Setup Read_Mail_Setup(Settings_Store& store, std::vector<Problem>& problems) {
    const std::string address = store.Read(Program_Setting::MailServer, problems);
    const std::string security = store.Read(Mail_Setting::Security, problems);
    std::optional<Mail_Setup> setup = Mail_Setup_Of_Address(address, security);
    if (!setup) {
        // Never said with the address: it may hold the password.
        problems.push_back({Operator_Text::Phrase("The mail server's address could not be read"),
                            Operator_Text::Phrase("Enter the mail server again")});
        setup.emplace();
    }
    setup->Sender = store.Read(Program_Setting::MailFrom, problems);
    return *setup;
}

Maybe_Problem Write_Mail_Setup(Settings_Store& store, const Mail_Setup& setup) {
    for (auto [setting, value] :
         {std::pair{&Program_Setting::MailServer, Mail_Server_Address(setup)},
          std::pair{&Mail_Setting::Security, setup.Security},
          std::pair{&Program_Setting::MailFrom, setup.Sender}}) {
        if (Maybe_Problem problem = store.Write(*setting, value)) return problem;
    }
    return std::nullopt;
}

Maybe_Problem Mail_Setup_Refused(const Mail_Setup& setup) {
    if (setup.Password.empty() || setup.Security != "none") return std::nullopt;
    return Problem{Operator_Text::Phrase("A password is sent to the mail server only encrypted"),
                   Operator_Text::Phrase("Choose STARTTLS or TLS, as the mail provider says")};
}

Settings_Form Mail_Setup_Form(Settings_Store& store) {
    Settings_Form form(store, Mail_Setup_Bindings().Settings());
    form.Kept = Settings_Form::Kept_Together{
        [&store](Settings_Form& read) {
            std::vector<Problem> problems;
            const Mail_Setup setup = Read_Mail_Setup(store, problems);
            const auto& bindings = Mail_Setup_Bindings().Bindings();
            for (std::size_t i = 0; i < bindings.size(); ++i) {
                read.Fields()[i].Text =
                    Setting_Bindings<Mail_Setup>::Text_Of(*bindings[i].Of, bindings[i].To, setup);
            }
            return problems;
        },
        [&store](Settings_Form& taken) -> Maybe_Problem {
            auto entries = Mail_Setup_Of_Entries(taken);
            if (auto* refused = std::get_if<Problem>(&entries)) return *refused;
            return Write_Mail_Setup(store, std::get<Mail_Setup>(entries));
        }};
    return form;
}

std::variant<Mail_Setup, Problem> Mail_Setup_Of_Entries(Settings_Form& form) {
    Mail_Setup setup;
    for (std::size_t i = 0; i < form.Fields().size(); ++i) {
        const Settings_Field& field = form.Fields()[i];
        const auto& binding = Mail_Setup_Bindings().Bindings()[i];
        const std::optional<std::string> value = Setting_Value_Of_Text(*field.Of, field.Text);
        if (!value) {
            form.Bad_Field = i;
            return Bad_Setting_Problem(*field.Of, field.Text, std::nullopt);
        }
        Setting_Bindings<Mail_Setup>::Take(*binding.Of, binding.To, setup, *value);
    }
    if (Maybe_Problem refused = Mail_Setup_Refused(setup)) {
        form.Bad_Field = 2;  // the security
        return *refused;
    }
    return setup;
}

Problem Test_Mail_Said(const Mail_Result& result, const std::string& recipients) {
    switch (result.Is) {
        case Mail_Result::State::Sent:
            return {Operator_Text::Phrase("The test mail was sent to %1",
                                          {Operator_Text::Value(recipients)}),
                    Operator_Text::Phrase("If it does not arrive, look in the spam folder"),
                    Severity::Notice};
        case Mail_Result::State::Queued:
            return {Operator_Text::Phrase("Sending the test mail"), {}, Severity::Notice};
        case Mail_Result::State::Failed:
            break;
    }
    return {Operator_Text::Phrase("The test mail could not be sent: %1", {result.Why.What}),
            result.Why.To_Do};
}

std::string Alarm_Mail_Not_Sent_Line(const Problem& why) {
    std::string line = TranslateText(Alarm_Mail_Not_Sent) + ": " + why.What.Text(Translate_Phrase);
    if (!why.To_Do.Empty()) line += ". " + why.To_Do.Text(Translate_Phrase);
    return line;
}

}  // namespace corvanel
