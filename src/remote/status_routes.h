// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "remote/status_snapshot.h"

namespace corvanel {

// A request as the status server hands it over: nothing else of it is ever read.
struct Status_Request {
    std::string Method;  // "GET", "POST", ...
    std::string Path;    // without the query
    std::string Query_Token;
    std::string Query_Since;
    bool Has_Since = false;
    std::string Authorization;  // the header's value
    std::string Cookie;         // the header's value
};

struct Status_Response {
    int Code = 200;
    std::string Content_Type = "application/json";
    std::string Body;
    std::vector<std::pair<std::string, std::string>> Headers;  // besides Content-Type
};

// Who may read: everyone on this computer, or only those with the token on the network.
struct Status_Access {
    bool Token_Required = false;
    std::string Token;
};

inline constexpr const char* Token_Cookie_Name = "corvanel_token";

// The whole of the status page's server in plain C++: "/" the page, "/api/status" the
// snapshot, "/api/trace?since=ELAPSED" the trace points after an elapsed time. Anything
// else is 404, any other method 405, a missing or wrong token 401. Every answer carries
// Cache-Control: no-store. Nothing here can change the run: the snapshot is only read.
Status_Response Answer_Status_Request(const Status_Request& request,
                                      const Status_Snapshot& snapshot, const Status_Access& access);

// The page: one HTML document with its script and style, built into the program.
const std::string& Status_Page_Html();

}  // namespace corvanel
