// SPDX-License-Identifier: GPL-3.0-or-later
// What the status page serves: the snapshot the run model feeds during a firing against
// the simulated controller, its JSON, and the answer to each request (only three GET
// routes, the token on a network listener, never a cached answer).

#include <gtest/gtest.h>

#include <map>

#include "remote/status_json.h"
#include "remote/status_routes.h"
#include "remote/status_snapshot.h"
#include "support/main_window_rig.h"

namespace corvanel::testing {
namespace {

struct Snapshot_Rig : Main_Window_Rig {
    Status_Snapshot Snapshot;
    Snapshot_Rig() {
        Form.Firing.Attach(Snapshot);
        Setup_File("ThermalDeviceName.txt", "Studio \"big\" kiln");
        Form.Form_Load();
        Open_Short_Profile();
    }
    ~Snapshot_Rig() { Form.Firing.Detach(Snapshot); }
    void Tick(int seconds) {
        Clock.Advance(seconds);
        Form.Control_Interval_Timer();
    }
    // Each of `parts` is in the JSON.
    void Expect_Json(std::initializer_list<std::string> parts) {
        std::string json = Status_Json(Snapshot);
        for (const std::string& part : parts) {
            EXPECT_NE(json.find(part), std::string::npos) << part << " not in " << json;
        }
    }
};

// The JSON follows a firing from its start to "finished". The trace belongs to this firing:
// a reset log or a new profile starts it again, while choosing another log file keeps it.
TEST(Status_Snapshot, JsonFollowsAFiringToItsEndAndTheTraceOnlyThisFiring) {
    Snapshot_Rig rig;
    EXPECT_EQ(rig.Snapshot.State_Name(), "monitor");
    rig.Form.Start_Profile_Click();
    rig.Tick(60);
    Date_Time finish = Date_Time_Of_Seconds(Seconds_Of(rig.Snapshot.Status().Clock) + 120);
    rig.Expect_Json({"\"kiln\":\"Studio \\\"big\\\" kiln\"", "\"state\":\"running\"",
                     "\"profile\":\"short.txt\",\"segment\":1,\"elapsed\":1,",
                     "\"time_left\":2,\"seconds_left\":120,", "\"set_value\":160,",
                     "\"measured\":" + Format_Number(rig.Form.Measured_Temp) + ",",
                     "\"scale\":\"F\",\"time_unit\":\"M\"",
                     "\"plan\":[[0,0],[0,70],[2,250],[3,250]]",
                     "\"finish_time\":\"" + Format_Date_Minute(finish) + "\""});

    Firing_Status alarmed = rig.Snapshot.Status();
    alarmed.Alarms = {"No Heat"};
    rig.Snapshot.Firing_Changed(alarmed, Firing_Event::Alarm_Raised, "No Heat");
    EXPECT_EQ(rig.Snapshot.State_Name(), "alarm") << "an alarm outranks the run state";
    rig.Expect_Json({"\"alarms\":[\"No Heat\"]"});

    rig.Tick(60);
    EXPECT_EQ(Trace_Json(rig.Snapshot, 1),
              "{\"points\":[[2,250," + Format_Number(rig.Form.Measured_Temp) + "]]}");
    rig.Form.Start_Profile_Click();  // suspend: no finish time while nothing moves
    rig.Expect_Json({"\"state\":\"suspended\"", "\"finish_time\":null"});
    rig.Form.Start_Profile_Click();
    rig.Tick(120);  // past the end: "Profile Finished" and the soft off
    EXPECT_EQ(rig.Snapshot.State_Name(), "finished");
    rig.Expect_Json({"\"time_left\":0,"});
    rig.Form.Monitor_Interval_Timer();
    EXPECT_EQ(rig.Snapshot.State_Name(), "finished") << "a monitoring tick keeps the outcome";
    EXPECT_EQ(rig.Snapshot.Trace().size(), 5u)
        << "ticks at 0, 1, 2, the resume's and the one that ended the run (logged too); "
           "no monitoring tick";
    rig.Snapshot.Firing_Changed(rig.Snapshot.Status(), Firing_Event::Log_Changed, "");
    EXPECT_EQ(rig.Snapshot.Trace().size(), 5u);
    rig.Snapshot.Firing_Changed(rig.Snapshot.Status(), Firing_Event::Log_Changed, "reset");
    EXPECT_EQ(rig.Snapshot.Trace().size(), 0u);
    rig.Form.Start_Profile_Click();
    rig.Tick(30);
    ASSERT_FALSE(rig.Snapshot.Trace().empty());
    rig.Form.SoftOff_Click();
    rig.Open_Profile("short.txt");
    EXPECT_EQ(rig.Snapshot.Trace().size(), 0u);
}

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
    status.Has_Reading = true;
    for (double elapsed : {2, 3}) {
        status.Elapsed = status.Real_Elapsed = elapsed;
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
