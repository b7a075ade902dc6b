// SPDX-License-Identifier: GPL-3.0-or-later
// The program against kiln-sim on a real pseudo-terminal. The model tests pin the rules;
// this shows the wiring.

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QLineSeries>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScatterSeries>
#include <QTableWidget>
#include <QTimer>
#include <cstdlib>
#include <set>

#include "app/windows/alarm_banner_widget.h"
#include "app/windows/comm_setup_window.h"
#include "app/windows/large_readouts_view.h"
#include "app/windows/run_chart_view.h"
#include "app/windows/serial_port_window.h"
#include "controller/windows/front_panel_window.h"
#include "history/firing_chart_painter.h"
#include "history/firing_history.h"
#include "history/windows/firing_history_window.h"
#include "run/firing_change.h"
#include "run/firing_record.h"
#include "run/log_file.h"
#include "run/windows/mail_settings_window.h"
#include "run/windows/safety_settings_window.h"
#include "setup/setup_files.h"
#include "support/program_rig.h"
#include "support/smtp_sink.h"
#include "ui/print_profile.h"

namespace corvanel::testing {
namespace {

using Run_Window = Program_Rig;

Trace_Points Points_Of(const QLineSeries& series) {
    Trace_Points points;
    for (const QPointF& point : series.points()) points.emplace_back(point.x(), point.y());
    return points;
}

std::string Last_Set_Value_Sent(const std::string& exchanges) {
    std::size_t at = exchanges.rfind("WS01");
    return at == std::string::npos ? "" : exchanges.substr(at + 4, 4);
}

// The potter changes the quick test while it runs, from the Change Firing menu: a lower
// end at the same rate, two minutes more of the hold, then a skip to the cooling.
TEST_F(Run_Window, AFiringIsChangedFromItsMenuAndTheChartShowsWhere) {
    Start_Kiln_Sim({"--speed=60"});
    Start_Program();
    Open_Quick_Test();
    Choose_Log("changed.txt");
    QTest::mouseClick(Window().Start_Profile, Qt::LeftButton);  // at 09:00:30
    Clock.Advance(60);
    ASSERT_TRUE(Eventually([&] { return Window().Elapsed_Time->text() == "1.00"; }));

    Change_Dialog.End_Temp = 150;
    Change_Dialog.Rate = 2600;
    Window().mnuChangeSegment->trigger();
    Clock.Advance(60);  // on the hold, now at 150
    ASSERT_TRUE(Eventually([&] { return Last_Set_Value_Sent(Sim.Exchanges()) == "0150"; }))
        << Messages();
    Change_Dialog.Minutes = 2;
    Window().mnuExtendHold->trigger();
    Window().mnuSkipSegment->trigger();
    Clock.Advance(60);  // a minute into the cooling: 150 less a third of 100
    ASSERT_TRUE(Eventually([&] { return Last_Set_Value_Sent(Sim.Exchanges()) == "0117"; }))
        << Messages();
    EXPECT_EQ(Change_Dialog.Questions.size(), 3u);

    const Run_Chart_View& chart = *Window().ProfileChart;
    EXPECT_TRUE(chart.Original_Plan()->isVisible());
    EXPECT_EQ(chart.Changes()->count(), 3);
    const Firing_Record record =
        Parse_Firing_Record(Read_Whole_File(Paths.Logfile(Firing_Record_Name("changed.txt"))));
    std::vector<std::string> changes;
    for (const Firing_Record_Line& line : record.Lines)
        if (Firing_Change_Of_Line(line.Event, line.Detail, 0, 0)) changes.push_back(line.Event);
    EXPECT_EQ(changes, (std::vector<std::string>{"segment changed", "hold extended", "skip"}));
}

TEST_F(Run_Window, AFiringIsRunDrawnLiveFinishedRecordedAndPrinted) {
    Start_Kiln_Sim({"--speed=60"});
    Start_Program();
    // The front panel and the port set-up take the line over and give it back.
    Window().mnuFrontPanel->trigger();
    FrontPanel_Window& panel = Program->Front_Panel_Window();
    EXPECT_TRUE(panel.isVisible() && !Window().isVisible());
    panel.RV_Command->click();
    ASSERT_TRUE(Eventually([&] { return !panel.Process_Value->text().isEmpty(); }));
    panel.Exit_FrontPanel->click();
    EXPECT_TRUE(Window().isVisible() && Window().Monitor_Interval->isActive());
    Window().frmCommPortConfig->trigger();
    CommSetUp_Window& setup = Program->Port_Setup_Window();
    setup.ScanPortNumber->click();  // port 1 answers; the others are not mapped here
    EXPECT_TRUE(setup.SerialPortPrompt->toPlainText().contains(
        "Serial Port #1  Temperature controller seen on this port number *"));
    setup.close();
    EXPECT_TRUE(Window().Monitor_Interval->isActive());

    // Before any profile the chart says what to do instead of drawing empty axes.
    Run_Chart_View& chart = *Window().ProfileChart;
    EXPECT_TRUE(chart.chart()->title().startsWith("Open a profile from the File menu"));
    EXPECT_FALSE(chart.Plan()->isVisible());
    Open_Quick_Test();
    Choose_Log("live.txt");
    EXPECT_EQ(Window().RunProfile_FlexGrid->item(3, 3)->text().trimmed(), "e");
    ASSERT_EQ(chart.Plan()->count(), 4);
    EXPECT_EQ(chart.chart()->title(), "quick_test.txt");
    EXPECT_TRUE(chart.Plan()->isVisible());
    // Plan, set value and measured apart by colour and by dash alike, for every eye and print.
    std::set<QRgb> colours;
    std::set<Qt::PenStyle> dashes;
    for (QLineSeries* line : {chart.Plan(), chart.Set_Value(), chart.Measured()}) {
        colours.insert(line->pen().color().rgb());
        dashes.insert(line->pen().style());
    }
    EXPECT_EQ(colours.size() + dashes.size(), 6u);

    const std::string log = Paths.Logfile("live.txt");
    QTest::mouseClick(Window().Start_Profile, Qt::LeftButton);  // at 09:00:30
    ASSERT_TRUE(Eventually([&] { return Read_Whole_File(log).size() >= 2 * 21; })) << Messages();
    EXPECT_EQ(Last_Set_Value_Sent(Sim.Exchanges()), "0070");  // the climb starts at 70 F
    EXPECT_EQ(Window().Time_Left->text() + "|" + Window().Finishes_At->text(), "8 min|09:08");

    Clock.Advance(4 * 60);  // into the hold, segment 2
    ASSERT_TRUE(Eventually([&] { return Window().Segment_Executing->text() == "2"; }));
    EXPECT_EQ(Last_Set_Value_Sent(Sim.Exchanges()), "0200");
    EXPECT_EQ(chart.Now_Line()->at(0).x(), 4.0);
    EXPECT_EQ(chart.chart()->title(), "quick_test.txt · 5 Dec 2026, 09:00");
    const Live_Firing_View& view = Program->Live_View();
    EXPECT_EQ(view.Measured().back().second, Window().Real_Temp_Display_1->text().toDouble());
    // Above the specified controls, large: what a potter reads from across the studio. The
    // plan holds at 200 F, but the kiln is still far below it: it is heating.
    const Large_Readouts_View& large = *Window().Large_Readouts;
    EXPECT_TRUE(large.isVisible());
    EXPECT_LT(Window().Real_Temp_Display_1->text().toDouble(), 180);
    EXPECT_EQ(
        large.State_Word->text() + "|" + large.Set_Value->text() + "|" + large.Time_Left->text(),
        "Heating|200 °F|" + Window().Time_Left->text());
    EXPECT_EQ(large.Measured->text(), Window().Real_Temp_Display_1->text() + " °F");
    EXPECT_GE(large.Measured->font().pointSize(), 28);
    EXPECT_EQ(Points_Of(*chart.Measured()), Drawn_Points(view.Measured()));

    // The pictures in docs/, taken when scripts/screenshots asks for them (a plain test run
    // leaves the tree alone): the run window mid-firing.
    const char* pictures = std::getenv("CORVANEL_SCREENSHOTS");
    if (pictures) EXPECT_TRUE(Window().grab().save(QString(pictures) + "/run_window.png"));

    // Closing the frame mid-firing asks first; "Cancel" keeps the firing going.
    Ask.Answer_OK = false;
    EXPECT_FALSE(Window().close());
    EXPECT_TRUE(Window().Control_Interval->isActive());

    QTest::mouseClick(Window().Start_Profile, Qt::LeftButton);  // suspend
    EXPECT_EQ(Window().Finishes_At->text(), "suspended");

    // Resumed, the run carries on from 4 minutes and finishes by itself.
    QTest::mouseClick(Window().Start_Profile, Qt::LeftButton);
    Clock.Advance(5 * 60);
    ASSERT_TRUE(Eventually([&] { return !Window().Control_Interval->isActive(); })) << Messages();
    EXPECT_NE(Messages().find("Profile Finished"), std::string::npos) << Messages();

    // The history lists the firing from its record, draws it, saves the chart as the log
    // tool's plot files and prints a report.
    QAction* entry = Window().mnuFile->findChild<QAction*>("mnuFiringHistory");
    ASSERT_TRUE(entry && Window().mnuFile->actions().contains(entry));
    ASSERT_EQ(entry->text(), "Firing History");
    entry->trigger();
    Firing_History_Window& history = Program->History_Window();
    ASSERT_EQ(history.Firings->rowCount(), 1);
    EXPECT_EQ(history.Firings->item(0, 5)->text(), "finished");
    history.Firings->selectRow(0);
    const Firing_Chart& drawn = history.FiringChart->Chart();
    ASSERT_EQ(drawn.Series.size(), 3u);  // plan, set value, measured
    for (auto [name, signature] : std::vector<std::pair<std::string, std::string>>{
             {"a.png", "\x89PNG"}, {"a.svg", "<?xml"}, {"a.pdf", "%PDF"}}) {
        EXPECT_EQ(Write_Chart_File(drawn, Folder.File(name)), "") << name;
        EXPECT_EQ(Read_Whole_File(Folder.File(name)).substr(0, signature.size()), signature);
    }
    EXPECT_EQ(Write_Chart_File(drawn, "/proc/no/such/a.svg"), "cannot be written");
    if (pictures) {
        // The history with its chart, and the report's first page as it is printed.
        history.resize(1100, 700);
        EXPECT_TRUE(history.grab().save(QString(pictures) + "/history_window.png"));
        Firing_History pages(Paths, Program->Settings(), Log_Dialog,
                             [&](const Firing_Chart& chart, const std::vector<std::string>& lines,
                                 const std::string&) {
                                 const QImage page = Chart_Report_Image(
                                     [&](QPainter& painter, const QRect& area) {
                                         Paint_Firing_Chart(painter, QRectF(area), chart);
                                     },
                                     lines);
                                 EXPECT_TRUE(page.save(QString(pictures) + "/report.png"));
                                 return std::optional<std::string>("");
                             });
        pages.Form_Load();
        pages.Firings_Chosen({0});
        pages.Print_Report_Click();
    }
    history.PrintReport->click();  // no printer here: a PDF, named after the firing it holds
    const std::string said = history.History_Messages->toPlainText().toStdString();
    const std::size_t saved = said.rfind("Report saved to ");
    ASSERT_NE(saved, std::string::npos) << said;
    const std::string report = said.substr(saved + 16);
    EXPECT_NE(report.find("_report.pdf"), std::string::npos) << report;
    EXPECT_EQ(Read_Whole_File(report).substr(0, 5), "%PDF-");
    history.close();

    // Kiln Health reads the same record: one firing is too few to compare with.
    Window().mnuFile->findChild<QAction*>("mnuKilnHealth")->trigger();
    QWidget* health = Shown_Window("Kiln_Health");
    ASSERT_TRUE(health);
    EXPECT_EQ(health->findChild<QPlainTextEdit*>("Health_Readings")->toPlainText().left(22),
              "Too few firings at ful");
    health->close();

    // The profile printed: a small vector page.
    Window().mnuPrintProfile->trigger();
    const std::size_t at = Messages().rfind("Profile printed to ");
    ASSERT_NE(at, std::string::npos) << Messages();
    const std::string page =
        Read_Whole_File(Messages().substr(at + 19, Messages().find('\n', at) - at - 19));
    EXPECT_EQ(page.substr(0, 5), "%PDF-");
    EXPECT_LT(page.size(), 200u * 1024);

    // The safety dialog is modal: it is worked from inside its own event loop.
    QTimer::singleShot(200, [&] {
        auto* dialog = qobject_cast<Safety_Settings_Window*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        dialog->findChild<QCheckBox*>("Start_At_Kiln_Temperature")->setChecked(true);
        auto* minutes = dialog->findChild<QLineEdit*>("Heat_Minutes");
        minutes->setText("0");  // taken are the good entries; a bad one shows the value kept
        QTest::mouseClick(dialog->findChild<QPushButton*>("Safety_OK"), Qt::LeftButton);
        EXPECT_EQ(minutes->text() + "|" + dialog->findChild<QLabel*>("Safety_Messages")->text(),
                  "20|Minutes at full power: \"0\" is not a number from 1 to 600, so 20 is "
                  "used.\r\nSet Minutes at full power again to keep a value of your own.");
        EXPECT_TRUE(Model().Run().Safety_Settings_In_Force().Start_At_Kiln_Temperature);
        QTest::mouseClick(dialog->findChild<QPushButton*>("Safety_OK"), Qt::LeftButton);
        if (dialog->isVisible()) dialog->reject();  // refused again: the test goes on
    });
    const QList<QAction*> entries = Window().mnuSetUp->actions();  // before remote monitoring, MQTT
    QAction* safety = entries[entries.size() - 3];
    ASSERT_EQ(safety->objectName() + "|" + safety->text(), "mnuSafetySettings|Safety Settings");
    safety->trigger();
    EXPECT_NE(Read_Whole_File(Paths.Setup_File("Safety.txt")).find("Heat_Minutes=20\r\n"),
              std::string::npos);

    // Closed by its frame with no firing: no question, the setup is saved, the port closed.
    Window().mnuRecallSetup->trigger();
    EXPECT_TRUE(Window().close());
    EXPECT_EQ(Ask.Questions.size(), 1u);
    EXPECT_EQ(Ends, 1);
    EXPECT_FALSE(Program->Serial_Window().Device().Port_Open());
    EXPECT_EQ(Read_First_Line(Paths.Setup_File("Check_Flag.txt")), "checked");
}

// Large read-outs turned off by their setting come back from the SetUp menu, kept for the
// next start. A thermocouple break on every exchange: after two readings the banner is red
// with its button; acknowledged it turns amber, says so, and the button goes. The alarm's mail,
// through the program's own outbox to a server nobody answers at, is said not to have
// gone out.
// Three days of firing, a tick a minute, on the chart: it draws no more points than its
// most (the chart keeps a path of each), from the first tick to the newest, and a gap in
// the readings still breaks the line.
TEST(Run_Chart, ALongFiringDrawsABoundedLineAlongItsWholeLength) {
    Make_Application();
    Temp_Folder folder;
    Live_Firing_View view{Program_Paths(folder.Path())};
    Run_Chart_View chart("chart", nullptr);
    Firing_Status status;
    status.State = Firing_State::Running;
    status.Time_Unit = "M";
    status.Temp_Scale = "F";
    status.Has_Reading = true;
    status.Clock = status.Last_Reading = {2026, 12, 5, 9, 0, 0};
    const std::vector<std::pair<double, double>> plan{{0, 70}, {72 * 60, 1800}};
    int most = 0;
    for (int minute = 0; minute <= 72 * 60; ++minute) {
        status.Real_Elapsed = minute;
        status.Set_Value = 70 + minute * 0.4;
        status.Measured = status.Set_Value - minute % 5;
        // An hour without readings on the second day.
        status.Last_Reading = minute / 60 == 30 ? Date_Time{2026, 12, 5, 8, 0, 0} : status.Clock;
        view.Firing_Changed(status, Firing_Event::Tick, "");
        chart.Show_Firing(plan, nullptr, view);
        most = std::max({most, chart.Measured()->count(), chart.Set_Value()->count()});
    }
    EXPECT_LE(most, static_cast<int>(Most_Drawn_Points) + 1);
    EXPECT_GT(chart.Set_Value()->count(), static_cast<int>(Most_Drawn_Points) / 4);
    EXPECT_EQ(chart.Set_Value()->at(0), QPointF(0, 70));
    EXPECT_EQ(chart.Measured()->points().back(), QPointF(72 * 60, 70 + 72 * 60 * 0.4));
    ASSERT_EQ(chart.Measured_Before_Gaps().size(), 1u);
    EXPECT_LT(chart.Measured_Before_Gaps()[0]->points().back().x(), 30 * 60);
    EXPECT_GE(chart.Measured()->at(0).x(), 31 * 60);
    // A day's firing is drawn a point a minute, as before.
    EXPECT_EQ(Drawing_Span(Trace_Points(view.Measured().begin(),
                                        view.Measured().begin() + 24 * 60)),
              1);
}

TEST_F(Run_Window, AnAcknowledgedAlarmTurnsTheBannerAndTakesItsButtonAway) {
    Start_Kiln_Sim({"--tc-break=1"});
    // Two readings in a row are enough: the window need not wait out the set time.
    Write_Whole_File(Paths.Setup_File("Safety.txt"), "Alarm_Confirm_Seconds=0\r\n");
    Write_Whole_File(Paths.Setup_File("MailServer.txt"), "smtp://127.0.0.1:1\r\n");
    Write_Whole_File(Paths.Setup_File("LargeReadouts.txt"), "unchecked\r\n");
    Real_Mail = true;
    Start_Program();
    EXPECT_FALSE(Window().Large_Readouts->isVisible()) << "turned off by its setting";
    EXPECT_FALSE(Window().mnuLargeReadouts->isChecked());
    Window().mnuLargeReadouts->trigger();
    EXPECT_TRUE(Window().Large_Readouts->isVisible()) << "turned on again from the SetUp menu";
    EXPECT_TRUE(Window().mnuLargeReadouts->isChecked());
    EXPECT_EQ(Read_First_Line(Paths.Setup_File("LargeReadouts.txt")), "checked");
    Model().mnuEnableEmailNotification = true;
    Model().Email_Notification = "potter@studio.example";
    Open_Quick_Test();
    QTest::mouseClick(Window().Start_Profile, Qt::LeftButton);
    Alarm_Banner_Widget& banner = *Window().Banner;
    ASSERT_TRUE(Eventually([&] { return banner.isVisible(); })) << Messages();
    EXPECT_TRUE(banner.Acknowledge->isVisible());
    EXPECT_TRUE(banner.styleSheet().contains("#d00000"));
    ASSERT_TRUE(Eventually(
        [&] { return banner.Alarm_Text->text().contains("The alarm mail could not be sent: "); }));
    EXPECT_TRUE(banner.Alarm_Text->text().endsWith(
        "\nThe alarm mail could not be sent: the mail server 127.0.0.1 could not be reached on "
        "port 1. Check the server, the port and that this computer is online"));
    Clock.Set({2026, 12, 5, 14, 35, 0});
    QTest::mouseClick(banner.Acknowledge, Qt::LeftButton);
    // The mail that did not go out stays said: acknowledging sends no mail.
    EXPECT_EQ(banner.Alarm_Text->text().section('\n', 0, 0),
              "Acknowledged at 14:35: Thermocouple break still present");
    EXPECT_TRUE(banner.Alarm_Text->text().contains("The alarm mail could not be sent: "));
    EXPECT_FALSE(banner.Acknowledge->isVisible());
    EXPECT_TRUE(banner.styleSheet().contains("#f0a020"));
}

// Email -> Mail Settings against a real SMTP server on loopback: the test mail of the
// entries as typed is accepted, refused with the server's reason, or finds nobody there;
// OK keeps the server in the address the mail sender reads.
TEST_F(Run_Window, TheMailSettingsTestMailSaysWhatBecameOfIt) {
    Temp_Folder mailbox;
    Smtp_Sink sink(mailbox.Path());
    ASSERT_FALSE(sink.Port().empty()) << "the loopback SMTP server did not start";
    Start_Kiln_Sim();
    Start_Program();
    const struct {
        std::string Port, To, Said;
    } cases[] = {
        {sink.Port(), "potter@studio.example",
         "The test mail was sent to potter@studio.example\r\nIf it does not arrive, look in the "
         "spam folder"},
        {sink.Port(), "nobody@studio.example",
         "The test mail could not be sent: the mail server refused the mail: No such mailbox "
         "here\r\nCheck the sender's address in Email -> Mail Settings and the addresses of the "
         "notification list"},
        {"1", "potter@studio.example",
         "The test mail could not be sent: the mail server 127.0.0.1 could not be reached on port "
         "1\r\nCheck the server, the port and that this computer is online"}};
    QTimer::singleShot(200, [&] {
        auto* dialog = qobject_cast<Mail_Settings_Window*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        auto* message = dialog->findChild<QLabel*>("Mail_Settings_Message");
        dialog->findChild<QLineEdit*>("Mail_Server")->setText("127.0.0.1");
        dialog->findChild<QLineEdit*>("MailFrom")->setText("kiln@studio.example");
        for (const auto& c : cases) {
            SCOPED_TRACE(c.To + " on " + c.Port);
            dialog->findChild<QLineEdit*>("Mail_Port")->setText(QString::fromStdString(c.Port));
            Model().Email_Notification = c.To;
            QTest::mouseClick(dialog->Test_Button, Qt::LeftButton);
            EXPECT_TRUE(Eventually([&] { return dialog->Test_Button->isEnabled(); }));
            EXPECT_EQ(message->text().toStdString(), c.Said);
            // The picture in docs/, when scripts/screenshots asks for it: a test mail sent.
            const char* pictures = std::getenv("CORVANEL_SCREENSHOTS");
            if (pictures && &c == &cases[0])
                EXPECT_TRUE(dialog->grab().save(QString(pictures) + "/mail_settings.png"));
        }
        EXPECT_NE(sink.Message(1).find("Subject: Kiln test mail\r\n"), std::string::npos);
        dialog->findChild<QLineEdit*>("Mail_Port")->setText(QString::fromStdString(sink.Port()));
        QTest::mouseClick(dialog->findChild<QPushButton*>("Mail_Settings_OK"), Qt::LeftButton);
        if (dialog->isVisible()) dialog->reject();
    });
    QAction* entry = Window().mnuEmail->actions().last();
    ASSERT_EQ(entry->objectName() + "|" + entry->text(), "mnuMailSettings|Mail Settings");
    entry->trigger();
    EXPECT_EQ(Read_Whole_File(Paths.Setup_File("MailServer.txt")),
              "smtp://127.0.0.1:" + sink.Port() + "\r\n");
    EXPECT_EQ(Read_Whole_File(Paths.Setup_File("MailFrom.txt")), "kiln@studio.example\r\n");
}

}  // namespace
}  // namespace corvanel::testing
