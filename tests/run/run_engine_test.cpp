// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include "run/run_engine.h"

namespace corvanel {
namespace {

// One segment from Start to End over minutes (or hours) 0 to Duration.
Loaded_Profile One_Segment(double start, double end, double duration,
                           const std::string& sensor = "K    ") {
    Run_Tables tables;
    tables.Seg_End_Time[0] = duration;
    tables.Seg_Start_Temp[0] = start;
    tables.Seg_End_Temp[0] = end;
    Loaded_Profile profile;
    profile.Use_Tables(tables, 2, sensor);
    return profile;
}

Date_Time At(int minute, int second = 0) {
    return Date_Time{2026, 3, 12, 8 + minute / 60, minute % 60, second};
}

// The set value a tick computes a number of whole minutes into the run.
TEST(Run_Engine, TheSetValueFollowsTheSegmentRoundingHalvesToEven) {
    const struct {
        const char* What;
        double Start, End, Duration;
        int Minutes;
        bool Hours;
        std::string Sensor;
        int Set_Value;
        const char* Shown;
    } cases[] = {{"tie rounds down to even", 0, 5, 2, 1, false, "K    ", 2, "2"},
                 {"tie rounds up to even", 0, 7, 2, 1, false, "K    ", 4, "4"},
                 {"cooling ramp", 1000, 400, 10, 5, false, "K    ", 700, "700"},
                 {"hours count whole minutes", 0, 300, 3, 90, true, "K    ", 150, "150"},
                 {"platinum in tenths", 1234, 1234, 10, 3, false, "PtJIS", 1234, "123.4"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.What);
        const Loaded_Profile profile = One_Segment(c.Start, c.End, c.Duration, c.Sensor);
        Run_Engine engine(profile);
        engine.Use_Minutes(!c.Hours);
        engine.Start(At(0, 30));
        engine.Count(At(c.Minutes, 30));
        EXPECT_FALSE(engine.Find_Segment());
        engine.Follow_Profile();
        EXPECT_EQ(engine.Set_Value(), c.Set_Value);
        EXPECT_EQ(profile.Controller_Units_Text(engine.Set_Value()), c.Shown);
    }
}

TEST(Run_Engine, ATimeOnASegmentEndBelongsToTheNextSegment) {
    Run_Tables tables;  // three segments: 0-60, 60-60 (zero length), 60-90
    tables.Seg_End_Time[0] = 60;
    tables.Seg_End_Time[1] = 60;
    tables.Seg_End_Time[2] = 90;
    Loaded_Profile profile;
    profile.Use_Tables(tables, 4, "K    ");
    const Run_Engine engine(profile);
    std::vector<int> segments;
    for (double time : {0.0, 59.99, 60.0, 90.0, 500.0})
        segments.push_back(engine.Determine_Current_Segment(time));
    EXPECT_EQ(segments, (std::vector<int>{1, 1, 3, 4, 4}));  // the zero-length one never
}

}  // namespace
}  // namespace corvanel
