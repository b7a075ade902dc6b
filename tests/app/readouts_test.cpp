// SPDX-License-Identifier: GPL-3.0-or-later
// The run window's numbers say what they are: a Celsius profile on a Fahrenheit
// controller, and a time carried into a profile counted in the other unit.

#include <cmath>

#include "support/main_window_rig.h"

namespace corvanel::testing {
namespace {

TEST(Run_Readouts, OtherScaleShownInTheProfilesAndOtherTimeUnitConverted) {
    Main_Window_Rig rig;  // the simulated controller reads in Fahrenheit, as short.txt is
    rig.Form.Form_Load();
    rig.Open_Short_Profile();
    EXPECT_EQ(rig.Form.Real_Temp_Display_1, std::to_string(rig.Protocol.Last_PV));
    rig.Form.Elapsed_Time_GotFocus();
    for (char key : std::string("\b1\r")) rig.Form.Type_Elapsed_Key(key);

    rig.Write_Profile("celsius_hours.txt",
                      {{"1", "0", "2", "r", "20", "120", "50", "", "", ""},
                       {"2", "2.00", "", "e", "120", "", "", "", "", ""}},
                      "K    ", false, false);
    rig.Open_Profile("celsius_hours.txt");
    EXPECT_NEAR(rig.Form.Engine().Elapsed(), 1.0 / 60, 1e-12);
    EXPECT_TRUE(
        rig.Said("The elapsed time was converted to this profile's time unit: "
                 "1.00 Minutes = 0.02 Hours"))
        << rig.Form.User_Message_Box;
    rig.Form.Monitor_Interval_Timer();
    const double celsius = (rig.Protocol.Last_PV - 32) * 5 / 9.0;
    EXPECT_EQ(rig.Form.Real_Temp_Display_1 + " " + rig.Form.SetPointReadOut,
              Format_Number(std::round(celsius)) + " SetTemp(C)");
    EXPECT_NEAR(rig.Form.Firing_Status_Now().Measured, celsius, 1e-9);
    const int set_value = std::atoi(rig.Panel.Set_Point.c_str());
    EXPECT_EQ(rig.Form.Profile_Temperature, Format_Number(std::round((set_value - 32) * 5 / 9.0)));

    rig.Open_Short_Profile();
    EXPECT_EQ(rig.Form.Elapsed_Time, "1.00");
}

}  // namespace
}  // namespace corvanel::testing
