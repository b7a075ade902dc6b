// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <vector>

#include "controller_model.h"

namespace corvanel::sim {
namespace {

void Write_Set_Value(Controller_Unit& unit, int value) {
    ASSERT_EQ(unit.Execute("WS01", Field_Of(value))->End_Code, "00") << value;
}

// A firing begins at the first set value more than 200 degrees above room temperature
// since one at most 50 above it, however gently a ramp climbs there, in degrees of the
// scale even where the controller reads tenths.
TEST(Element_Aging, AFiringBeginsOnlyFromNearRoomTemperatureToWellAboveIt) {
    struct Case {
        bool Fahrenheit;
        int Input_Type;
        std::vector<int> Writes;
        int Firings;
    };
    const Case cases[] = {
        {false, 2, {220, 70, 221, 400, 20}, 1},                 // the first two stay too low
        {false, 2, {300, 70, 300, 60, 1000, 20}, 3},            // 70 is close enough to room
        {true, 6, {2680, 700, 2690}, 1},                        // tenths: 268.0 F is room + 200
        {false, 2, {20, 100, 180, 240, 900, 20, 150, 250}, 2},  // two ramps
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.Fahrenheit << " " << c.Firings);
        Unit_Settings settings;
        settings.Fahrenheit = c.Fahrenheit;
        settings.Input_Type = c.Input_Type;
        Controller_Unit unit(settings);
        for (int value : c.Writes) Write_Set_Value(unit, value);
        EXPECT_EQ(unit.Firings(), c.Firings);
    }
}

// Elements that fired twice before start at 0.81, and a welded relay heats through them.
TEST(Element_Aging, ElementsFiredBeforeStartWeakerAndAWeldedRelayHeatsThroughThem) {
    Unit_Settings settings;
    settings.Aging_Per_Firing = 0.1;
    settings.Firings_Before = 2;
    double rise[2];
    for (bool aged : {false, true}) {
        Controller_Unit unit(aged ? settings : Unit_Settings{});
        EXPECT_NEAR(unit.Element_Power(), aged ? 0.81 : 1.0, 1e-12);
        double room = unit.Temperature();
        unit.Elements = Heating::Stuck_On;
        unit.Advance(1800);
        rise[aged] = unit.Temperature() - room;
    }
    EXPECT_NEAR(rise[1] / rise[0], 0.81, 0.002);
}

}  // namespace
}  // namespace corvanel::sim
