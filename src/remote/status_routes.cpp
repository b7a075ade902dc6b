// SPDX-License-Identifier: GPL-3.0-or-later
#include "remote/status_routes.h"

#include <cctype>
#include <string_view>

#include "common/numeric.h"
#include "language/translate.h"
#include "remote/status_json.h"
#include "remote/status_page_data.h"
#include "remote/status_words.h"

namespace corvanel {

namespace {

// Compares without stopping at the first difference, so the time taken does not tell how
// much of a guessed token was right.
bool Same_Token(const std::string& given, const std::string& token) {
    if (token.empty() || given.size() != token.size()) return false;
    unsigned char difference = 0;
    for (std::size_t i = 0; i < token.size(); ++i) difference |= given[i] ^ token[i];
    return difference == 0;
}

std::string Cookie_Value(const std::string& cookies, const std::string& name) {
    std::size_t at = 0;
    while (at < cookies.size()) {
        std::size_t end = cookies.find(';', at);
        if (end == std::string::npos) end = cookies.size();
        std::string pair = cookies.substr(at, end - at);
        std::size_t first = pair.find_first_not_of(' ');
        if (first != std::string::npos) pair.erase(0, first);
        if (pair.compare(0, name.size() + 1, name + "=") == 0) return pair.substr(name.size() + 1);
        at = end + 1;
    }
    return "";
}

Status_Response Error_Response(int code, const std::string& message) {
    Status_Response response;
    response.Code = code;
    response.Body = "{\"error\":" + Json_String(message) + "}";
    return response;
}

// A phone that opens the page without its key gets words, not the API's JSON: what is
// missing and where the right address is found, in the operator's language.
Status_Response Key_Needed_Page() {
    Status_Response response;
    response.Code = 401;
    response.Content_Type = "text/html; charset=utf-8";
    const std::string title = TranslateText("This kiln's page needs its access key");
    const std::string how = TranslateText(
        "On the kiln's computer, open SetUp -> Remote Monitoring: it shows the whole address "
        "with the key. Type or scan that address on this phone or computer.");
    response.Body =
        "<!DOCTYPE html>\n<html><head><meta charset=\"utf-8\"><meta name=\"viewport\" "
        "content=\"width=device-width, initial-scale=1\"><title>" +
        Html_Text(title) +
        "</title><style>body{font-family:sans-serif;margin:1.5em;max-width:36em;"
        "line-height:1.4}</style></head><body><h1>" +
        Html_Text(title) + "</h1><p>" + Html_Text(how) + "</p></body></html>\n";
    return response;
}

// A request refused for its Host: words a browser shows as they are.
Status_Response Wrong_Host(int port) {
    Status_Response response;
    response.Code = 403;
    response.Content_Type = "text/plain; charset=utf-8";
    response.Body = Operator_Text::Phrase(
                        "This status page opens only on the kiln's computer, at the address %1",
                        {Operator_Text::Value("http://127.0.0.1:" + std::to_string(port) + "/")})
                        .Text(Translate_Phrase) +
                    "\n";
    return response;
}

bool Same_Letters(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (std::tolower(static_cast<unsigned char>(a[i])) != b[i]) return false;
    }
    return true;
}

}  // namespace

std::string Token_Cookie_Name(int port) {
    return "corvanel_token_" + std::to_string(port);
}

bool Is_Local_Host(const std::string& host, int port) {
    std::string_view name = host;
    // The port, if given, follows the last colon outside the brackets of [::1].
    const std::size_t colon = name.rfind(':');
    const std::size_t bracket = name.rfind(']');
    if (colon != name.npos && (bracket == name.npos || colon > bracket)) {
        if (name.substr(colon + 1) != std::to_string(port)) return false;
        name = name.substr(0, colon);
    }
    return name == "127.0.0.1" || name == "[::1]" || Same_Letters(name, "localhost");
}

const std::string& Status_Page_Html() {
    static const std::string page(Status_Page_Data, Status_Page_Size);
    return page;
}

Status_Response Answer_Status_Request(const Status_Request& request,
                                      const Status_Snapshot& snapshot,
                                      const Status_Access& access) {
    Status_Response response;
    const std::string Cookie_Name = Token_Cookie_Name(access.Port);
    const bool Known =
        request.Path == "/" || request.Path == "/api/status" || request.Path == "/api/trace";
    if (!access.Token_Required && !Is_Local_Host(request.Host, access.Port)) {
        response = Wrong_Host(access.Port);
    } else if (!Known) {
        response = Error_Response(404, "not found");
    } else if (request.Method != "GET") {
        response = Error_Response(405, "only GET");
        response.Headers.emplace_back("Allow", "GET");
    } else {
        const std::string Bearer = "Bearer ";
        bool by_query = Same_Token(request.Query_Token, access.Token);
        bool allowed = !access.Token_Required || by_query ||
                       (request.Authorization.compare(0, Bearer.size(), Bearer) == 0 &&
                        Same_Token(request.Authorization.substr(Bearer.size()), access.Token)) ||
                       Same_Token(Cookie_Value(request.Cookie, Cookie_Name), access.Token);
        if (!allowed) {
            response =
                request.Path == "/" ? Key_Needed_Page() : Error_Response(401, "token required");
            response.Headers.emplace_back("WWW-Authenticate", "Bearer");
        } else if (request.Path == "/") {
            response.Content_Type = "text/html; charset=utf-8";
            response.Body = Page_In_Language(Status_Page_Html());
        } else if (request.Path == "/api/status") {
            response.Body = Status_Json(snapshot, snapshot.Seconds_Since_Taken());
        } else {
            Double_Conversion since = Convert_To_Double(request.Query_Since);
            if (!request.Has_Since) {
                response.Body = Trace_Json(snapshot, -1e300);
            } else if (since.Value) {
                response.Body = Trace_Json(snapshot, *since.Value);
            } else {
                response = Error_Response(400, "since must be an elapsed time, for example 12.5");
            }
        }
        if (access.Token_Required && by_query) {
            response.Headers.emplace_back("Set-Cookie", Cookie_Name + "=" + access.Token +
                                                            "; Path=/; HttpOnly; SameSite=Strict");
        }
    }
    response.Headers.emplace_back("Cache-Control", "no-store");
    response.Headers.emplace_back("Referrer-Policy", "no-referrer");
    return response;
}

}  // namespace corvanel
