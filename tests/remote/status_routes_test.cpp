// What the status server answers, request by request: only three GET routes, the token
// on a network listener, and never a cached answer. The paths that reach nothing and the
// other methods are tried over a real socket beside the server's tests.

#include <gtest/gtest.h>

#include <map>

#include "remote/status_routes.h"

namespace corvanel::testing {
namespace {

struct Route_Case {
    std::string Name;
    // "METHOD PATH", then one of "|since:", "|token:" (query), "|bearer:", "|cookie:"
    std::string Request;
    bool Network;
    int Code;
    std::string Body_Start;
    bool Sets_Cookie = false;
};

Status_Request Request_Of(const std::string& text) {
    Status_Request request;
    std::size_t space = text.find(' '), bar = text.find('|');
    request.Method = text.substr(0, space);
    request.Path = text.substr(space + 1, bar - space - 1);
    if (bar == std::string::npos) return request;
    std::size_t colon = text.find(':', bar);
    std::string key = text.substr(bar + 1, colon - bar - 1), value = text.substr(colon + 1);
    if (key == "since") request.Has_Since = true, request.Query_Since = value;
    if (key == "token") request.Query_Token = value;
    if (key == "bearer") request.Authorization = "Bearer " + value;
    if (key == "cookie") request.Cookie = value;
    return request;
}

class Status_Routes : public ::testing::TestWithParam<Route_Case> {};

TEST_P(Status_Routes, AnswerCodeBodyAndHeaders) {
    const Route_Case& c = GetParam();
    Status_Snapshot snapshot;
    Firing_Status status;
    for (double elapsed : {2, 3}) {
        status.Elapsed = elapsed;
        snapshot.Firing_Changed(status, Firing_Event::Tick, "");
    }
    Status_Response response = Answer_Status_Request(
        Request_Of(c.Request), snapshot, {c.Network, c.Network ? "0123456789abcdef" : ""});
    EXPECT_EQ(response.Code, c.Code);
    EXPECT_EQ(response.Body.substr(0, c.Body_Start.size()), c.Body_Start);
    std::map<std::string, std::string> headers(response.Headers.begin(), response.Headers.end());
    EXPECT_EQ(headers["Cache-Control"], "no-store");
    EXPECT_EQ(headers["Set-Cookie"].empty(), !c.Sets_Cookie) << headers["Set-Cookie"];
    EXPECT_EQ(headers["Allow"], c.Code == 405 ? "GET" : "");
}

INSTANTIATE_TEST_SUITE_P(
    Requests, Status_Routes,
    ::testing::Values(
        Route_Case{"PageOnThisComputer", "GET /", false, 200, "<!DOCTYPE html>"},
        Route_Case{"StatusJson", "GET /api/status", false, 200, "{\"kiln\":"},
        Route_Case{"WholeTrace", "GET /api/trace", false, 200, "{\"points\":[[2,"},
        Route_Case{"TraceSince", "GET /api/trace|since:2", false, 200, "{\"points\":[[3,0,0]]}"},
        Route_Case{"TraceSinceNotANumber", "GET /api/trace|since:yesterday", false, 400,
                   "{\"error\":"},
        Route_Case{"UnknownPathAndMethod", "POST /Setup", false, 404, ""},
        Route_Case{"Post", "POST /api/status", false, 405, ""},
        Route_Case{"NetworkWithoutToken", "GET /api/status", true, 401, "{\"error\":"},
        Route_Case{"NetworkWrongBearer", "GET /api/status|bearer:0123456789abcdeX", true, 401, ""},
        Route_Case{"NetworkShorterToken", "GET /|token:0123456789abcde", true, 401, ""},
        Route_Case{"NetworkBearer", "GET /api/status|bearer:0123456789abcdef", true, 200,
                   "{\"kiln\":"},
        Route_Case{"NetworkQueryTokenSetsTheCookie", "GET /|token:0123456789abcdef", true, 200,
                   "<!DOCTYPE html>", true},
        Route_Case{"NetworkCookie",
                   "GET /api/trace|cookie:theme=dark; corvanel_token=0123456789abcdef", true, 200,
                   "{\"points\":"},
        Route_Case{"NetworkWrongCookieName",
                   "GET /api/trace|cookie:xcorvanel_token=0123456789abcdef", true, 401, ""}),
    [](const auto& info) { return info.param.Name; });

}  // namespace
}  // namespace corvanel::testing
