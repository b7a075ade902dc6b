// The status snapshot and its JSON as the run model feeds them during a firing against
// the simulated controller.

#include "remote/status_snapshot.h"
#include "main_window_rig.h"
#include "remote/status_json.h"

namespace corvanel::testing {
namespace {

struct Snapshot_Rig : Main_Window_Rig {
    Status_Snapshot Snapshot;
    Snapshot_Rig() {
        Form.Firing.Attach(Snapshot);
        Setup_File("ThermalDeviceName.txt", "Studio \"big\" kiln");
        Form.Form_Load();
        // 70 to 250 in 2 minutes, a 1-minute hold, the end.
        Write_Profile("short.txt", {{"1", "0", "2", "r", "70", "250", "90.00", "50", "", ""},
                                    {"2", "2.00", "1", "h", "250", "250", "0", "", "", ""},
                                    {"3", "3.00", "", "e", "250", "", "", "", "", ""}});
        Open_Profile("short.txt");
    }
    ~Snapshot_Rig() { Form.Firing.Detach(Snapshot); }
    void Tick(int seconds) {
        Clock.Advance(seconds);
        Form.Control_Interval_Timer();
    }
    std::string Json() { return Status_Json(Snapshot); }
};

bool Has(const std::string& json, const std::string& field) {
    return json.find(field) != std::string::npos;
}

TEST(Status_Snapshot, JsonFollowsAFiringFromStartToFinishedWithItsTraceAndFinishTime) {
    Snapshot_Rig rig;
    EXPECT_EQ(rig.Snapshot.State_Name(), "monitor");
    rig.Form.Start_Profile_Click();
    rig.Tick(60);
    std::string json = rig.Json();
    EXPECT_TRUE(Has(json, "\"kiln\":\"Studio \\\"big\\\" kiln\"")) << json;
    EXPECT_TRUE(Has(json, "\"state\":\"running\"")) << json;
    EXPECT_TRUE(Has(json, "\"profile\":\"short.txt\",\"segment\":1,\"elapsed\":1,")) << json;
    EXPECT_TRUE(Has(json, "\"time_left\":2,\"seconds_left\":120,")) << json;
    EXPECT_TRUE(Has(json, "\"set_value\":160,")) << json;
    EXPECT_TRUE(Has(json, "\"measured\":" + Format_Number(rig.Form.Measured_Temp) + ",")) << json;
    EXPECT_TRUE(Has(json, "\"scale\":\"F\",\"time_unit\":\"M\"")) << json;
    EXPECT_TRUE(Has(json, "\"plan\":[[0,0],[0,70],[2,250],[3,250]]")) << json;
    Date_Time finish = Date_Time_Of_Seconds(Seconds_Of(rig.Snapshot.Status().Clock) + 120);
    EXPECT_TRUE(Has(json, "\"finish_time\":\"" + Format_Date_Minute(finish) + "\"")) << json;

    rig.Tick(60);
    EXPECT_EQ(Trace_Json(rig.Snapshot, 1),
              "{\"points\":[[2,250," + Format_Number(rig.Form.Measured_Temp) + "]]}");
    rig.Form.Start_Profile_Click();  // suspend: no finish time while nothing moves
    EXPECT_TRUE(Has(rig.Json(), "\"state\":\"suspended\"")) << rig.Json();
    EXPECT_TRUE(Has(rig.Json(), "\"finish_time\":null")) << rig.Json();
    rig.Form.Start_Profile_Click();
    rig.Tick(120);  // past the end: "Profile Finished" and the soft off
    EXPECT_EQ(rig.Snapshot.State_Name(), "finished");
    EXPECT_TRUE(Has(rig.Json(), "\"time_left\":0,")) << rig.Json();
    rig.Form.Monitor_Interval_Timer();
    EXPECT_EQ(rig.Snapshot.State_Name(), "finished") << "a monitoring tick keeps the outcome";
    EXPECT_EQ(rig.Snapshot.Trace().size(), 5u)
        << "ticks at 0, 1, 2, the resume's and the one that ended the run (logged too); "
           "no monitoring tick";
}

// The trace belongs to this firing: a new profile or a reset log starts it again, while
// choosing another log file keeps it.
TEST(Status_Snapshot, TraceIsClearedByANewProfileAndByALogResetOnly) {
    Snapshot_Rig rig;
    rig.Form.Start_Profile_Click();
    rig.Tick(30);
    rig.Tick(30);
    ASSERT_EQ(rig.Snapshot.Trace().size(), 3u);  // the start's own tick and two more
    rig.Snapshot.Firing_Changed(rig.Snapshot.Status(), Firing_Event::Log_Changed, "");
    EXPECT_EQ(rig.Snapshot.Trace().size(), 3u);
    rig.Snapshot.Firing_Changed(rig.Snapshot.Status(), Firing_Event::Log_Changed, "reset");
    EXPECT_EQ(rig.Snapshot.Trace().size(), 0u);
    rig.Tick(30);
    rig.Form.SoftOff_Click();
    rig.Open_Profile("short.txt");
    EXPECT_EQ(rig.Snapshot.Trace().size(), 0u);
}

TEST(Status_Snapshot, AlarmOutranksTheRunStateAndALongFiringIsThinnedNotLost) {
    Status_Snapshot snapshot(4);
    Firing_Status status;
    status.State = Firing_State::Running;
    for (int tick = 1; tick <= 5; ++tick) {
        status.Elapsed = tick;
        snapshot.Firing_Changed(status, Firing_Event::Tick, "");
    }
    std::vector<double> kept;
    for (const Trace_Point& point : snapshot.Trace()) kept.push_back(point.Elapsed);
    EXPECT_EQ(kept, (std::vector<double>{1, 3, 5}));
    status.Alarms = {"No Heat"};
    snapshot.Firing_Changed(status, Firing_Event::Alarm_Raised, "No Heat");
    EXPECT_EQ(snapshot.State_Name(), "alarm");
    EXPECT_TRUE(Has(Status_Json(snapshot), "\"alarms\":[\"No Heat\"]"));
}

}  // namespace
}  // namespace corvanel::testing
