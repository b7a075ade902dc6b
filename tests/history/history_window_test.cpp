// SPDX-License-Identifier: GPL-3.0-or-later
// The Firing History window's witness-cone controls, wired to its model: typed and kept
// with the firing, the kiln's offset proposed, taken only when the operator clicks for it.

#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>
#include <functional>

#include "history/firing_chart_painter.h"
#include "history/windows/firing_history_window.h"
#include "history/witness_cones.h"
#include "support/fake_platform.h"
#include "ui/print_profile.h"
#include "support/temp_folder.h"
#include "synthetic_firing.h"

namespace corvanel {
namespace {

// The test program's one application, never destroyed: the windows' statics outlive it.
void Make_Application() {
    static int argc = 1;
    static char name[] = "history_window_tests";
    static char* argv[] = {name, nullptr};
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    if (!QCoreApplication::instance()) new QApplication(argc, argv);
}

// A program folder with three glaze firings of one kiln, a week apart.
class History_Window : public ::testing::Test {
  protected:
    void SetUp() override { Make_Application(); }
    void Write_Firings(const std::function<void(Synthetic_Firing&, int day)>& vary) {
        Write_Synthetic_Firings(paths.Logfiles_Folder(), {4, 5, 6}, vary);
    }
    Temp_Folder folder;
    Program_Paths paths{folder.Path()};
    Fake_File_Dialog dialog;
    Settings_Store settings{paths};
};

TEST_F(History_Window, WitnessConesAreKeptAndTheOffsetTakenOnlyOnTheOperatorsClick) {
    Write_Firings([](Synthetic_Firing& firing, int day) {
        firing.Peak = 2080 + 15 * day;
        firing.Kiln = "Kiln A";
    });
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

// Three firings of a long-named profile overlaid: on the screen and on the report's page
// every firing's name in the legend is whole and no two legend names overlap.
TEST_F(History_Window, OverlaidFiringsAreNamedWholeInTheLegendOnScreenAndInTheReport) {
    Write_Firings([](Synthetic_Firing& firing, int) {
        firing.Profile = "Stoneware glaze cone 6 with slow cool.txt";
    });
    Firing_History_Window window(paths, dialog, settings);
    window.Open();
    window.resize(1366 - 20, 768 - 60);
    window.show();
    window.Firings->selectAll();
    const Firing_Chart& chart = window.FiringChart->Chart();
    ASSERT_EQ(chart.Record_Labels.size(), 3u);
    auto expect_whole = [&](const QFontMetricsF& metrics, const QRectF& area, const char* where) {
        const std::vector<Legend_Place> legend = Lay_Out_Legend(metrics, area, chart);
        ASSERT_EQ(legend.size(), 6u) << where;
        for (std::size_t i = 0; i < legend.size(); ++i) {
            const std::string name =
                i < 3 ? chart.Kind_Names[i] : chart.Record_Labels[i - 3];
            EXPECT_EQ(legend[i].Text.toStdString(), name) << where;
            EXPECT_TRUE(area.contains(legend[i].Text_Area)) << where << " " << name;
            for (std::size_t j = 0; j < i; ++j) {
                EXPECT_FALSE(legend[i].Text_Area.intersects(legend[j].Text_Area))
                    << where << " " << name;
            }
        }
    };
    expect_whole(QFontMetricsF(window.FiringChart->font()), QRectF(window.FiringChart->rect()),
                 "on screen");
    Chart_Report_Image(
        [&](QPainter& painter, const QRect& area) {
            expect_whole(QFontMetricsF(painter.font()), QRectF(area), "in the report");
        },
        {"a line of the report"}, 794);
}

}  // namespace
}  // namespace corvanel
