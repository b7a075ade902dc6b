// SPDX-License-Identifier: GPL-3.0-or-later
// The cone a firing reached by heat-work, read from synthetic climbs against the chart.

#include <gtest/gtest.h>

#include <cmath>

#include "history/cone_heat_work.h"
#include "history/witness_cones.h"
#include "profiles/cone_table.h"

namespace corvanel {
namespace {

// A firing's readings every 30 s: a climb from 400 degrees below `peak` at `rate` an hour
// that ends exactly at the peak, a hold there, then a cooling of 300 degrees an hour.
std::vector<Kiln_Reading> Climb(double peak, double rate, double hold_minutes = 0,
                                double cool_minutes = 0) {
    std::vector<Kiln_Reading> readings;
    const double top = 400 / rate * 3600;
    for (double s = 0; s < top; s += 30) readings.push_back({s, peak - 400 + rate * s / 3600});
    readings.push_back({top, peak});
    for (double s = 30; s <= hold_minutes * 60; s += 30) readings.push_back({top + s, peak});
    const double held = readings.back().Seconds;
    for (double s = 30; s <= cool_minutes * 60; s += 30)
        readings.push_back({held + s, peak - 300 * s / 3600});
    return readings;
}

std::size_t Index_Of(std::string_view cone) {
    const auto table = Cone_Table();
    for (std::size_t i = 0; i < table.size(); ++i)
        if (table[i].Cone == cone) return i;
    ADD_FAILURE() << cone;
    return 0;
}

std::string Text_Of(const Cone_Reached& reached) {
    return Cone_Reached_Text(reached).English();
}

// At each of the chart's rates, a climb ending exactly at a cone's temperature reads as
// that cone, in both scales.
TEST(Cone_Heat_Work, AClimbAtAChartRateToTheChartTemperatureReadsAsThatCone) {
    const auto table = Cone_Table();
    for (std::size_t i = 0; i < table.size(); ++i) {
        const Cone_Equivalent& cone = table[i];
        struct Column {
            const char* Scale;
            double Rate;
            int Temperature;
        };
        for (const Column& column :
             {Column{"C", 15, cone.Celsius_15}, Column{"C", 60, cone.Celsius_60},
              Column{"C", 150, cone.Celsius_150}, Column{"F", 27, cone.Fahrenheit_27},
              Column{"F", 108, cone.Fahrenheit_108}, Column{"F", 270, cone.Fahrenheit_270}}) {
            if (column.Temperature == 0) continue;  // no slow figure for this cone
            const Cone_Reached reached =
                Cone_Of_Readings(Climb(column.Temperature, column.Rate), column.Scale);
            ASSERT_EQ(reached.Reached, Cone_Reached::Reach::On_Chart) << cone.Cone;
            EXPECT_NEAR(reached.Climb_Rate, column.Rate, column.Rate * 1e-6);
            EXPECT_NEAR(reached.Effective_Rate, column.Rate, column.Rate * 1e-6);
            EXPECT_NEAR(reached.Position, static_cast<double>(i), 1e-6)
                << cone.Cone << " at " << column.Rate << " " << column.Scale << "/h";
            EXPECT_EQ(Text_Of(reached), "cone " + std::string(cone.Cone));
        }
    }
}

// The same peak after a slower last climb reads hotter, after a faster one cooler, by the
// chart's own spacing at the rate reached; beyond the chart's rates it holds to the outer
// column, and between them it lies between.
TEST(Cone_Heat_Work, ASlowerClimbToTheSamePeakReadsHotterAFasterOneCooler) {
    struct Case {
        const char* Scale;
        double Peak, Rate;
        std::string Down;  // the cone below the peak at that rate, and the one above
        int Down_At, Next_At;
        const char* Text;
    };
    for (const Case& c : std::vector<Case>{
             // Cone 6's medium temperature: cone 8 and cone 9 at the slow rate ...
             {"C", 1222, 15, "8", 1211, 1224, "cone 9, about three quarters bent"},
             {"C", 1222, 10, "8", 1211, 1224, "cone 9, about three quarters bent"},
             // ... cone 5 and cone 6 at the fast one.
             {"C", 1222, 150, "5", 1207, 1243, "cone 6, about half bent"},
             {"C", 1222, 400, "5", 1207, 1243, "cone 6, about half bent"},
             {"F", 2232, 27, "8", 2212, 2235, "cone 9, about three quarters bent"},
             {"F", 2232, 270, "5", 2205, 2269, "cone 6, about half bent"},
             {"F", 1945, 27, "04", 1915, 1960, "cone 03, about three quarters bent"},
             // Cone 020 has no slow figure: below 60 C/h it keeps the medium one.
             {"C", 626, 15, "020", 626, 656, "cone 020"},
         }) {
        const Cone_Reached reached = Cone_Of_Readings(Climb(c.Peak, c.Rate), c.Scale);
        const double expected =
            static_cast<double>(Index_Of(c.Down)) + (c.Peak - c.Down_At) / (c.Next_At - c.Down_At);
        EXPECT_NEAR(reached.Position, expected, 1e-6) << c.Peak << " at " << c.Rate;
        EXPECT_EQ(Text_Of(reached), c.Text) << c.Peak << " at " << c.Rate;
    }
    const double slow = Cone_Of_Readings(Climb(1222, 15), "C").Position;
    const double medium = Cone_Of_Readings(Climb(1222, 60), "C").Position;
    const double between = Cone_Of_Readings(Climb(1222, 30), "C").Position;
    EXPECT_LT(medium, between);
    EXPECT_LT(between, slow);
    // Every cone stays hotter than the one before it at any rate.
    for (double rate : {10.0, 15.0, 20.0, 40.0, 60.0, 100.0, 150.0, 200.0}) {
        for (std::size_t i = 1; i < Cone_Table().size(); ++i)
            EXPECT_GT(Chart_Temperature(i, rate, "C"), Chart_Temperature(i - 1, rate, "C")) << i;
    }
}

// A hold at the peak adds heat-work: the longer, the hotter; a short one about half a cone
// at cone 6, an hour more than a cone. The kiln cooling afterwards adds next to nothing.
TEST(Cone_Heat_Work, HoldsAddHeatWorkAndTheCoolingDoesNot) {
    const double six = static_cast<double>(Index_Of("6"));
    double before = Cone_Of_Readings(Climb(1222, 60), "C").Position;
    EXPECT_NEAR(before, six, 1e-6);
    for (double hold : {10.0, 30.0, 60.0}) {
        const Cone_Reached reached = Cone_Of_Readings(Climb(1222, 60, hold), "C");
        EXPECT_GT(reached.Position, before + 0.2) << hold;
        EXPECT_LT(reached.Effective_Rate, 60) << hold;
        EXPECT_NEAR(reached.Seconds_Near_Peak, hold * 60, 1e-6);
        before = reached.Position;
    }
    const double ten = Cone_Of_Readings(Climb(1222, 60, 10), "C").Position;
    EXPECT_GT(ten, six + 0.3);
    EXPECT_LT(ten, six + 0.8);
    EXPECT_GT(Cone_Of_Readings(Climb(1222, 60, 60), "C").Position, six + 1);
    // The same hold weighs the same in either scale.
    EXPECT_NEAR(Cone_Of_Readings(Climb(2232, 108, 30), "F").Position,
                Cone_Of_Readings(Climb(1222, 60, 30), "C").Position, 0.05);
    // Only its first 5 C count, a minute or so.
    EXPECT_NEAR(Cone_Of_Readings(Climb(1222, 60, 10, 60), "C").Position, ten, 0.05);
}

// A firing short of cone 022 or past cone 10, or whose record holds no last climb (it
// starts less than 100 C below its peak), says so; an offset moves the figure by whole and
// part cones.
TEST(Cone_Heat_Work, AFiringOffTheChartOrWithoutItsLastClimbSaysSoAndAnOffsetMovesIt) {
    EXPECT_EQ(Cone_Of_Readings(Climb(560, 60, 30), "C").Reached, Cone_Reached::Reach::Below_Chart);
    std::vector<Kiln_Reading> hot = Climb(1222, 60);
    hot.erase(hot.begin(), hot.end() - 30);
    EXPECT_FALSE(Cone_Of_Readings(hot, "C").Known());
    EXPECT_FALSE(Cone_Of_Readings({}, "C").Known());
    const Cone_Reached six = Cone_Of_Readings(Climb(1222, 60), "C");
    for (const auto& [reached, text] : std::vector<std::pair<Cone_Reached, std::string>>{
             {Cone_Of_Readings(Climb(560, 60, 30), "C"), "below cone 022"},
             {Cone_Of_Readings(Climb(2400, 270), "F"), "beyond cone 10"},
             {Cone_Of_Readings(hot, "C"), ""},
             {With_Cone_Offset(six, 0.25), "cone 7, about a quarter bent"},
             {With_Cone_Offset(six, -0.5), "cone 6, about half bent"},
             {With_Cone_Offset(six, -0.8), "cone 6, about a quarter bent"},
             {With_Cone_Offset(six, 1), "cone 7"},
             {With_Cone_Offset(six, -30), "below cone 022"},
             {With_Cone_Offset(six, 5), "beyond cone 10"}}) {
        EXPECT_EQ(Text_Of(reached), text);
    }
}

// What a potter writes of a pack of three cones around a position: the one down, the next
// at the nearest clock hour, the third standing.
std::string Witness_Text(double position) {
    const auto table = Cone_Table();
    auto down = static_cast<std::size_t>(position);
    int hour = static_cast<int>(std::lround((position - static_cast<double>(down)) * 6));
    if (hour == 6) ++down, hour = 0;
    std::string text =
        std::string(table[down].Cone) + " down, " + std::string(table[down + 1].Cone);
    if (hour > 0)
        text += " at " + std::to_string(hour) + " o'clock, " + std::string(table[down + 2].Cone);
    return text + " standing";
}

const Translate_Function English = [](std::string_view text) { return std::string(text); };

TEST(Witness_Cones, AreReadAsTheHottestConeThatBentAsFarAsItBent) {
    const Translate_Function german = [](std::string_view text) {
        return std::string(text == "down" ? "unten" : text == "standing" ? "stehend" : text);
    };
    const double six = static_cast<double>(Index_Of("6"));
    for (auto [text, position] : std::vector<std::pair<std::string, double>>{
             {"5 down, 6 at 3 o'clock, 7 standing", six - 0.5},
             {"5 Down; 6 Down, 7 standing", six},
             {"04 down, 6 at 2 o'clock", six - 1 + 2 / 6.0},
             {"6 at 12, 5 at 6", six - 1},
             {"5 unten, 6 auf 3 Uhr, 7 stehend", six - 0.5}}) {
        const Witness_Reading reading = Read_Witness_Text(text, german);
        EXPECT_FALSE(reading.Problem) << text;
        ASSERT_TRUE(reading.Position) << text;
        EXPECT_NEAR(*reading.Position, position, 1e-9) << text;
    }
    EXPECT_FALSE(Read_Witness_Text("7 standing, 8 standing", English).Position);
    for (const char* bad : {"5 wobbly", "13 down", "5 down, 6 at 9 o'clock", "six down"}) {
        const Witness_Reading reading = Read_Witness_Text(bad, English);
        EXPECT_TRUE(reading.Problem) << bad;
        EXPECT_FALSE(reading.Position) << bad;
    }
}

// Firings of two kilns whose witness cones read a planted number of cones off the program's
// figure, give or take what a potter can see: each kiln's offset is found, after 3 firings.
TEST(Witness_Cones, AnOffsetPlantedInASeriesOfFiringsIsRecoveredWithinHalfACone) {
    struct Firing {
        double Peak, Rate, Hold;
    };
    const Firing firings[] = {{1222, 60, 10}, {1190, 40, 20}, {1250, 150, 5},
                              {1210, 80, 15}, {1235, 100, 0}, {1160, 30, 30}};
    const double jitter[] = {0.2, -0.15, 0.1, -0.2, 0.05, 0.15};
    for (double planted : {0.75, -1.0, 0.0, 1.5}) {
        std::vector<Witness_Comparison> newest_first;
        for (std::size_t i = 0; i < std::size(firings); ++i) {
            const Firing& f = firings[i];
            const Cone_Reached reached = Cone_Of_Readings(Climb(f.Peak, f.Rate, f.Hold), "C");
            ASSERT_EQ(reached.Reached, Cone_Reached::Reach::On_Chart);
            const Witness_Reading seen =
                Read_Witness_Text(Witness_Text(reached.Position + planted + jitter[i]), English);
            ASSERT_TRUE(seen.Position);
            newest_first.insert(newest_first.begin(), {"Kiln A", reached.Position, *seen.Position});
            // Another kiln's firings, a cone the other way, do not count for this one.
            newest_first.insert(newest_first.begin(),
                                {"Kiln B", reached.Position, reached.Position - 1});
            const Offset_Proposal proposal = Propose_Cone_Offset(newest_first, "Kiln A");
            EXPECT_EQ(proposal.Firings, i + 1);
            EXPECT_EQ(proposal.Cones.has_value(), i + 1 >= Offset_Firings_Needed);
            if (!proposal.Cones) continue;
            EXPECT_NEAR(*proposal.Cones, planted, 0.5) << planted << " after " << i + 1;
            EXPECT_EQ(std::fmod(*proposal.Cones * 4, 1.0), 0);  // in quarters
        }
        EXPECT_NEAR(*Propose_Cone_Offset(newest_first, "Kiln B").Cones, -1, 1e-9);
    }
}

}  // namespace
}  // namespace corvanel
