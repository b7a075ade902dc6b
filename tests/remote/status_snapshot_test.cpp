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
        Write_Short_Profile();
        Open_Profile("short.txt");
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
    EXPECT_NE(Status_Json(snapshot).find("\"alarms\":[\"No Heat\"]"), std::string::npos);
}

}  // namespace
}  // namespace corvanel::testing
