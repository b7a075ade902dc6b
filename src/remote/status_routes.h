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
    std::string Host;           // the header's value; "" when none came
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
    int Port = 0;  // the one the page listens on: it names the cookie and is the Host's
};

// The token's cookie carries the port, so two programs on one computer, or another
// local service, never share or overwrite it.
std::string Token_Cookie_Name(int port);

// On this computer only, a request must name this computer as its Host: a page elsewhere
// whose name is made to point here (DNS rebinding) cannot read the kiln's status.
bool Is_Local_Host(const std::string& host, int port);

// The whole of the status page's server in plain C++: "/" the page, "/api/status" the
// snapshot, "/api/trace?since=ELAPSED" the trace points after an elapsed time. Anything
// else is 404, any other method 405, a missing or wrong token 401, a local request for
// another host 403. Every answer carries Cache-Control: no-store and, since the token may
// be in the address, Referrer-Policy: no-referrer. Nothing here can change the run: the snapshot is
// only read.
Status_Response Answer_Status_Request(const Status_Request& request,
                                      const Status_Snapshot& snapshot, const Status_Access& access);

// The page: one HTML document with its script and style, built into the program.
const std::string& Status_Page_Html();

}  // namespace corvanel
