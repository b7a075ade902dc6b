// SPDX-License-Identifier: GPL-3.0-or-later
// The run window's numbers say what they are: a Celsius profile on a Fahrenheit
// controller, a time carried into a profile counted in the other unit, and the chart's
// points at the ticks' real times, live and redrawn from the record.

#include <cmath>

#include "run/firing_chart.h"
#include "run/firing_record.h"
#include "run/firing_record_writer.h"
#include "run/live_firing_view.h"
#include "support/main_window_rig.h"

namespace corvanel::testing {
namespace {

const std::vector<std::array<std::string, 10>> Short_Rows = {
    {"1", "0", "2", "r", "70", "250", "90.00", "50", "", ""},
    {"2", "2.00", "1", "h", "250", "250", "0", "", "", ""},
    {"3", "3.00", "", "e", "250", "", "", "", "", ""}};

TEST(Run_Readouts, ACelsiusProfileOnAFahrenheitControllerShowsCelsius) {
    Main_Window_Rig rig;  // the simulated controller reads in Fahrenheit
    rig.Form.Form_Load();
    rig.Open_Short_Profile();
    rig.Form.Monitor_Interval_Timer();
    const std::int16_t fahrenheit = rig.Protocol.Last_PV;
    EXPECT_EQ(rig.Form.Real_Temp_Display_1, std::to_string(fahrenheit)) << "same scale: as read";

    rig.Write_Profile("celsius.txt", Short_Rows, "K    ", false);
    rig.Open_Profile("celsius.txt");
    rig.Form.Monitor_Interval_Timer();
    const double celsius = (rig.Protocol.Last_PV - 32) * 5 / 9.0;
    EXPECT_EQ(rig.Form.Real_Temp_Display_1, Format_Number(std::round(celsius)));
    EXPECT_EQ(rig.Form.SetPointReadOut, "SetTemp(C)");
    const Firing_Status status = rig.Form.Firing_Status_Now();
    EXPECT_EQ(status.Temp_Scale, "C");
    EXPECT_NEAR(status.Measured, celsius, 1e-9);
    const int set_value = std::atoi(rig.Panel.Set_Point.c_str());
    EXPECT_EQ(rig.Form.Profile_Temperature, Format_Number(std::round((set_value - 32) * 5 / 9.0)));
}

TEST(Run_Readouts, ATimeCarriedIntoAProfileInTheOtherUnitIsConvertedAndSaidSo) {
    Main_Window_Rig rig;
    rig.Form.Form_Load();
    rig.Open_Short_Profile();
    rig.Form.Elapsed_Time_GotFocus();
    for (char key : std::string("\b1\r")) rig.Form.Type_Elapsed_Key(key);
    rig.Write_Profile("hours.txt", Short_Rows, "K    ", true, false);
    rig.Open_Profile("hours.txt");
    EXPECT_NEAR(rig.Form.Engine().Elapsed(), 1.0 / 60, 1e-12);
    EXPECT_EQ(rig.Form.Elapsed_Time, "0.02");
    EXPECT_TRUE(
        rig.Said("The elapsed time was converted to this profile's time unit: "
                 "1.00 Minutes = 0.02 Hours"))
        << rig.Form.User_Message_Box;
    rig.Open_Short_Profile();
    EXPECT_NEAR(rig.Form.Engine().Elapsed(), 1, 1e-12);
    EXPECT_EQ(rig.Form.Elapsed_Time, "1.00");
}

// Ticks every 3 s through a minute boundary and a suspension: the chart's points lie at
// the ticks' real times, and a window started again draws the same ones from the record.
TEST(Run_Readouts, TheChartDrawsTicksAtTheirRealTimesLiveAndFromTheRecord) {
    Main_Window_Rig rig;
    Live_Firing_View view{rig.Paths};
    Firing_Record_Writer writer(rig.Paths, "Corvanel");
    rig.Form.Firing.Attach(view);
    rig.Form.Firing.Attach(writer);
    rig.Form.Form_Load();
    rig.Open_Short_Profile();
    rig.Choose_Log("short_run.txt");
    rig.Form.Start_Profile_Click();  // at 09:00:30
    auto ticks = [&](int count) {
        for (int i = 0; i < count; ++i) {
            rig.Clock.Advance(3);
            rig.Form.Control_Interval_Timer();
        }
    };
    ticks(12);  // to 09:01:06: the elapsed time counted its first minute at 09:01:00
    EXPECT_EQ(rig.Form.Engine().Elapsed(), 1);
    ASSERT_EQ(view.Measured().size(), 13u);
    for (std::size_t i = 0; i < 13; ++i) EXPECT_NEAR(view.Measured()[i].first, i * 0.05, 1e-9) << i;

    rig.Form.Start_Profile_Click();  // suspended for ten minutes at elapsed 1
    rig.Clock.Advance(600);
    rig.Form.Start_Profile_Click();
    ticks(2);
    ASSERT_EQ(view.Measured().size(), 16u);
    EXPECT_NEAR(view.Measured()[13].first, 1, 1e-9) << "it goes on from the elapsed time held";
    EXPECT_NEAR(view.Measured()[15].first, 1.1, 1e-9);
    rig.Form.Firing.Detach(writer);
    rig.Form.Firing.Detach(view);

    // The record written beside the log gives the same points, to the history and to a
    // window started again with recall.
    Firing_Record record;
    std::string error;
    ASSERT_TRUE(Read_Firing_Record(rig.Paths.Logfile("short_run.firing.csv"), {}, record, error));
    Live_Firing_View again{rig.Paths};
    again.Firing_Changed(rig.Form.Firing_Status_Now(), Firing_Event::Recall_Resume, "");
    const Firing_Chart chart = Build_Firing_Chart({&record});
    const std::vector<std::pair<double, double>>& history = chart.Series.back().Points;
    ASSERT_EQ(again.Measured().size(), view.Measured().size());
    ASSERT_EQ(history.size(), view.Measured().size());
    for (std::size_t i = 0; i < view.Measured().size(); ++i) {
        EXPECT_NEAR(again.Measured()[i].first, view.Measured()[i].first, 1e-9) << i;
        EXPECT_EQ(again.Measured()[i].second, view.Measured()[i].second) << i;
        EXPECT_NEAR(history[i].first, view.Measured()[i].first, 1e-9) << i;
    }
}

}  // namespace
}  // namespace corvanel::testing
