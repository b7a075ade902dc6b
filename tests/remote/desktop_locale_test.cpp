// SPDX-License-Identifier: GPL-3.0-or-later
// What the program writes for machines on a German or Spanish desktop is read back by a
// reader on any other: the guard reading the heartbeat, corvanel-log reading the record,
// a phone reading the JSON, a broker's subscriber reading the state.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <clocale>

#include "guard/guard_heartbeat.h"
#include "remote/mqtt_telemetry.h"
#include "remote/status_json.h"
#include "remote/status_snapshot.h"
#include "run/firing_record.h"

namespace corvanel::testing {
namespace {

using ::testing::HasSubstr;

// The C library's locale for as long as it lives, and the one before it again afterwards.
class Desktop_Locale {
  public:
    explicit Desktop_Locale(const char* name) : Before_(std::setlocale(LC_ALL, nullptr)) {
        Taken_ = std::setlocale(LC_ALL, name) != nullptr;
    }
    ~Desktop_Locale() { std::setlocale(LC_ALL, Before_.c_str()); }
    bool Taken() const { return Taken_; }

  private:
    std::string Before_;
    bool Taken_ = false;
};

// Written on a German desktop and read on a Spanish one, and the other way round: both
// write a decimal comma, so a writer or a reader that follows the desktop goes wrong.
TEST(Desktop_Locale, NumbersWrittenUnderOneLocaleAreReadUnderAnother) {
    for (const auto& [desktop, reader] : {std::pair{"de_DE.UTF-8", "es_ES.UTF-8"},
                                         std::pair{"es_ES.UTF-8", "de_DE.UTF-8"}}) {
        SCOPED_TRACE(std::string(desktop) + " read on " + reader);
        // Two minutes into a profile in hours.
        const Guard_Heartbeat beat{.Beat = 12, .Elapsed = 2.0 / 60, .Measured = 1832.5};
        const Firing_Record_Line line{.Clock = {2026, 12, 7, 3, 0, 0},
                                      .Elapsed = 0.5,
                                      .Segment = 2,
                                      .Set_Value = 1000,
                                      .Measured = 998.25,
                                      .Output_Percent = 37.5};
        std::string heartbeat, record, json, mqtt_state;
        {
            Desktop_Locale german_or_spanish(desktop);
            ASSERT_TRUE(german_or_spanish.Taken())
                << desktop << " is not installed: scripts/install-deps generates it";
            heartbeat = Heartbeat_Text(beat);
            Firing_Record_Header header;
            header.Plan = {{0, 70}, {0.5, 1000}};
            record = Firing_Record_Header_Text(header) + Firing_Record_Line_Text(line);
            Status_Snapshot snapshot;
            snapshot.Firing_Changed({.Clock = line.Clock,
                                     .Measured = line.Measured,
                                     .Output_Percent = line.Output_Percent,
                                     .Has_Reading = true,
                                     .Last_Reading = line.Clock},
                                    Firing_Event::Monitor_Tick, "");
            json = Status_Json(snapshot);
            Mqtt_Telemetry mqtt(snapshot, "corvanel/kiln", false, [&](const Mqtt_Message& m) {
                if (m.Topic == "corvanel/kiln/state") mqtt_state = m.Payload;
            });
            mqtt.Connected();
        }
        Desktop_Locale other(reader);
        ASSERT_TRUE(other.Taken()) << reader << " is not installed";
        const std::optional<Guard_Heartbeat> heard = Parse_Heartbeat(heartbeat);
        ASSERT_TRUE(heard) << heartbeat;
        EXPECT_NEAR(heard->Elapsed, beat.Elapsed, 1e-15);
        EXPECT_EQ(heard->Measured, beat.Measured);
        const Firing_Record read = Parse_Firing_Record(record);
        EXPECT_TRUE(read.Problems.empty()) << record;
        ASSERT_EQ(read.Lines.size(), 1u) << record;
        EXPECT_EQ(read.Lines[0].Measured, 998.25);
        EXPECT_EQ(read.Lines[0].Output_Percent, 37.5);
        EXPECT_EQ(read.Header.Plan, (Plan_Points{{0, 70}, {0.5, 1000}}));
        EXPECT_THAT(json, HasSubstr("998.25"));
        EXPECT_THAT(json, HasSubstr("37.5"));
        EXPECT_THAT(mqtt_state, HasSubstr("998.25"));
        EXPECT_THAT(mqtt_state, HasSubstr("37.5"));
    }
}

}  // namespace
}  // namespace corvanel::testing
