// SPDX-License-Identifier: GPL-3.0-or-later
// No read-out passes an old or missing reading off as live: the run window's Process
// Temp, the live chart, the status page's JSON and the MQTT state, against the simulated
// controller with its cable pulled or its thermocouple open.

#include <gtest/gtest.h>

#include <cmath>

#include "remote/mqtt_telemetry.h"
#include "remote/status_json.h"
#include "remote/status_snapshot.h"
#include "run/live_firing_view.h"
#include "support/main_window_rig.h"

namespace corvanel::testing {
namespace {

struct Readouts_Rig : Main_Window_Rig {
    Status_Snapshot Snapshot;
    Live_Firing_View View{Paths};
    std::vector<Mqtt_Message> Sent;
    Mqtt_Telemetry Mqtt{Snapshot, "corvanel/kiln", true,
                        [this](const Mqtt_Message& message) { Sent.push_back(message); }};

    Readouts_Rig() {
        for (Firing_Observer* observer :
             std::initializer_list<Firing_Observer*>{&Snapshot, &View, &Mqtt})
            Form.Firing.Attach(*observer);
        Form.Form_Load();
        Open_Short_Profile();
        Form.Start_Profile_Click();
    }
    ~Readouts_Rig() {
        for (Firing_Observer* observer :
             std::initializer_list<Firing_Observer*>{&Snapshot, &View, &Mqtt})
            Form.Firing.Detach(*observer);
    }
    void Tick() {
        Clock.Advance(3);
        Form.Control_Interval_Timer();
    }
    std::string Box() const {
        return Form.Real_Temp_Display_1 + (Form.Process_Temp_Stale ? " grey " : " ") +
               Form.Process_Temp_Note;
    }
    // Each of `parts` is in the page's JSON, which is also the MQTT state last sent.
    void Expect_Json(std::initializer_list<std::string> parts) {
        const std::string json = Status_Json(Snapshot);
        ASSERT_FALSE(Sent.empty());
        EXPECT_EQ(Sent.back().Topic + " " + Sent.back().Payload, "corvanel/kiln/state " + json);
        for (const std::string& part : parts) {
            EXPECT_NE(json.find(part), std::string::npos) << part << " not in " << json;
        }
    }
};

TEST(Stale_Readouts, AnOldReadingIsGreyedWithItsAgeAndTheChartLeavesAGap) {
    Readouts_Rig rig;
    rig.Tick();
    const std::string reading = rig.Form.Real_Temp_Display_1;
    EXPECT_EQ(rig.Box(), reading + " ");
    rig.Expect_Json({"\"measured\":" + reading + ",", "\"reading\":\"live\"",
                     "\"reading_age_seconds\":0,", "\"measured_note\":\"\""});

    rig.Line.Server = nullptr;  // the cable is pulled
    rig.Tick();
    rig.Tick();
    EXPECT_EQ(rig.Box(), reading + " ") << "two ticks without a reading are not yet old";
    EXPECT_FALSE(std::isnan(rig.View.Measured().back().second));
    rig.Tick();
    EXPECT_EQ(rig.Box(), reading + " grey No reading since 09:00");
    rig.Expect_Json({"\"measured\":null,", "\"reading\":\"stale\"", "\"reading_age_seconds\":9,",
                     "\"last_measured\":" + reading + ",",
                     "\"measured_note\":\"No reading for 9 s\""});
    EXPECT_TRUE(std::isnan(rig.View.Measured().back().second)) << "a gap in the measured line";
    EXPECT_EQ(rig.View.Set_Value().back().second, rig.Snapshot.Status().Set_Value);
    EXPECT_TRUE(std::isnan(rig.Snapshot.Trace().back().Measured));
    rig.Clock.Advance(51);
    rig.Tick();
    rig.Expect_Json({"\"measured_note\":\"No reading for 1 min\""});

    rig.Line.Server = &rig.Server;  // plugged back in
    rig.Tick();
    EXPECT_EQ(rig.Box(), rig.Form.Real_Temp_Display_1 + " ");
    rig.Expect_Json({"\"reading\":\"live\"", "\"reading_age_seconds\":0,"});
    EXPECT_FALSE(std::isnan(rig.View.Measured().back().second));
}

TEST(Stale_Readouts, AnOpenThermocoupleShowsNoNumber) {
    Readouts_Rig rig;
    sim::Fault_Options open;
    open[sim::Fault::Thermocouple_Break] = sim::Parse_Fault_Selector("1");
    sim::Kiln_Sim_Server broken{rig.Model, open};
    rig.Line.Server = &broken;
    rig.Tick();
    EXPECT_EQ(rig.Box(), "---- grey No reading: the thermocouple is open");
    rig.Expect_Json({"\"measured\":null,", "\"reading\":\"absent\"", "\"last_measured\":null,",
                     "\"measured_note\":\"No reading: the thermocouple is open\""});
    EXPECT_TRUE(std::isnan(rig.View.Measured().back().second));
    rig.Line.Server = &rig.Server;
    rig.Tick();
    EXPECT_EQ(rig.Box(), rig.Form.Real_Temp_Display_1 + " ");
}

}  // namespace
}  // namespace corvanel::testing
