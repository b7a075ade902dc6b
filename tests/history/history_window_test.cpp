// SPDX-License-Identifier: GPL-3.0-or-later
// The Firing History window's witness-cone controls, wired to its model: typed and kept
// with the firing, the kiln's offset proposed, taken only when the operator clicks for it.

#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>
#include <filesystem>

#include "history/windows/firing_history_window.h"
#include "history/witness_cones.h"
#include "support/fake_platform.h"
#include "support/temp_folder.h"
#include "synthetic_firing.h"

namespace corvanel {
namespace {

TEST(History_Window, WitnessConesAreKeptAndTheOffsetTakenOnlyOnTheOperatorsClick) {
    static int argc = 1;
    static char name[] = "history_window_tests";
    static char* argv[] = {name, nullptr};
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    Temp_Folder folder;
    Program_Paths paths{folder.Path()};
    Fake_File_Dialog dialog;
    Settings_Store settings(paths);
    for (int day = 4; day <= 6; ++day) {
        Synthetic_Firing firing;
        firing.Start = {2027, 1, day, 8, 0, 0};
        firing.Peak = 2080 + 15 * day;
        firing.Kiln = "Kiln A";
        Write_Whole_File(paths.Logfile("glaze" + std::to_string(day) + ".firing.csv"),
                         firing.Text());
    }
    Firing_History_Window window(paths, dialog, settings);
    window.Open();
    ASSERT_EQ(window.Firings->rowCount(), 3);
    const QString program_cone = window.Firings->item(0, 6)->text();
    const char* seen = "5 down, 6 at 3 o'clock, 7 standing";
    for (int row = 0; row < 3; ++row) {
        window.Firings->selectRow(row);
        window.Witness_Cones->clear();
        QTest::keyClicks(window.Witness_Cones, seen);
        QTest::mouseClick(window.SaveCones, Qt::LeftButton);
    }
    EXPECT_EQ(Read_Whole_File(paths.Logfile("glaze4.cones")), seen);
    EXPECT_TRUE(window.Cone_Offset_Proposal->text().contains("last 3 firings of this kiln read +"))
        << window.Cone_Offset_Proposal->text().toStdString();
    ASSERT_TRUE(window.TakeConeOffset->isEnabled());
    EXPECT_EQ(window.Firings->item(0, 6)->text(), program_cone);
    EXPECT_EQ(Read_Cone_Offset(settings).Cones, 0);
    QTest::mouseClick(window.TakeConeOffset, Qt::LeftButton);
    EXPECT_EQ(Read_Cone_Offset(settings).Kiln, "Kiln A");
    EXPECT_GT(Read_Cone_Offset(settings).Cones, 0);
    EXPECT_NE(window.Firings->item(0, 6)->text(), program_cone);
}

}  // namespace
}  // namespace corvanel
