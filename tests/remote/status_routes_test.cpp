// What the status server answers, request by request: only three GET routes, the token
// on a network listener, and never a cached answer. The paths that reach nothing and the
// other methods are tried over a real socket beside the server's tests.

#include <gtest/gtest.h>

#include "remote/status_routes.h"

namespace corvanel::testing {
namespace {

constexpr const char* Token = "0123456789abcdef";

struct Route_Case {
    std::string Name;
    Status_Request Request;
    bool Network = false;
    int Code;
    std::string Body_Start;
    bool Sets_Cookie = false;
};

Status_Request Get(std::string path) {
    Status_Request request;
    request.Method = "GET";
    request.Path = std::move(path);
    return request;
}

template <typename Change>
Status_Request With(Status_Request request, Change change) {
    change(request);
    return request;
}

class Status_Routes : public ::testing::TestWithParam<Route_Case> {};

TEST_P(Status_Routes, AnswerCodeBodyAndHeaders) {
    const Route_Case& c = GetParam();
    Status_Snapshot snapshot;
    Firing_Status status;
    status.Elapsed = 2;
    snapshot.Firing_Changed(status, Firing_Event::Tick, "");
    status.Elapsed = 3;
    snapshot.Firing_Changed(status, Firing_Event::Tick, "");
    Status_Response response =
        Answer_Status_Request(c.Request, snapshot, {c.Network, c.Network ? Token : ""});
    EXPECT_EQ(response.Code, c.Code);
    EXPECT_EQ(response.Body.substr(0, c.Body_Start.size()), c.Body_Start);
    auto header = [&](const std::string& name) {
        for (const auto& [key, value] : response.Headers) {
            if (key == name) return value;
        }
        return std::string();
    };
    EXPECT_EQ(header("Cache-Control"), "no-store");
    EXPECT_EQ(header("Set-Cookie").empty(), !c.Sets_Cookie) << header("Set-Cookie");
    if (c.Code == 405) {
        EXPECT_EQ(header("Allow"), "GET");
    }
}

INSTANTIATE_TEST_SUITE_P(
    Requests, Status_Routes,
    ::testing::Values(
        Route_Case{"PageOnThisComputer", Get("/"), false, 200, "<!DOCTYPE html>"},
        Route_Case{"StatusJson", Get("/api/status"), false, 200, "{\"kiln\":"},
        Route_Case{"WholeTrace", Get("/api/trace"), false, 200, "{\"points\":[[2,"},
        Route_Case{"TraceSince",
                   With(Get("/api/trace"),
                        [](auto& r) {
                            r.Has_Since = true;
                            r.Query_Since = "2";
                        }),
                   false, 200, "{\"points\":[[3,0,0]]}"},
        Route_Case{"TraceSinceNotANumber",
                   With(Get("/api/trace"),
                        [](auto& r) {
                            r.Has_Since = true;
                            r.Query_Since = "yesterday";
                        }),
                   false, 400, "{\"error\":"},
        Route_Case{"UnknownPathAndMethod", With(Get("/Setup"), [](auto& r) { r.Method = "POST"; }),
                   false, 404, ""},
        Route_Case{"Post", With(Get("/api/status"), [](auto& r) { r.Method = "POST"; }), false, 405,
                   ""},
        Route_Case{"NetworkWithoutToken", Get("/api/status"), true, 401, "{\"error\":"},
        Route_Case{
            "NetworkWrongBearer",
            With(Get("/api/status"), [](auto& r) { r.Authorization = "Bearer 0123456789abcdeX"; }),
            true, 401, ""},
        Route_Case{"NetworkShorterToken",
                   With(Get("/"), [](auto& r) { r.Query_Token = "0123456789abcde"; }), true, 401,
                   ""},
        Route_Case{"NetworkBearer",
                   With(Get("/api/status"),
                        [](auto& r) { r.Authorization = std::string("Bearer ") + Token; }),
                   true, 200, "{\"kiln\":"},
        Route_Case{"NetworkQueryTokenSetsTheCookie",
                   With(Get("/"), [](auto& r) { r.Query_Token = Token; }), true, 200,
                   "<!DOCTYPE html>", true},
        Route_Case{
            "NetworkCookie",
            With(Get("/api/trace"),
                 [](auto& r) { r.Cookie = std::string("theme=dark; corvanel_token=") + Token; }),
            true, 200, "{\"points\":"},
        Route_Case{"NetworkWrongCookieName",
                   With(Get("/api/trace"),
                        [](auto& r) { r.Cookie = std::string("xcorvanel_token=") + Token; }),
                   true, 401, ""}),
    [](const auto& info) { return info.param.Name; });

}  // namespace
}  // namespace corvanel::testing
