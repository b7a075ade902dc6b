// SPDX-License-Identifier: GPL-3.0-or-later
// What the status page serves: the snapshot the run model feeds during a firing against
// the simulated controller, its JSON, and the answer to each request (only three GET
// routes, the token on a network listener, never a cached answer). No read-out passes an
// old or missing reading off as live.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cmath>
#include <map>

#include "language/translate.h"
#include "remote/mqtt_telemetry.h"
#include "remote/status_json.h"
#include "remote/status_routes.h"
#include "remote/status_snapshot.h"
#include "run/live_firing_view.h"
#include "support/main_window_rig.h"

namespace corvanel::testing {
namespace {

using ::testing::HasSubstr, ::testing::Not;

struct Snapshot_Rig : Main_Window_Rig {
    Status_Snapshot Snapshot;
    Snapshot_Rig() {
        Form.Run().Firing().Attach(Snapshot);
        Setup_File("ThermalDeviceName.txt", "Studio \"big\" kiln");
        Form.Form_Load();
        Open_Short_Profile();
    }
    ~Snapshot_Rig() { Form.Run().Firing().Detach(Snapshot); }
    void Expect_Json(std::initializer_list<std::string> parts) {
        std::string json = Status_Json(Snapshot);
        for (const std::string& part : parts) {
            EXPECT_THAT(json, HasSubstr(part));
        }
    }
};

// The JSON follows a firing from its start to "finished". The trace belongs to this firing:
// a reset log or a new profile starts it again, while choosing another log file keeps it.
TEST(Status_Snapshot, JsonFollowsAFiringToItsEndAndTheTraceOnlyThisFiring) {
    Snapshot_Rig rig;
    EXPECT_EQ(rig.Snapshot.State_Name(), "monitor");
    // Set to start later, it waits and says until when; RUN PROFILE starts it now.
    ASSERT_FALSE(rig.Form.Run().Start_Later(Next_Clock_Time(rig.Clock.Now(), 23, 30)));
    EXPECT_EQ(rig.Snapshot.State_Name(), "waiting");
    rig.Expect_Json({"\"starts_at\":\"2026-12-05 23:30\"",
                     "\"state\":\"Waiting to start at 23:30\""});
    rig.Form.Start_Profile_Click();
    rig.Control_Ticks(1, 60);
    Date_Time finish = Date_Time_Of_Seconds(Seconds_Of(rig.Snapshot.Status().Clock) + 120);
    rig.Expect_Json({"\"kiln\":\"Studio \\\"big\\\" kiln\"", "\"state\":\"running\"",
                     "\"profile\":\"short.txt\",\"segment\":1,\"elapsed\":1,",
                     "\"time_left\":2,\"seconds_left\":120,", "\"set_value\":160,",
                     "\"measured\":" + Format_Number(rig.Form.Run().Measured_Temp()) + ",",
                     "\"scale\":\"F\",\"time_unit\":\"M\"",
                     // from the profile's first row: no vertical line up from the origin
                     "\"plan\":[[0,70],[2,250],[3,250]]",
                     "\"finish_time\":\"" + Format_Date_Minute(finish) + "\"",
                     // and in the potter's words
                     "\"text\":{\"state\":\"Firing\",\"measured\":\"" +
                         rig.Form.Real_Temp_Display_1 +
                         " °F\",\"set_value\":\"160 °F\","
                         "\"elapsed\":\"1 min\",\"time_left\":\"2 min\","
                         "\"finish_time\":\"09:03\",\"output\":\"100 %\"",
                     "\"title\":\"short.txt · 5 Dec 2026, 09:00 · Studio \\\"big\\\" kiln\","
                     "\"time_axis\":\"Time (minutes)\",\"temperature_axis\":\"Temperature (°F)\","
                     "\"trace\":\"The chart shows every control tick.\"}"});

    Firing_Status alarmed = rig.Snapshot.Status();
    alarmed.Alarms = {"No Heat"};
    rig.Snapshot.Firing_Changed(alarmed, Firing_Event::Alarm_Raised, "No Heat");
    EXPECT_EQ(rig.Snapshot.State_Name(), "alarm") << "an alarm outranks the run state";
    rig.Expect_Json(
        {"\"alarms\":[\"No Heat\"]", "\"state\":\"Firing, alarm\"", "\"problem\":\"No Heat\""});

    rig.Control_Ticks(1, 60);
    EXPECT_EQ(Trace_Json(rig.Snapshot, 1),
              "{\"points\":[[2,250," + Format_Number(rig.Form.Run().Measured_Temp()) + "]]}");
    rig.Form.Start_Profile_Click();  // suspend: no finish time while nothing moves
    rig.Expect_Json({"\"state\":\"suspended\"", "\"finish_time\":null"});
    rig.Form.Start_Profile_Click();
    rig.Control_Ticks(1, 120);  // past the end: "Profile Finished" and the soft off
    EXPECT_EQ(rig.Snapshot.State_Name(), "finished");
    rig.Expect_Json({"\"time_left\":0,", "\"text\":{\"state\":\"Finished\"",
                     "\"time_left\":\"-\",\"finish_time\":\"-\""});
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
    rig.Control_Ticks(1, 30);
    ASSERT_FALSE(rig.Snapshot.Trace().empty());
    rig.Form.SoftOff_Click();
    rig.Open_Profile("short.txt");
    EXPECT_EQ(rig.Snapshot.Trace().size(), 0u);
    rig.Expect_Json({"\"text\":{\"state\":\"Not firing\""});
    // The operator's soft off, and an alarm's, which is the run's end until the next start.
    Firing_Status status = rig.Snapshot.Status();
    rig.Snapshot.Firing_Changed(status, Firing_Event::Start, "");
    rig.Snapshot.Firing_Changed(status, Firing_Event::Soft_Off, "");
    rig.Expect_Json({"\"text\":{\"state\":\"Stopped\""});
    rig.Snapshot.Firing_Changed(status, Firing_Event::Start, "");
    alarmed = status;
    alarmed.Alarms = {"Over Temperature"};
    rig.Snapshot.Firing_Changed(alarmed, Firing_Event::Soft_Off, "");
    alarmed.State = Firing_State::Cooling;
    rig.Snapshot.Firing_Changed(alarmed, Firing_Event::Monitor_Tick, "");
    rig.Expect_Json({"\"text\":{\"state\":\"Ended by an alarm, cooling\""});
    alarmed.State = Firing_State::Monitor;
    alarmed.Alarms.clear();
    rig.Snapshot.Firing_Changed(alarmed, Firing_Event::Cooling_Ended, "below 150 F");
    rig.Expect_Json({"\"text\":{\"state\":\"Ended by an alarm\""});
}

// The run window's Process Temp, the live chart, the JSON and the MQTT state, with the
// controller's cable pulled, then its thermocouple open, then all well again.
TEST(Status_Snapshot, AnOldReadingIsGreyedWithItsAgeAndAnOpenThermocoupleShowsNoNumber) {
    Snapshot_Rig rig;
    Live_Firing_View view{rig.Paths};
    std::string state;  // the MQTT state last sent
    Mqtt_Telemetry mqtt{rig.Snapshot, "k", false,
                        [&](const Mqtt_Message& m) { state = m.Payload; }};
    rig.Form.Run().Firing().Attach(view);
    rig.Form.Run().Firing().Attach(mqtt);
    rig.Form.Start_Profile_Click();  // at 09:00:30
    auto tick = [&](int seconds) {
        rig.Control_Ticks(1, seconds);
        EXPECT_EQ(state, Status_Json(rig.Snapshot));
        return rig.Form.Real_Temp_Display_1 + (rig.Form.Process_Temp_Stale ? " grey " : " ") +
               rig.Form.Process_Temp_Note;
    };
    const std::string reading = rig.Form.Real_Temp_Display_1;
    rig.Line.Server = nullptr;  // the cable is pulled
    tick(3);
    EXPECT_EQ(tick(3), reading + " ") << "two ticks without a reading are not yet old";
    EXPECT_EQ(tick(3), reading + " grey No reading since 09:00");
    rig.Expect_Json({"\"state\":\"Controller lost\"",
                     "\"problem\":\"The controller does not answer: check its power",
                     "\"measured\":null,", "\"reading\":\"stale\"", "\"reading_age_seconds\":9,",
                     "\"measured_note\":\"No reading for 9 s\"",
                     "\"last_measured\":" + reading + ","});
    EXPECT_TRUE(std::isnan(view.Measured().back().second)) << "a gap in the measured line";
    tick(51);
    rig.Expect_Json({"\"measured_note\":\"No reading for 1 min\""});

    sim::Fault_Options open;
    open[sim::Fault::Thermocouple_Break] = sim::Parse_Fault_Selector("1");
    sim::Kiln_Sim_Server broken{rig.Model, open};
    rig.Line.Server = &broken;
    EXPECT_EQ(tick(3), "---- grey No reading: the thermocouple is open");
    rig.Expect_Json({"\"reading\":\"absent\"", "\"last_measured\":null,", "\"measured\":\"----\""});

    rig.Line.Server = &rig.Server;  // all well again
    const std::string shown = tick(3);
    EXPECT_EQ(shown, rig.Form.Real_Temp_Display_1 + " ");
    rig.Expect_Json({"\"measured\":" + rig.Form.Real_Temp_Display_1 + ","});
    EXPECT_FALSE(std::isnan(view.Measured().back().second));
    rig.Form.Run().Firing().Detach(view);
    rig.Form.Run().Firing().Detach(mqtt);
}

// Ticks of `status` at each of the elapsed times.
void Tick_At(Status_Snapshot& snapshot, Firing_Status status, std::initializer_list<double> times) {
    for (double elapsed : times) {
        status.Elapsed = status.Real_Elapsed = elapsed;
        snapshot.Firing_Changed(status, Firing_Event::Tick, "");
    }
}

// A firing of days stays small: at its limit the trace keeps every second point, and from
// then on every second tick, so its points stay evenly spaced; the JSON and the page say so.
TEST(Status_Snapshot, AtItsLimitTheTraceKeepsEverySecondPoint) {
    Status_Snapshot snapshot(4);
    auto kept = [&] {
        std::vector<double> elapsed;
        for (const Trace_Point& point : snapshot.Trace()) elapsed.push_back(point.Elapsed);
        return elapsed;
    };
    Tick_At(snapshot, {}, {0, 1, 2, 3});
    EXPECT_THAT(Status_Json(snapshot), HasSubstr("\"trace_ticks_per_point\":1,"));
    EXPECT_THAT(Status_Json(snapshot),
                HasSubstr("\"trace\":\"The chart shows every control tick.\""));
    Tick_At(snapshot, {}, {4});
    EXPECT_EQ(kept(), (std::vector<double>{0, 2, 4}));
    Tick_At(snapshot, {}, {5, 6, 7, 8, 9, 10, 11});
    EXPECT_EQ(kept(), (std::vector<double>{0, 4, 8}));
    EXPECT_THAT(Status_Json(snapshot), HasSubstr("\"trace_ticks_per_point\":4,"));
    EXPECT_THAT(
        Status_Json(snapshot),
        HasSubstr("\"trace\":\"The firing is long: the chart shows one control tick in 4.\""));
    snapshot.Firing_Changed({}, Firing_Event::Profile_Loaded, "");
    Tick_At(snapshot, {}, {0, 1});
    EXPECT_EQ(kept(), (std::vector<double>{0, 1})) << "a new firing is drawn whole again";
}

// A request as "METHOD PATH", then any of "|since:", "|token:" (query), "|bearer:",
// "|cookie:", "|host:" (127.0.0.1:8080 unless given).
Status_Request Request_Of(const std::string& text) {
    Status_Request request;
    request.Host = "127.0.0.1:8080";
    std::size_t space = text.find(' '), bar = text.find('|');
    request.Method = text.substr(0, space);
    request.Path = text.substr(space + 1, bar - space - 1);
    while (bar != std::string::npos) {
        const std::size_t colon = text.find(':', bar), next = text.find('|', colon);
        const std::string key = text.substr(bar + 1, colon - bar - 1),
                          value = text.substr(colon + 1, next - colon - 1);
        if (key == "since") request.Has_Since = true, request.Query_Since = value;
        if (key == "token") request.Query_Token = value;
        if (key == "bearer") request.Authorization = "Bearer " + value;
        if (key == "cookie") request.Cookie = value;
        if (key == "host") request.Host = value;
        bar = next;
    }
    return request;
}

TEST(Status_Routes, EachRequestGetsItsCodeBodyAndHeaders) {
    Status_Snapshot snapshot;
    Tick_At(snapshot, {.Has_Reading = true}, {2, 3});
    const struct {
        const char* Request;
        bool Network;
        int Code;
        std::string Body_Start;
        bool Sets_Cookie = false;
    } cases[] = {
        {"GET /", false, 200, "<!DOCTYPE html>"},
        {"GET /api/status", false, 200, "{\"kiln\":"},
        {"GET /api/trace", false, 200, "{\"points\":[[2,"},
        {"GET /api/trace|since:2", false, 200, "{\"points\":[[3,0,0]]}"},
        {"GET /api/trace|since:yesterday", false, 400, "{\"error\":"},
        {"POST /Setup", false, 404, ""},  // unknown path and method
        {"POST /api/status", false, 405, ""},
        // on this computer only under its own names: not a name made to point here
        {"GET /api/status|host:LocalHost", false, 200, "{"},
        {"GET /api/status|host:[::1]:8080", false, 200, "{"},
        {"GET /api/status|host:kiln.example:8080", false, 403, "This status page opens"},
        {"GET /|host:localhost.kiln.example", false, 403, ""},
        {"GET /api/status|host:127.0.0.1:8081", false, 403, ""},
        {"GET /api/status|host:", false, 403, ""},
        {"GET /api/status", true, 401, "{\"error\":"},  // no token from the network
        {"GET /api/status|bearer:0123456789abcdeX", true, 401, ""},
        // one character short: a page that says where the whole address is
        {"GET /|token:0123456789abcde", true, 401, "<!DOCTYPE html>"},
        {"GET /api/status|bearer:0123456789abcdef|host:kiln.example", true, 200, "{\"kiln\":"},
        {"GET /|token:0123456789abcdef", true, 200, "<!DOCTYPE html>", true},
        {"GET /api/trace|cookie:theme=dark; corvanel_token_8080=0123456789abcdef", true, 200,
         "{\"points\":"},
        // another program's cookie: another port, or no port at all
        {"GET /api/trace|cookie:corvanel_token_8081=0123456789abcdef", true, 401, ""},
        {"GET /api/trace|cookie:corvanel_token=0123456789abcdef", true, 401, ""},
        {"GET /api/trace|cookie:xcorvanel_token_8080=0123456789abcdef", true, 401, ""}};
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.Request) + (c.Network ? " from the network" : ""));
        Status_Response response =
            Answer_Status_Request(Request_Of(c.Request), snapshot,
                                  {c.Network, c.Network ? "0123456789abcdef" : "", 8080});
        EXPECT_EQ(response.Code, c.Code);
        EXPECT_EQ(response.Body.substr(0, c.Body_Start.size()), c.Body_Start);
        std::map<std::string, std::string> headers(response.Headers.begin(),
                                                   response.Headers.end());
        EXPECT_EQ(headers["Cache-Control"], "no-store");
        EXPECT_EQ(headers["Referrer-Policy"], "no-referrer");
        EXPECT_EQ(headers["Set-Cookie"],
                  c.Sets_Cookie ? "corvanel_token_8080=0123456789abcdef; Path=/; HttpOnly; "
                                  "SameSite=Strict"
                                : "");
        EXPECT_EQ(headers["Allow"], c.Code == 405 ? "GET" : "");
        if (c.Code == 401 && c.Body_Start[0] == '<') {
            EXPECT_THAT(response.Body, HasSubstr("SetUp -&gt; Remote Monitoring"));
        }
        if (c.Code == 403) EXPECT_THAT(response.Body, HasSubstr("http://127.0.0.1:8080/"));
    }
}

// A German potter's phone: the page's labels, the state, the numbers and the chart's titles
// in German, the page marked as German for the phone's reader.
TEST(Status_Routes, ThePageSpeaksTheProgramsLanguage) {
    Use_Language_Program_Folder(Program_Paths(CORVANEL_PROGRAM_DIR));
    CurrentLanguage = "german";
    Status_Snapshot snapshot;
    snapshot.Firing_Changed({.State = Firing_State::Running,
                             .Clock = {2027, 3, 9, 14, 0, 0},
                             .Profile_Name = "glaze.txt",
                             .Elapsed = 60,
                             .Total_Time = 185,
                             .Set_Value = 1832,
                             .Output_Percent = 87.4,
                             .Real_Elapsed = 60},
                            Firing_Event::Start, "");
    const std::string page =
        Answer_Status_Request(Request_Of("GET /"), snapshot, {.Port = 8080}).Body;
    const std::string json =
        Answer_Status_Request(Request_Of("GET /api/status"), snapshot, {.Port = 8080}).Body;
    CurrentLanguage.clear();
    for (const std::string part : {"<html lang=\"de\">", ">Gemessen<", ">Sollwert<", ">Restzeit<",
                                   ">Ende um<", "Die Kurve erscheint"}) {
        EXPECT_THAT(page, HasSubstr(part));
    }
    EXPECT_THAT(page, Not(HasSubstr("{{"))) << "a label left untranslated";
    EXPECT_THAT(json, HasSubstr("\"text\":{\"state\":\"Brennt\",\"measured\":\"----\","
                                "\"set_value\":\"1.832 °F\",\"elapsed\":\"1 h 00 min\","
                                "\"time_left\":\"2 h 05 min\",\"finish_time\":\"16:05\","
                                "\"output\":\"87 %\""));
    EXPECT_THAT(json, HasSubstr("\"trace\":\"Die Kurve zeigt jeden Regeltakt.\""));
    EXPECT_THAT(json, HasSubstr("\"title\":\"glaze.txt · 09.03.2027, 13:00\",\"time_axis\":\"Zeit "
                                "(Minuten)\""));
}

}  // namespace
}  // namespace corvanel::testing
