// SPDX-License-Identifier: GPL-3.0-or-later
// A kiln whose elements wear a little with every firing, fired day after day through the
// run as the potter fires it: the health figures of its firing records follow the wear,
// and the reading warns of it. What RUN PROFILE then says is the pace check's own test.

#include <cmath>
#include <regex>

#include "history/kiln_health.h"
#include "history/kiln_health_reading.h"
#include "run/firing_record_writer.h"
#include "support/main_window_rig.h"

namespace corvanel::testing {
namespace {

// The share of their power the elements lose with each firing: the first firing runs on new
// elements, the n-th on (1 - Aging)^(n - 1) of their power.
constexpr double Aging = 0.03;
constexpr int Firings = 7;

// The simulated kiln heats towards E = room + power * (full - room) at (E - T) / tau, so
// it crosses a band from low to high in tau * ln((E - low) / (E - high)): the rate falls by
// more than the power, as the heat lost stays.
constexpr double Room_F = 68, Full_Power_F = 2552, Tau_Hours = 1;

double Predicted_Rate(const Health_Band& band, double power) {
    const double equilibrium = Room_F + power * (Full_Power_F - Room_F);
    return (band.High_F - band.Low_F) /
           (Tau_Hours * std::log((equilibrium - band.Low_F) / (equilibrium - band.High_F)));
}

// Minute ticks, whole degrees, ticks counted in the band their middle falls in and the
// controller easing off below the hold: well under this share, less than one firing's wear.
constexpr double Tolerance = 0.03;

// A Fahrenheit kiln on the simulator whose elements age, the firing records kept.
struct Aging_Kiln_Rig : Main_Window_Rig {
    Firing_Record_Writer Writer{Paths, "Corvanel"};
    Aging_Kiln_Rig() {
        sim::Unit_Settings kiln = Kiln_Settings();
        kiln.Aging_Per_Firing = Aging;
        Model = sim::Controller_Model({0}, kiln);
        Form.Firing.Attach(Writer);
        Form.Form_Load();
        // As fast as the kiln goes to 2,000 °F, held there, in hours: a tick a minute. The
        // kiln counts a firing begun where the set value passes well above room temperature.
        Write_Profile("fast.txt",
                      {{"1", "0", "0.1", "r", "70", "2000", "19300.00", "", "", ""},
                       {"2", "0.10", "3", "h", "2000", "2000", "0", "", "", ""},
                       {"3", "3.10", "", "e", "2000", "", "", "", "", ""}},
                      "K    ", true, false);
        Open_Profile("fast.txt");
    }
    // One tick of whichever timer runs: a minute, the profile being in hours.
    void Tick() {
        Clock.Advance(60);
        Model.Advance(60);
        if (Form.Control_Interval.Enabled) {
            Form.Control_Interval_Timer();
        } else {
            Form.Monitor_Interval_Timer();
        }
    }
    // A morning's firing: log and time reset, RUN PROFILE, the run to its end, the kiln
    // watched until it is cold, and the next morning.
    void Fire() {
        const long long morning = Seconds_Of(Clock.Now());
        Form.mnuReset_Logfile_Click();
        Form.Start_Profile_Click();
        for (int tick = 0; Form.Control_Interval.Enabled && tick < 1000; ++tick) Tick();
        ASSERT_TRUE(Said("Profile Finished"));
        for (int tick = 0; Form.Firing_Status_Now().State == Firing_State::Cooling && tick < 1000;
             ++tick) {
            Tick();
        }
        ASSERT_EQ(Form.Firing_Status_Now().State, Firing_State::Monitor) << "watched until cold";
        const long long until_next_morning = morning + 24 * 3600 - Seconds_Of(Clock.Now());
        Clock.Advance(until_next_morning);
        Model.Advance(static_cast<double>(until_next_morning));
    }
};

TEST(Kiln_Aging, ASeriesOfFiringsOnWearingElementsShowsTheKilnSlowingAndWarns) {
    Aging_Kiln_Rig rig;
    sim::Controller_Unit& kiln = *rig.Model.Unit(0);
    for (int firing = 1; firing <= Firings; ++firing) {
        SCOPED_TRACE(firing);
        rig.Fire();
        ASSERT_EQ(kiln.Firings(), firing);
        ASSERT_LT(kiln.Temperature(), 100) << "cold again by the morning";
    }

    const std::vector<Firing_Health> series = Health_Of_Folder(rig.Paths.Logfiles_Folder());
    ASSERT_EQ(series.size(), static_cast<std::size_t>(Firings));
    for (const Firing_Health& firing : series) EXPECT_EQ(firing.Outcome, Firing_Outcome::Finished);
    for (std::size_t b = 0; b < Health_Band_Count; ++b) {
        SCOPED_TRACE(b);
        const Health_Band& band = Health_Bands[b];
        const double first = series[0].Full_Power_Rate[b].Value.value_or(0);
        EXPECT_NEAR(first, Predicted_Rate(band, 1), Tolerance * Predicted_Rate(band, 1));
        for (int k = 1; k < Firings; ++k) {
            SCOPED_TRACE(k + 1);
            const double power = std::pow(1 - Aging, k);
            const double predicted = Predicted_Rate(band, power) / Predicted_Rate(band, 1);
            const double rate = series[k].Full_Power_Rate[b].Value.value_or(0);
            EXPECT_NEAR(rate / first, predicted, Tolerance * predicted);
        }
    }

    // The reading sets the mean of the first three firings against that of the latest three;
    // the top band, with the least heat to spare, slowed most.
    std::vector<double> top(Firings);
    for (int k = 0; k < Firings; ++k)
        top[k] = Predicted_Rate(Health_Bands[2], std::pow(1 - Aging, k));
    const double slower = 100 * (1 - (top[4] + top[5] + top[6]) / (top[0] + top[1] + top[2]));
    ASSERT_GE(slower, Kiln_Health_Settings{}.Replace_Percent) << "the planted wear is a warning";
    const std::vector<Health_Reading> readings =
        Read_Kiln_Health(series, {}, Kiln_Health_Settings{}, "F");
    ASSERT_FALSE(readings.empty());
    EXPECT_EQ(readings[0].Says, Health_Reading::Level::Replace);
    const std::string text = readings[0].Text.English();
    std::smatch said;
    ASSERT_TRUE(std::regex_match(
        text, said,
        std::regex("At full power the kiln now heats ([0-9]+)% slower between 1,500 °F and "
                   "2,000 °F than in its first firings from 5 December 2026: plan to replace "
                   "the elements before glaze firings stall\\.")))
        << text;
    EXPECT_NEAR(std::stod(said[1]), slower, Tolerance * slower);
}

}  // namespace
}  // namespace corvanel::testing
