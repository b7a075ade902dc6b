// SPDX-License-Identifier: GPL-3.0-or-later
// The status page's answer to whatever a browser or anyone else sends: method, path,
// query, Authorization, Cookie and Host as the HTTP server hands them over. Every answer
// is one of the known codes with its two safety headers; nothing is served without the
// token on the network or under a foreign Host on this computer; the cookie set is only
// ever the token itself.

#include <cstdlib>
#include <string>

#include "fuzz_input.h"
#include "remote/status_routes.h"

using namespace corvanel;

namespace {

const std::string Token = "0123456789abcdef0123456789abcdef";

const Status_Snapshot& Snapshot() {
    static const Status_Snapshot* snapshot = [] {
        auto* made = new Status_Snapshot(8);
        Firing_Status status;
        status.State = Firing_State::Running;
        status.Profile_Name = "glaze.txt";
        for (int tick = 0; tick < 12; ++tick) {
            status.Elapsed = status.Real_Elapsed = tick * 0.05;
            status.Set_Value = 70 + tick;
            made->Firing_Changed(status, Firing_Event::Tick, "");
        }
        return made;
    }();
    return *snapshot;
}

std::string Lower(std::string text) {
    for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

// This computer by a name a browser on it would use, with or without the port.
bool Names_This_Computer(const std::string& host, int port) {
    std::string name = Lower(host);
    const std::string suffix = ":" + std::to_string(port);
    if (name.size() > suffix.size() && name.ends_with(suffix))
        name.resize(name.size() - suffix.size());
    return name == "127.0.0.1" || name == "localhost" || name == "[::1]";
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::Fuzz_Input input(data, size);
    const std::uint8_t flags = input.Byte();
    const int port = 1 + (input.Byte() << 8 | input.Byte()) % 65535;
    Status_Request request;
    request.Has_Since = flags & 2;
    request.Method = input.Piece();
    request.Path = input.Piece();
    request.Query_Token = input.Piece();
    request.Query_Since = input.Piece();
    request.Authorization = input.Piece();
    request.Cookie = input.Piece();
    request.Host = input.Piece();
    const bool network = (flags & 1) != 0;
    const Status_Access access{
        .Token_Required = network, .Token = network ? Token : "", .Port = port};
    const Status_Response response = Answer_Status_Request(request, Snapshot(), access);

    int safety_headers = 0;
    for (const auto& [name, value] : response.Headers) {
        safety_headers += (name == "Cache-Control" && value == "no-store") +
                          (name == "Referrer-Policy" && value == "no-referrer");
        if (name == "Set-Cookie" && (value != Token_Cookie_Name(port) + "=" + Token +
                                                  "; Path=/; HttpOnly; SameSite=Strict" ||
                                     request.Query_Token != Token)) {
            std::abort();
        }
        if (name.find_first_of("\r\n") != std::string::npos ||
            value.find_first_of("\r\n") != std::string::npos) {
            std::abort();
        }
    }
    if (safety_headers != 2) std::abort();
    switch (response.Code) {
        case 200:
        case 400:
        case 401:
        case 403:
        case 404:
        case 405:
            break;
        default:
            std::abort();
    }
    if (response.Code == 200 || response.Code == 400) {
        if (access.Token_Required) {
            const bool has_token =
                request.Query_Token == Token || request.Authorization == "Bearer " + Token ||
                request.Cookie.find(Token_Cookie_Name(port) + "=" + Token) != std::string::npos;
            if (!has_token) std::abort();
        } else if (!Names_This_Computer(request.Host, port)) {
            std::abort();
        }
        if (request.Method != "GET") std::abort();
    }
    if (response.Content_Type == "application/json" &&
        (response.Body.empty() || response.Body.front() != '{' || response.Body.back() != '}')) {
        std::abort();
    }
    return 0;
}
