// SPDX-License-Identifier: GPL-3.0-or-later
// A firing whose program is killed with SIGKILL (no exit, no soft off, no last word to
// the record), and the next start of the program on the same folder with recall.

#include <signal.h>

#include <QCoreApplication>
#include <QLabel>
#include <QProcess>
#include <QPushButton>
#include <cstdlib>

#include "app/windows/alarm_banner_widget.h"
#include "run/firing_record.h"
#include "run/log_file.h"
#include "support/program_rig.h"

namespace corvanel::testing {
namespace {

using Killed_Firing = Program_Rig;

const char* const Folder_Variable = "CORVANEL_KILLED_FIRING_FOLDER";

// The program that is killed: this test program started again for this case alone,
// firing the quick test in the folder it is given until the signal comes.
TEST_F(Killed_Firing, DISABLED_FiresUntilKilled) {
    const char* folder = std::getenv(Folder_Variable);
    ASSERT_NE(folder, nullptr) << "started only by the case below";
    Paths = Program_Paths(folder);
    Start_Program();
    Window().mnuRecallSetup->trigger();  // saved with the profile's and the log's names
    Open_Quick_Test();
    Choose_Log("cut.txt");
    QTest::mouseClick(Window().Start_Profile, Qt::LeftButton);
    Eventually([] { return false; }, 300000);  // killed long before
}

TEST_F(Killed_Firing, TheNextStartTellsOfTheFiringAndRecordsTheGapUntilAcknowledged) {
    Start_Kiln_Sim({"--speed=60"});
    QProcess firing;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(Folder_Variable, QString::fromStdString(Folder.Path().string()));
    environment.insert("QT_QPA_PLATFORM", "offscreen");
    firing.setProcessEnvironment(environment);
    firing.setProcessChannelMode(QProcess::MergedChannels);
    firing.start(QCoreApplication::applicationFilePath(),
                 {"--gtest_filter=Killed_Firing.DISABLED_FiresUntilKilled",
                  "--gtest_also_run_disabled_tests"});
    const std::string log = Paths.Logfile("cut.txt");
    ASSERT_TRUE(
        Eventually([&] { return Read_Whole_File(log).size() >= 2 * Log_Record_Length; }, 120000))
        << firing.readAll().toStdString();
    ASSERT_EQ(::kill(static_cast<pid_t>(firing.processId()), SIGKILL), 0);
    ASSERT_TRUE(firing.waitForFinished(10000));
    ASSERT_EQ(firing.exitStatus(), QProcess::CrashExit);

    Clock.Advance(40 * 60);
    Start_Program();
    Alarm_Banner_Widget& banner = *Window().Banner;
    ASSERT_TRUE(banner.isVisible()) << Messages();
    const QString told = banner.Alarm_Text->text();
    EXPECT_TRUE(told.startsWith(
        "The firing was interrupted: quick_test.txt\nIt stopped at 09:00, elapsed time 0.00 min, "))
        << told.toStdString();
    EXPECT_TRUE(told.contains("\nStopped for 40 min, the kiln is now at ")) << told.toStdString();
    EXPECT_TRUE(
        told.endsWith("RUN PROFILE continues the firing; LogFile -> \"Reset Logfile and "
                      "Time\" starts from 0"))
        << told.toStdString();
    EXPECT_NE(Messages().find(told.toStdString()), std::string::npos) << Messages();
    const Firing_Record record =
        Parse_Firing_Record(Read_Whole_File(Paths.Logfile(Firing_Record_Name("cut.txt"))));
    ASSERT_FALSE(record.Lines.empty());
    EXPECT_EQ(record.Lines.back().Event, "interrupted");
    EXPECT_TRUE(record.Lines.back().Detail.ends_with(", gap 40 min")) << record.Lines.back().Detail;

    ASSERT_TRUE(banner.Acknowledge->isVisible());
    QTest::mouseClick(banner.Acknowledge, Qt::LeftButton);
    EXPECT_FALSE(banner.isVisible());
}

}  // namespace
}  // namespace corvanel::testing
