// The run window as a live view of a firing of the quick test against kiln-sim on a
// pseudo-terminal: traces, marker, read-outs by accessible name, the highlighted row,
// the printout, and the history redrawn after a restart with recall.

#include <QHeaderView>
#include <QLabel>
#include <QLineSeries>
#include <QPushButton>
#include <QTableWidget>
#include <QValueAxis>
#include <cstdlib>

#include "ui/profile_chart_view.h"
#include "profiles/profile_editor.h"
#include "program_rig.h"
#include "setup/setup_files.h"
#include "support/accessible_tree.h"

namespace corvanel::testing {
namespace {

using Live_View_Window = Program_Rig;

QString Read_Out(Traj_form_Window& window, const char* name) {
    auto* box = qobject_cast<QLineEdit*>(
        Found_Widget(Accessible_Tree(window), name, QAccessible::EditableText));
    return box ? box->text() : "<no " + QString(name) + ">";
}

Trace_Points Points_Of(const QLineSeries& series) {
    Trace_Points points;
    for (const QPointF& point : series.points()) points.emplace_back(point.x(), point.y());
    return points;
}

// The rows whose cells carry the highlight, as 1-based segment numbers.
std::vector<int> Highlighted_Rows(QTableWidget& grid) {
    const QBrush highlight = grid.palette().brush(QPalette::Highlight);
    std::vector<int> rows;
    for (int row = 0; row < grid.rowCount(); ++row) {
        QTableWidgetItem* cell = grid.item(row, 0);
        if (cell && cell->background() == highlight) rows.push_back(row + 1);
    }
    return rows;
}

TEST_F(Live_View_Window, AFiringIsDrawnAsItRunsAndRedrawnFromItsLogAfterARestart) {
    Start_Kiln_Sim({"--speed=60"});
    Start_Program();
    Open_Quick_Test();
    Choose_Log("live.txt");
    Run_Chart_View& chart = *Window().ProfileChart;
    const Live_Firing_View& view = Program->Live_View();
    EXPECT_EQ(chart.Plan()->count(), 4);  // no rise from (0, 0) at time 0
    EXPECT_EQ(chart.Plan()->at(0), QPointF(0, 70));
    EXPECT_FALSE(chart.Now_Line()->isVisible());
    EXPECT_EQ(Read_Out(Window(), "Time Left"), "");
    auto* time_axis = qobject_cast<QValueAxis*>(chart.chart()->axes(Qt::Horizontal).at(0));
    auto* temperature_axis = qobject_cast<QValueAxis*>(chart.chart()->axes(Qt::Vertical).at(0));
    EXPECT_EQ(time_axis->titleText() + "|" + temperature_axis->titleText(),
              "Time (minutes)|Temperature (°F)");
    // Round ticks: every step between labels a whole number of degrees and minutes.
    for (QValueAxis* axis : {time_axis, temperature_axis}) {
        const double step = (axis->max() - axis->min()) / (axis->tickCount() - 1);
        EXPECT_EQ(step, std::round(step)) << axis->titleText().toStdString();
    }
    // The caption pass leaves the unit labels on the profile's units; every column title
    // fits its column.
    Window().Form_Activate();
    EXPECT_EQ(Window().TimeReadOut->text() + "|" + Window().SetPointReadOut->text(),
              "Time(mins)|SetTemp(F)");
    Profile_Editor_Window& editor = Program->Editor_Window();  // no scales chosen yet
    Program->Apply_Language();
    EXPECT_EQ(editor.TempScale->text() + "|" + editor.TimeScale->text(), "Deg-C|Hours");
    QTableWidget& grid = *Window().RunProfile_FlexGrid;
    for (const char* language : {"german", "spanish", "english"}) {
        CurrentLanguage = language;
        Window().Form_Activate();
        editor.Form_Activate();
        for (QTableWidget* titled : {&grid, editor.Profile_FlexGrid}) {
            for (int col = 0; col < titled->columnCount(); ++col) {
                const QString title = titled->horizontalHeaderItem(col)->text();
                EXPECT_LT(titled->horizontalHeader()->fontMetrics().horizontalAdvance(title),
                          titled->columnWidth(col))
                    << language << " " << title.toStdString();
            }
        }
    }

    const std::string log = Paths.Logfile("live.txt");
    auto records = [&] { return Read_Whole_File(log).size() / 21; };
    QTest::mouseClick(Window().Start_Profile, Qt::LeftButton);  // at 09:00:30
    ASSERT_TRUE(Eventually([&] { return records() >= 2; })) << Messages();
    EXPECT_EQ(Read_Out(Window(), "Time Left"), "8 min");
    EXPECT_EQ(Read_Out(Window(), "Finishes At"), "09:08");
    EXPECT_EQ(Highlighted_Rows(grid), std::vector<int>{1});
    EXPECT_TRUE(chart.Now_Line()->isVisible());

    Clock.Advance(4 * 60);  // into the hold, segment 2
    const std::size_t before = records();
    ASSERT_TRUE(Eventually([&] { return records() > before; }));
    ASSERT_TRUE(Eventually([&] { return Window().Segment_Executing->text() == "2"; }));
    EXPECT_EQ(Highlighted_Rows(grid), std::vector<int>{2});
    EXPECT_EQ(Read_Out(Window(), "Time Left"), "4 min");
    EXPECT_EQ(chart.Now_Line()->at(0).x(), 4.0);
    // One point of each trace per tick, each at its tick's elapsed time; the window
    // draws the view's points (of ticks at one elapsed time the first and the last).
    EXPECT_EQ(view.Measured().size(), records());
    EXPECT_EQ(view.Set_Value().size(), records());
    EXPECT_EQ(view.Set_Value().back(), std::make_pair(4.0, 200.0));
    EXPECT_EQ(view.Measured().back().second, Window().Real_Temp_Display_1->text().toDouble());
    EXPECT_EQ(Points_Of(*chart.Measured()), Drawn_Points(view.Measured()));
    EXPECT_EQ(Points_Of(*chart.Set_Value()), Drawn_Points(view.Set_Value()));
    EXPECT_TRUE(chart.chart()->legend()->isVisible());

    // The photograph for the README, taken mid-firing when asked for:
    // CORVANEL_SCREENSHOT=docs/run_window.png (a plain test run leaves the tree alone).
    if (const char* photo = std::getenv("CORVANEL_SCREENSHOT")) {
        EXPECT_TRUE(Window().grab().save(photo)) << photo;
    }

    QTest::mouseClick(Window().Start_Profile, Qt::LeftButton);  // suspend
    EXPECT_EQ(Read_Out(Window(), "Time Left"), "4 min");
    EXPECT_EQ(Read_Out(Window(), "Finishes At"), "suspended");
    EXPECT_TRUE(chart.Now_Line()->isVisible());

    // Printed after the firing: the measured trace on the chart, a small vector page.
    QTest::mouseClick(Window().SoftOff, Qt::LeftButton);
    EXPECT_EQ(Highlighted_Rows(grid), std::vector<int>{});
    Window().mnuPrintProfile->trigger();
    const std::size_t at = Messages().rfind("Profile printed to ");
    ASSERT_NE(at, std::string::npos) << Messages();
    const std::string pdf = Messages().substr(at + 19, Messages().find('\n', at) - at - 19);
    const std::string page = Read_Whole_File(pdf);
    EXPECT_EQ(page.substr(0, 5), "%PDF-");
    EXPECT_LT(page.size(), 200u * 1024) << pdf;

    // A restart with recall draws the firing's history from its log.
    const Trace_Points measured = view.Measured();
    Window().mnuRecallSetup->trigger();
    Window().mnuExitProgram->trigger();
    Program.reset();
    Start_Program();
    EXPECT_EQ(Program->Live_View().Measured(), measured);
    EXPECT_EQ(Points_Of(*Window().ProfileChart->Set_Value()),
              Drawn_Points(Program->Live_View().Set_Value()));
}

}  // namespace
}  // namespace corvanel::testing
