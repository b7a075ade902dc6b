// The program's run window against kiln-sim on a real pseudo-terminal: what an
// operator sees from start-up through a firing to the exit.

#include <QChartView>
#include <QLabel>
#include <QLineEdit>
#include <QLineSeries>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QTimer>

#include "app/dlg_get_name.h"
#include "app/serial_port_window.h"
#include "program_rig.h"
#include "setup/setup_files.h"

namespace corvanel::testing {
namespace {

using Run_Window = Program_Rig;

constexpr std::size_t Record_Length = 21;

QString Cell(QTableWidget& grid, int row, int col) {
    QTableWidgetItem* cell = grid.item(row, col);
    return cell ? cell->text() : QString();
}

std::string Last_Set_Value_Sent(const std::string& exchanges) {
    std::size_t at = exchanges.rfind("WS01");
    return at == std::string::npos ? "" : exchanges.substr(at + 4, 4);
}

TEST_F(Run_Window, FirstStartShowsTheDefaultsInMonitorModeAfterSendingMA01ToUnit0) {
    Start_Kiln_Sim();
    Start_Program();
    EXPECT_TRUE(Window().isVisible());
    EXPECT_EQ(Window().windowTitle(), "Run Temperature Profile ");
    EXPECT_EQ(Messages().rfind("Thermal Device Name set == \n", 0), 0u) << Messages();
    EXPECT_NE(Messages().find("Monitor Mode"), std::string::npos);
    EXPECT_TRUE(Window().Monitor_Interval->isActive());
    EXPECT_FALSE(Window().Control_Interval->isActive());
    EXPECT_FALSE(Window().Message->isActive());
    EXPECT_TRUE(Window().mnuComm[0]->isChecked());
    EXPECT_FALSE(Window().mnuComm[1]->isChecked() || Window().mnuComm[2]->isChecked());
    EXPECT_FALSE(Window().mnuRecallSetup->isChecked());
    EXPECT_EQ(Window().OvenName->text(), "");
    EXPECT_EQ(Window().Email_Notification->text(), "");
    // No profile, so hours, and the caption pass after the load leaves the label on it.
    EXPECT_EQ(Window().Monitor_Interval->interval(), 60000);
    EXPECT_EQ(Window().TimeReadOut->text(), "Time(hours)");
    // The one monitoring tick of the load read the kiln.
    EXPECT_NE(Window().Real_Temp_Display_1->text(), "");
    EXPECT_TRUE(Window().Duty_Cycle->text().endsWith('%'));
    EXPECT_EQ(Exchanges().substr(Exchanges().find("#1 <- ") + 6, 7), "@00MA01") << Exchanges();
    EXPECT_NE(Exchanges().find("#2 <- @00RS01"), std::string::npos) << Exchanges();
    for (const char* folder : {"Setup", "Profiles", "Logfiles"}) {
        EXPECT_TRUE(std::filesystem::is_directory(Folder.Path() / folder)) << folder;
    }
    EXPECT_FALSE(Program->Serial_Window().isVisible());
}

TEST_F(Run_Window, OpeningAProfileFillsTheGridAndChartsOneMorePointThanItHasRows) {
    Start_Kiln_Sim();
    Start_Program();
    Open_Quick_Test();
    EXPECT_EQ(Profile_Dialog.Open_Requests.size(), 1u);
    EXPECT_EQ(Window().Profile_Name->text(), "quick_test.txt");
    EXPECT_NE(Messages().find("Profile Loaded"), std::string::npos) << Messages();
    EXPECT_EQ(Window().TimeReadOut->text(), "Time(mins)");
    EXPECT_EQ(Window().SetPointReadOut->text(), "SetTemp(F)");

    QTableWidget& grid = *Window().RunProfile_FlexGrid;
    EXPECT_EQ(grid.rowCount() + 1, 256);  // the title row is the grid's header
    EXPECT_EQ(grid.columnCount(), 10);
    int rows = 0;
    while (!Cell(grid, rows, 3).isEmpty()) ++rows;
    ASSERT_EQ(rows, 4);  // three segments and the end row
    EXPECT_EQ(Cell(grid, 0, 0).trimmed(), "1");
    EXPECT_EQ(Cell(grid, 0, 5).trimmed(), "200");
    EXPECT_EQ(Cell(grid, 3, 3).trimmed(), "e");
    EXPECT_EQ(Cell(grid, 3, 1).toDouble(), 8.0);

    // The chart's points less the first corner (0, 0), which the chart leaves out.
    EXPECT_EQ(Model().ProfileChart_Points.size(), static_cast<std::size_t>(rows + 1));
    QLineSeries* series = Window().ProfileChart->Plan();
    ASSERT_EQ(series->count(), rows);
    EXPECT_EQ(series->at(rows - 1).x(), 8.0);
    EXPECT_EQ(series->at(rows - 1).y(), 100.0);
    // Saved at once, so the profile survives even an abnormal end.
    EXPECT_EQ(Read_First_Line(Paths.Setup_File("Profile_Name.txt")), "quick_test.txt");
}

TEST_F(Run_Window, AFiringRunsTicksOverThePortLogsEachOneAndSuspendsAndFinishesSafely) {
    Start_Kiln_Sim({"--speed=60"});
    Start_Program();
    Open_Quick_Test();
    Choose_Log("firing.txt");
    const std::string log = Paths.Logfile("firing.txt");
    auto records = [&] {
        return std::filesystem::exists(log) ? std::filesystem::file_size(log) / Record_Length : 0;
    };

    QTest::mouseClick(Window().Start_Profile, Qt::LeftButton);
    EXPECT_TRUE(Window().Start_Profile->styleSheet().contains("red"));
    EXPECT_TRUE(Window().Control_Interval->isActive());
    EXPECT_EQ(Window().Control_Interval->interval(), 3000);
    EXPECT_FALSE(Window().Monitor_Interval->isActive());
    EXPECT_FALSE(Window().Elapsed_Time->isEnabled());
    ASSERT_GE(records(), 1u) << Messages();
    EXPECT_EQ(Read_Whole_File(log).substr(0, 9), "0.00     ");
    EXPECT_EQ(Window().Segment_Executing->text(), "1");
    EXPECT_EQ(Last_Set_Value_Sent(Exchanges()), "0070");  // the climb starts at 70 F

    // The control timer goes on by itself, one record per tick.
    ASSERT_TRUE(Eventually([&] { return records() >= 2; })) << Messages();
    Clock.Advance(120);
    const std::size_t before = records();
    ASSERT_TRUE(Eventually([&] { return records() > before; }));
    std::string contents = Read_Whole_File(log);
    EXPECT_EQ(contents.size() % Record_Length, 0u);
    EXPECT_EQ(contents.substr(contents.size() - Record_Length, 9), "2.00     ");
    EXPECT_EQ(Window().Elapsed_Time->text(), "2.00");
    EXPECT_EQ(Last_Set_Value_Sent(Exchanges()), "0157");  // 70 + 2 * 130 / 3, rounded
    EXPECT_EQ(Window().Profile_Temperature->text(), "157");

    // Suspend: the set value stays, the kiln is only watched.
    QTest::mouseClick(Window().Start_Profile, Qt::LeftButton);
    EXPECT_EQ(Window().Start_Profile->styleSheet(), "");
    EXPECT_FALSE(Window().Control_Interval->isActive());
    EXPECT_TRUE(Window().Monitor_Interval->isActive());
    EXPECT_TRUE(Window().Elapsed_Time->isEnabled());
    EXPECT_NE(Messages().find("Profile Suspended - temperature fixed at present value"),
              std::string::npos);
    EXPECT_EQ(Last_Set_Value_Sent(Exchanges()), "0157");

    // Resumed, the run carries on from 2 minutes; past the end it finishes by itself
    // with a soft off to room temperature.
    QTest::mouseClick(Window().Start_Profile, Qt::LeftButton);
    EXPECT_TRUE(Window().Control_Interval->isActive());
    Clock.Advance(7 * 60);
    ASSERT_TRUE(Eventually([&] { return !Window().Control_Interval->isActive(); })) << Messages();
    EXPECT_NE(Messages().find("Profile Finished"), std::string::npos) << Messages();
    EXPECT_NE(Messages().find("Refractory oven set to room temperature"), std::string::npos);
    EXPECT_EQ(Last_Set_Value_Sent(Exchanges()), "0070");
    EXPECT_TRUE(Window().Monitor_Interval->isActive());
    EXPECT_EQ(Window().Start_Profile->styleSheet(), "");
}

TEST_F(Run_Window, SoftOffDuringARunWritesRoomTemperatureAndReturnsToMonitorMode) {
    Start_Kiln_Sim();
    Start_Program();
    Open_Quick_Test();
    QTest::mouseClick(Window().Start_Profile, Qt::LeftButton);
    ASSERT_TRUE(Window().Control_Interval->isActive());
    QTest::mouseClick(Window().SoftOff, Qt::LeftButton);
    EXPECT_FALSE(Window().Control_Interval->isActive());
    EXPECT_TRUE(Window().Monitor_Interval->isActive());
    EXPECT_EQ(Last_Set_Value_Sent(Exchanges()), "0070");
    EXPECT_NE(Messages().find("WARNING! POWER STILL APPLIED"), std::string::npos);
}

TEST_F(Run_Window, ExitProgramStopsPollingSavesTheSetupAndClosesThePort) {
    Start_Kiln_Sim();
    Start_Program();
    Open_Quick_Test();
    QTest::mouseClick(Window().Start_Profile, Qt::LeftButton);
    ASSERT_TRUE(Program->Serial_Window().Device().Port_Open());
    Window().mnuExitProgram->trigger();
    EXPECT_EQ(Ends, 1);
    EXPECT_FALSE(Window().Control_Interval->isActive());
    EXPECT_FALSE(Window().Monitor_Interval->isActive());
    EXPECT_FALSE(Program->Serial_Window().Device().Port_Open());
    EXPECT_EQ(Read_First_Line(Paths.Setup_File("Check_Flag.txt")), "unchecked");
    EXPECT_EQ(Read_First_Line(Paths.Setup_File("CommPortNumber.txt")), "1");
    EXPECT_EQ(Read_First_Line(Paths.Setup_File("EnableEmailNotification.txt")), "unchecked");
    EXPECT_EQ(Read_First_Line(Paths.Setup_File("Profile_Name.txt")), "quick_test.txt");
    EXPECT_TRUE(Ask.Questions.empty());
}

TEST_F(Run_Window, ClosingTheFrameDuringAFiringAsksFirstAndThenExitsAsExitProgramDoes) {
    Start_Kiln_Sim();
    Start_Program();
    Open_Quick_Test();
    QTest::mouseClick(Window().Start_Profile, Qt::LeftButton);

    Ask.Answer_OK = false;
    EXPECT_FALSE(Window().close());
    ASSERT_EQ(Ask.Questions.size(), 1u);
    EXPECT_NE(Ask.Questions[0].find("Profile Running"), std::string::npos);
    EXPECT_EQ(Ends, 0);
    EXPECT_TRUE(Window().isVisible());
    EXPECT_TRUE(Window().Control_Interval->isActive());

    Ask.Answer_OK = true;
    EXPECT_TRUE(Window().close());
    EXPECT_EQ(Ends, 1);
    EXPECT_FALSE(Program->Serial_Window().Device().Port_Open());
    EXPECT_EQ(Read_First_Line(Paths.Setup_File("Check_Flag.txt")), "unchecked");
}

TEST_F(Run_Window, ClosingTheFrameWhileOnlyWatchingExitsWithoutAsking) {
    Start_Kiln_Sim();
    Start_Program();
    EXPECT_TRUE(Window().close());
    EXPECT_TRUE(Ask.Questions.empty());
    EXPECT_EQ(Ends, 1);
    EXPECT_TRUE(std::filesystem::exists(Paths.Setup_File("CommPortNumber.txt")));
}

TEST_F(Run_Window, TheOperatorTypesAnElapsedTimeAndANotificationList) {
    Start_Kiln_Sim();
    Start_Program();
    Open_Quick_Test();
    Window().activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&Window()));
    QLineEdit& time = *Window().Elapsed_Time;
    QTest::mouseClick(&time, Qt::LeftButton);
    ASSERT_TRUE(time.hasFocus());
    EXPECT_NE(Messages().find("Hit Backspace to ready for entry"), std::string::npos) << Messages();
    QTest::keyClick(&time, Qt::Key_Backspace);
    EXPECT_EQ(time.text(), "");
    QTest::keyClicks(&time, "2x.5");  // a letter is refused with a beep
    EXPECT_EQ(time.text(), "2.5");
    EXPECT_EQ(Beeper.Beeps, 1);
    QTest::keyClick(&time, Qt::Key_Return);
    EXPECT_NE(Messages().find("Time updated, ready to run"), std::string::npos) << Messages();
    EXPECT_EQ(Model().Run_Elapsed, 2.5);

    // Past the profile's end the time is refused.
    QTest::keyClick(&time, Qt::Key_Backspace);
    QTest::keyClicks(&time, "9");
    QTest::keyClick(&time, Qt::Key_Return);
    EXPECT_NE(Messages().find("Profile does not include time entered"), std::string::npos);
    EXPECT_EQ(Model().Run_Elapsed, 2.5);

    // The notification list is typed only while its edit item is checked.
    QLineEdit& mail = *Window().Email_Notification;
    EXPECT_TRUE(mail.isReadOnly());
    Window().mnuEditNotificationList->trigger();
    EXPECT_TRUE(Window().mnuEditNotificationList->isChecked());
    EXPECT_FALSE(mail.isReadOnly());
    QTest::keyClicks(&mail, "potter@studio.example");
    Window().mnuEditNotificationList->trigger();
    EXPECT_TRUE(mail.isReadOnly());
    Window().mnuExitProgram->trigger();
    EXPECT_EQ(Read_First_Line(Paths.Setup_File("Email_List.txt")), "potter@studio.example");
}

TEST_F(Run_Window, TheDeviceNameDialogNamesTheKilnOrKeepsTheOldNameOnCancel) {
    Start_Kiln_Sim();
    Start_Program();
    dlgGetName& dialog = Program->Name_Dialog_Window();
    auto answer = [&](const QString& typed, QPushButton* button) {
        QTimer::singleShot(0, &dialog, [&dialog, typed, button] {
            dialog.txtDeviceName->setText(typed);
            QTest::mouseClick(button, Qt::LeftButton);
        });
        Window().mnuSetUpName->trigger();
    };
    answer("Big Skutt", dialog.cmdOk);
    EXPECT_EQ(Window().OvenName->text(), "Big Skutt");
    EXPECT_EQ(Read_First_Line(Paths.Setup_File("ThermalDeviceName.txt")), "Big Skutt");
    EXPECT_NE(Messages().find("Thermal Device Name set == Big Skutt"), std::string::npos);

    answer("Test Kiln", dialog.cmdCancel);
    EXPECT_EQ(Window().OvenName->text(), "Big Skutt");
    EXPECT_EQ(Read_First_Line(Paths.Setup_File("ThermalDeviceName.txt")), "Big Skutt");
    EXPECT_NE(Messages().find("Thermal Device Name set == Test Kiln"), std::string::npos);
    EXPECT_FALSE(dialog.isVisible());
}

TEST_F(Run_Window, TheCaptionPassInGermanChangesCaptionsMenusDialogAndGridTitles) {
    Write_Text_File(Paths.Setup_File("InterfaceLanguage.txt"), "german.mdb");
    Start_Kiln_Sim();
    Start_Program();
    Window().Form_Activate();
    EXPECT_EQ(Window().windowTitle(), "Temperaturprofil fahren ");
    EXPECT_EQ(Window().Start_Profile->text(), " PROFIL STARTEN");
    EXPECT_EQ(Window().SoftOff->text(), "SANFT AUS");
    EXPECT_EQ(Window().Load_Profile_Frame->title(), "Profil laden");
    EXPECT_EQ(Window().mnuFile->title(), "Datei");
    EXPECT_EQ(Window().mnuFileOpen->text(), "Profil öffnen");
    EXPECT_EQ(Window().mnuExitProgram->text(), "Programm beenden");
    EXPECT_EQ(Program->Name_Dialog_Window().windowTitle(), "Gerätename eingeben");
    EXPECT_EQ(Window().RunProfile_FlexGrid->horizontalHeaderItem(1)->text(), "Startzeit");
    EXPECT_NE(Messages().find("Überwachungsbetrieb"), std::string::npos) << Messages();

    // Back to English: every caption returns to its design text.
    CurrentLanguage = "english";
    Window().Form_Activate();
    EXPECT_EQ(Window().windowTitle(), "Run Temperature Profile ");
    EXPECT_EQ(Window().mnuFileOpen->text(), "OpenProfile");
    EXPECT_EQ(Window().RunProfile_FlexGrid->horizontalHeaderItem(1)->text(), "Start Time");
}

}  // namespace
}  // namespace corvanel::testing
