// The program's run window against kiln-sim on a real pseudo-terminal: what an operator
// sees from start-up through a firing, live, to the exit and a restart with recall.

#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QLineSeries>
#include <QPushButton>
#include <QTableWidget>
#include <QTimer>
#include <QValueAxis>
#include <cstdlib>

#include "app/serial_port_window.h"
#include "language/caption_table.h"
#include "profiles/profile_editor.h"
#include "program_rig.h"
#include "run/firing_history_window.h"
#include "setup/setup_files.h"
#include "support/accessible_tree.h"
#include "ui/profile_chart_view.h"

namespace corvanel::testing {
namespace {

using Run_Window = Program_Rig;

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

std::string Last_Set_Value_Sent(const std::string& exchanges) {
    std::size_t at = exchanges.rfind("WS01");
    return at == std::string::npos ? "" : exchanges.substr(at + 4, 4);
}

TEST_F(Run_Window, AFiringIsRunDrawnLiveFinishedPrintedAndRecalledAfterARestart) {
    Start_Kiln_Sim({"--speed=60"});
    Start_Program();
    EXPECT_EQ(Window().windowTitle(), "Run Temperature Profile ");
    EXPECT_TRUE(Window().Monitor_Interval->isActive());
    for (const char* folder : {"Setup", "Profiles", "Logfiles"}) {
        EXPECT_TRUE(std::filesystem::is_directory(Folder.Path() / folder)) << folder;
    }

    Open_Quick_Test();
    Choose_Log("live.txt");
    QTableWidget& grid = *Window().RunProfile_FlexGrid;
    EXPECT_EQ(grid.item(3, 3)->text().trimmed(), "e");  // three segments and the end row
    EXPECT_EQ(grid.item(4, 3), nullptr);
    Run_Chart_View& chart = *Window().ProfileChart;
    ASSERT_EQ(chart.Plan()->count(), 4);  // no rise from (0, 0) at time 0
    EXPECT_EQ(chart.Plan()->at(0), QPointF(0, 70));
    EXPECT_EQ(chart.Plan()->at(3), QPointF(8, 100));
    EXPECT_FALSE(chart.Now_Line()->isVisible());
    auto* time_axis = qobject_cast<QValueAxis*>(chart.chart()->axes(Qt::Horizontal).at(0));
    auto* temperature_axis = qobject_cast<QValueAxis*>(chart.chart()->axes(Qt::Vertical).at(0));
    EXPECT_EQ(time_axis->titleText() + "|" + temperature_axis->titleText(),
              "Time (minutes)|Temperature (°F)");
    for (QValueAxis* axis : {time_axis, temperature_axis}) {  // round steps between labels
        const double step = (axis->max() - axis->min()) / (axis->tickCount() - 1);
        EXPECT_EQ(step, std::round(step)) << axis->titleText().toStdString();
    }
    // The caption pass translates the window and leaves the unit labels on the profile's
    // units; every column title fits its column in every language.
    Profile_Editor_Window& editor = Program->Editor_Window();
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
        if (CurrentLanguage == "german") {
            EXPECT_EQ(Window().Start_Profile->text() + "|" + Window().mnuFileOpen->text(),
                      " PROFIL STARTEN|Profil öffnen");
        }
    }
    EXPECT_EQ(Window().mnuFileOpen->text(), "OpenProfile");
    EXPECT_EQ(Window().TimeReadOut->text() + "|" + Window().SetPointReadOut->text(),
              "Time(mins)|SetTemp(F)");

    const std::string log = Paths.Logfile("live.txt");
    auto records = [&] { return Read_Whole_File(log).size() / 21; };
    QTest::mouseClick(Window().Start_Profile, Qt::LeftButton);  // at 09:00:30
    EXPECT_TRUE(Window().Start_Profile->styleSheet().contains("red"));
    EXPECT_EQ(Window().Control_Interval->interval(), 3000);
    EXPECT_FALSE(Window().Elapsed_Time->isEnabled());
    ASSERT_TRUE(Eventually([&] { return records() >= 2; })) << Messages();
    EXPECT_EQ(Last_Set_Value_Sent(Sim.Exchanges()), "0070");  // the climb starts at 70 F
    EXPECT_EQ(Read_Out(Window(), "Time Left"), "8 min");
    EXPECT_EQ(Read_Out(Window(), "Finishes At"), "09:08");
    EXPECT_EQ(Highlighted_Rows(grid), std::vector<int>{1});
    EXPECT_TRUE(chart.Now_Line()->isVisible());

    Clock.Advance(4 * 60);  // into the hold, segment 2
    ASSERT_TRUE(Eventually([&] { return Window().Segment_Executing->text() == "2"; }));
    const std::string contents = Read_Whole_File(log);
    EXPECT_EQ(contents.substr(contents.size() - 21, 9), "4.00     ");
    EXPECT_EQ(Last_Set_Value_Sent(Sim.Exchanges()), "0200");
    EXPECT_EQ(Highlighted_Rows(grid), std::vector<int>{2});
    EXPECT_EQ(Read_Out(Window(), "Time Left"), "4 min");
    EXPECT_EQ(chart.Now_Line()->at(0).x(), 4.0);
    // The window draws the view's points (of ticks at one elapsed time the first and last).
    const Live_Firing_View& view = Program->Live_View();
    EXPECT_EQ(view.Measured().back().second, Window().Real_Temp_Display_1->text().toDouble());
    EXPECT_EQ(Points_Of(*chart.Measured()), Drawn_Points(view.Measured()));
    EXPECT_EQ(Points_Of(*chart.Set_Value()), Drawn_Points(view.Set_Value()));
    EXPECT_TRUE(chart.chart()->legend()->isVisible());

    // The photograph for the README, taken mid-firing when asked for:
    // CORVANEL_SCREENSHOT=docs/run_window.png (a plain test run leaves the tree alone).
    if (const char* photo = std::getenv("CORVANEL_SCREENSHOT")) {
        EXPECT_TRUE(Window().grab().save(photo)) << photo;
    }

    // Closing the frame mid-firing asks first; "Cancel" keeps the firing going.
    Ask.Answer_OK = false;
    EXPECT_FALSE(Window().close());
    ASSERT_EQ(Ask.Questions.size(), 1u);
    EXPECT_NE(Ask.Questions[0].find("Profile Running"), std::string::npos);
    EXPECT_TRUE(Window().Control_Interval->isActive());

    QTest::mouseClick(Window().Start_Profile, Qt::LeftButton);  // suspend
    EXPECT_TRUE(Window().Monitor_Interval->isActive());
    EXPECT_TRUE(Window().Elapsed_Time->isEnabled());
    EXPECT_NE(Messages().find("Profile Suspended - temperature fixed at present value"),
              std::string::npos);
    EXPECT_EQ(Read_Out(Window(), "Time Left"), "4 min");
    EXPECT_EQ(Read_Out(Window(), "Finishes At"), "suspended");

    // Resumed, the run carries on from 4 minutes; past the end it finishes by itself
    // with a soft off to room temperature.
    QTest::mouseClick(Window().Start_Profile, Qt::LeftButton);
    Clock.Advance(5 * 60);
    ASSERT_TRUE(Eventually([&] { return !Window().Control_Interval->isActive(); })) << Messages();
    EXPECT_NE(Messages().find("Profile Finished"), std::string::npos) << Messages();
    EXPECT_EQ(Last_Set_Value_Sent(Sim.Exchanges()), "0070");
    EXPECT_EQ(Window().Start_Profile->styleSheet(), "");
    EXPECT_EQ(Highlighted_Rows(grid), std::vector<int>{});

    // File -> "Firing History" lists the firing from its record, draws it and prints it.
    Window().mnuFiringHistory->trigger();
    Firing_History_Window& history = Program->History_Window();
    ASSERT_EQ(history.Firings->rowCount(), 1);
    EXPECT_EQ(history.Firings->item(0, 1)->text(), "quick_test.txt");
    EXPECT_EQ(history.Firings->item(0, 5)->text(), "finished");
    EXPECT_FALSE(history.PrintReport->isEnabled());
    history.Firings->selectRow(0);
    ASSERT_EQ(history.FiringChart->Chart().Series.size(), 3u);  // plan, set value, measured
    EXPECT_TRUE(history.Firing_Summary->toPlainText().contains("Outcome: finished"));
    history.PrintReport->click();  // no printer here: a PDF
    const std::string report = (Folder.Path() / "Printouts" / "live_report.pdf").string();
    EXPECT_TRUE(history.History_Messages->toPlainText().contains(
        QString::fromStdString("Report saved to " + report)));
    EXPECT_EQ(Read_Whole_File(report).substr(0, 5), "%PDF-");
    history.close();

    // Printed after the firing: a small vector page.
    Window().mnuPrintProfile->trigger();
    const std::size_t at = Messages().rfind("Profile printed to ");
    ASSERT_NE(at, std::string::npos) << Messages();
    const std::string page =
        Read_Whole_File(Messages().substr(at + 19, Messages().find('\n', at) - at - 19));
    EXPECT_EQ(page.substr(0, 5), "%PDF-");
    EXPECT_LT(page.size(), 200u * 1024);

    // Exit with recall saves the setup and closes the port; the restart draws the
    // firing's history from its log.
    const Trace_Points measured = view.Measured();
    Window().mnuRecallSetup->trigger();
    Window().mnuExitProgram->trigger();
    EXPECT_EQ(Ends, 1);
    EXPECT_FALSE(Window().Monitor_Interval->isActive());
    EXPECT_FALSE(Program->Serial_Window().Device().Port_Open());
    EXPECT_EQ(Read_First_Line(Paths.Setup_File("Check_Flag.txt")), "checked");
    Program.reset();
    Start_Program();
    EXPECT_EQ(Program->Live_View().Measured(), measured);
    EXPECT_EQ(Points_Of(*Window().ProfileChart->Set_Value()),
              Drawn_Points(Program->Live_View().Set_Value()));
}

TEST_F(Run_Window, ControlsAreFoundAsReadAndTheOperatorTypesTimeNotificationListAndName) {
    Start_Kiln_Sim();
    Start_Program();
    // Assistive technology finds every control by the caption or label the operator reads,
    // with the tool tip as its description.
    auto tree = Accessible_Tree(Window());
    for (const char* caption : {" RUN PROFILE", "SOFT OFF"}) {
        EXPECT_TRUE(Has(tree, caption, QAccessible::Button)) << caption;
    }
    int menu_entries = 0;
    for (const Caption_Entry& entry : Caption_Table()) {
        if (entry.Window != Caption_Window::Traj_form || entry.Control.substr(0, 3) != "mnu")
            continue;
        QObject* item = Window().findChild<QObject*>(
            QString::fromUtf8(entry.Control.data(), entry.Control.size()));
        if (!item) continue;  // menus of windows still to come
        const QString caption = QString::fromUtf8(entry.English.data(), entry.English.size());
        EXPECT_TRUE(Has(tree, caption, QAccessible::MenuItem)) << caption.toStdString();
        ++menu_entries;
    }
    EXPECT_EQ(menu_entries, 27);  // ten menus and seventeen items
    const std::vector<std::pair<const char*, QLineEdit*>> boxes = {
        {"Time(hours)", Window().Elapsed_Time},  // no profile: the monitoring's unit
        {"Set Temp(F)", Window().Profile_Temperature},
        {"Process Temp", Window().Real_Temp_Display_1},
        {"Seg", Window().Segment_Executing},
        {"% Power", Window().Duty_Cycle},
        {"Log", Window().LogFile},
        {"Profile", Window().Profile_Name},
        {"Email", Window().Email_Notification}};
    for (auto [label, box] : boxes) {
        EXPECT_TRUE(Has(tree, label, QAccessible::EditableText, box->toolTip())) << label;
    }
    EXPECT_TRUE(
        Has(tree, "User Prompt Window", QAccessible::EditableText,
            "Watch this display for messages that inform you about the state of operation "));
    Open_Quick_Test();  // a profile in minutes: the time box follows its label
    EXPECT_TRUE(Has(Accessible_Tree(Window()), "Time(mins)", QAccessible::EditableText,
                    Window().Elapsed_Time->toolTip()));
    Window().activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&Window()));
    QLineEdit& time = *Window().Elapsed_Time;
    QTest::mouseClick(&time, Qt::LeftButton);
    ASSERT_TRUE(time.hasFocus());
    QTest::keyClick(&time, Qt::Key_Backspace);
    QTest::keyClicks(&time, "2x.5");  // a letter is refused with a beep
    EXPECT_EQ(time.text(), "2.5");
    EXPECT_EQ(Beeper.Beeps, 1);
    QTest::keyClick(&time, Qt::Key_Return);
    EXPECT_NE(Messages().find("Time updated, ready to run"), std::string::npos) << Messages();
    EXPECT_EQ(Model().Run_Elapsed, 2.5);

    // The notification list is typed only while its edit item is checked.
    QLineEdit& mail = *Window().Email_Notification;
    EXPECT_TRUE(mail.isReadOnly());
    Window().mnuEditNotificationList->trigger();
    EXPECT_FALSE(mail.isReadOnly());
    QTest::keyClicks(&mail, "potter@studio.example");
    Window().mnuEditNotificationList->trigger();
    EXPECT_TRUE(mail.isReadOnly());

    // The device name dialog names the kiln, or keeps the old name on Cancel.
    dlgGetName& dialog = Program->Name_Dialog_Window();
    auto answer = [&](const QString& typed, QPushButton* button) {
        QTimer::singleShot(0, &dialog, [&dialog, typed, button] {
            dialog.txtDeviceName->setText(typed);
            QTest::mouseClick(button, Qt::LeftButton);
        });
        Window().mnuSetUpName->trigger();
    };
    answer("Big Skutt", dialog.cmdOk);
    answer("Test Kiln", dialog.cmdCancel);
    EXPECT_EQ(Window().OvenName->text(), "Big Skutt");
    EXPECT_NE(Messages().find("Thermal Device Name set == Test Kiln"), std::string::npos);
    EXPECT_FALSE(dialog.isVisible());

    // Closed by its frame while only watching: no question, and the setup is saved.
    EXPECT_TRUE(Window().close());
    EXPECT_TRUE(Ask.Questions.empty());
    EXPECT_EQ(Ends, 1);
    EXPECT_EQ(Read_First_Line(Paths.Setup_File("Email_List.txt")), "potter@studio.example");
    EXPECT_EQ(Read_First_Line(Paths.Setup_File("ThermalDeviceName.txt")), "Big Skutt");
}

}  // namespace
}  // namespace corvanel::testing
