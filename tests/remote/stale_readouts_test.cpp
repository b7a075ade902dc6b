// SPDX-License-Identifier: GPL-3.0-or-later
// No read-out passes an old or missing reading off as live: the run window's Process
// Temp, the live chart, the status page's JSON and the MQTT state, against the simulated
// controller with its cable pulled, then its thermocouple open.

#include <gtest/gtest.h>

#include <cmath>

#include "remote/mqtt_telemetry.h"
#include "remote/status_json.h"
#include "run/live_firing_view.h"
#include "support/main_window_rig.h"

namespace corvanel::testing {
namespace {

TEST(Stale_Readouts, AnOldReadingIsGreyedWithItsAgeAndAnOpenThermocoupleShowsNoNumber) {
    Main_Window_Rig rig;
    Status_Snapshot snapshot;
    Live_Firing_View view{rig.Paths};
    std::string state;  // the MQTT state last sent
    Mqtt_Telemetry mqtt{snapshot, "k", false, [&](const Mqtt_Message& m) { state = m.Payload; }};
    const std::vector<Firing_Observer*> observers{&snapshot, &view, &mqtt};
    for (Firing_Observer* observer : observers) rig.Form.Firing.Attach(*observer);
    rig.Form.Form_Load();
    rig.Open_Short_Profile();
    rig.Form.Start_Profile_Click();  // at 09:00:30
    auto tick = [&](int seconds) {
        rig.Clock.Advance(seconds);
        rig.Form.Control_Interval_Timer();
        EXPECT_EQ(state, Status_Json(snapshot));
        return rig.Form.Real_Temp_Display_1 + (rig.Form.Process_Temp_Stale ? " grey " : " ") +
               rig.Form.Process_Temp_Note;
    };
    auto json_has = [&](const std::string& part) { return state.find(part) != std::string::npos; };
    const std::string reading = rig.Form.Real_Temp_Display_1;
    rig.Line.Server = nullptr;  // the cable is pulled
    tick(3);
    EXPECT_EQ(tick(3), reading + " ") << "two ticks without a reading are not yet old";
    EXPECT_EQ(tick(3), reading + " grey No reading since 09:00");
    for (const char* part :
         {"\"measured\":null,", "\"reading\":\"stale\"", "\"reading_age_seconds\":9,",
          "\"measured_note\":\"No reading for 9 s\""})
        EXPECT_TRUE(json_has(part)) << part << " not in " << state;
    EXPECT_TRUE(json_has("\"last_measured\":" + reading + ","));
    EXPECT_TRUE(std::isnan(view.Measured().back().second)) << "a gap in the measured line";
    tick(51);
    EXPECT_TRUE(json_has("\"measured_note\":\"No reading for 1 min\"")) << state;

    sim::Fault_Options open;
    open[sim::Fault::Thermocouple_Break] = sim::Parse_Fault_Selector("1");
    sim::Kiln_Sim_Server broken{rig.Model, open};
    rig.Line.Server = &broken;
    EXPECT_EQ(tick(3), "---- grey No reading: the thermocouple is open");
    EXPECT_TRUE(json_has("\"reading\":\"absent\"") && json_has("\"last_measured\":null,")) << state;

    rig.Line.Server = &rig.Server;  // all well again
    const std::string shown = tick(3);
    EXPECT_EQ(shown, rig.Form.Real_Temp_Display_1 + " ");
    EXPECT_TRUE(json_has("\"measured\":" + rig.Form.Real_Temp_Display_1 + ",")) << state;
    EXPECT_FALSE(std::isnan(view.Measured().back().second));
    for (Firing_Observer* observer : observers) rig.Form.Firing.Detach(*observer);
}

}  // namespace
}  // namespace corvanel::testing
