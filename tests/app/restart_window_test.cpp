// SPDX-License-Identifier: GPL-3.0-or-later
// The run window's alarm banner against kiln-sim on a pseudo-terminal: a firing whose
// program went without its exit is told at the next start, and an alarm acknowledged.

#include <QLabel>
#include <QPushButton>

#include "app/windows/alarm_banner_widget.h"
#include "run/log_file.h"
#include "support/program_rig.h"

namespace corvanel::testing {
namespace {

using Run_Window = Program_Rig;

// The program object goes mid-firing without ExitProgram, the soft off or a word to the
// record, as when it is killed; kiln-sim, like the controller, goes on. Started again
// with recall, the banner tells of it until acknowledged.
TEST_F(Run_Window, AFiringCutOffIsToldAtTheNextStartUntilAcknowledged) {
    Start_Kiln_Sim({"--speed=60"});
    Start_Program();
    Window().mnuRecallSetup->trigger();  // saved with the profile's and the log's names
    Open_Quick_Test();
    Choose_Log("cut.txt");
    QTest::mouseClick(Window().Start_Profile, Qt::LeftButton);
    const std::string log = Paths.Logfile("cut.txt");
    ASSERT_TRUE(Eventually([&] { return Read_Whole_File(log).size() >= 2 * Log_Record_Length; }));
    Program.reset();

    Clock.Advance(40 * 60);
    Start_Program();
    Alarm_Banner_Widget& banner = *Window().Banner;
    ASSERT_TRUE(banner.isVisible()) << Messages();
    EXPECT_TRUE(banner.Alarm_Text->text().startsWith(
        "The firing was interrupted: quick_test.txt\nIt stopped at 09:00, elapsed time 0.00 min, "))
        << Messages();
    EXPECT_TRUE(banner.Alarm_Text->text().contains("\nStopped for 40 min, the kiln is now at "));
    ASSERT_TRUE(banner.Acknowledge->isVisible());
    QTest::mouseClick(banner.Acknowledge, Qt::LeftButton);
    EXPECT_FALSE(banner.isVisible());
}

// A thermocouple break on every exchange: after two readings the banner is red with its
// button; acknowledged it turns amber, says so, and the button goes.
TEST_F(Run_Window, AnAcknowledgedAlarmTurnsTheBannerAndTakesItsButtonAway) {
    Start_Kiln_Sim({"--tc-break=1"});
    // Two readings in a row are enough: the window need not wait out the set time.
    Write_Whole_File(Paths.Setup_File("Safety.txt"), "Alarm_Confirm_Seconds=0\r\n");
    Start_Program();
    Open_Quick_Test();
    QTest::mouseClick(Window().Start_Profile, Qt::LeftButton);
    Alarm_Banner_Widget& banner = *Window().Banner;
    ASSERT_TRUE(Eventually([&] { return banner.isVisible(); })) << Messages();
    EXPECT_TRUE(banner.Acknowledge->isVisible());
    EXPECT_TRUE(banner.styleSheet().contains("#d00000"));
    Clock.Set({2026, 12, 5, 14, 35, 0});
    QTest::mouseClick(banner.Acknowledge, Qt::LeftButton);
    EXPECT_EQ(banner.Alarm_Text->text(), "Acknowledged at 14:35: Thermocouple break still present");
    EXPECT_FALSE(banner.Acknowledge->isVisible());
    EXPECT_TRUE(banner.styleSheet().contains("#f0a020"));
}

}  // namespace
}  // namespace corvanel::testing
