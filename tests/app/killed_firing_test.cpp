// SPDX-License-Identifier: GPL-3.0-or-later
// A firing whose program is started again on its folder while it runs, or is killed with
// SIGKILL or stopped with SIGSTOP (no exit, no soft off, no last word to the record): the
// kiln guard takes over, and the next start of the program on the folder takes the kiln
// back and tells of the firing.

#include <signal.h>

#include <QCoreApplication>
#include <QLabel>
#include <QProcess>
#include <QPushButton>
#include <QTimer>
#include <cstdlib>

#include "app/windows/alarm_banner_widget.h"
#include "guard/guard_heartbeat.h"
#include "run/firing_record.h"
#include "run/log_file.h"
#include "setup/program_lock.h"
#include "setup/setup_files.h"
#include "support/mosquitto_broker.h"
#include "support/program_rig.h"
#include "support/smtp_sink.h"
#include "support/tick_count.h"

namespace corvanel::testing {
namespace {

namespace fs = std::filesystem;

const char* const Folder_Variable = "CORVANEL_KILLED_FIRING_FOLDER";
const char* const Guard_Variable = "CORVANEL_KILLED_FIRING_GUARD_SECONDS";

// Every file of the folder with its contents, in one text.
std::string Snapshot(const fs::path& folder) {
    std::string all;
    for (const auto& entry : fs::recursive_directory_iterator(folder)) {
        if (entry.is_regular_file())
            all += entry.path().string() + "\n" + Read_Whole_File(entry.path().string());
    }
    return all;
}

class Killed_Firing : public Program_Rig {
  protected:
    // This test program started again for the firing case alone, on this folder.
    void Start_Firing(double guard_seconds = 0) {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(Folder_Variable, QString::fromStdString(Folder.Path().string()));
        environment.insert(Guard_Variable, QString::number(guard_seconds));
        environment.insert("QT_QPA_PLATFORM", "offscreen");
        Firing.setProcessEnvironment(environment);
        Firing.setProcessChannelMode(QProcess::MergedChannels);
        Firing.start(QCoreApplication::applicationFilePath(),
                     {"--gtest_filter=Killed_Firing.DISABLED_FiresUntilKilled",
                      "--gtest_also_run_disabled_tests"});
        ASSERT_TRUE(Eventually([&] { return Read_Whole_File(Log).size() >= 2 * Log_Record_Length; },
                               120000))
            << Firing.readAll().toStdString();
    }
    // A signal to the firing program alone: never to a process id 0, which is our group.
    void Signal_Firing(int signal) {
        const auto pid = static_cast<pid_t>(Firing.processId());
        ASSERT_GT(pid, 0) << "the firing program is not running";
        ASSERT_EQ(::kill(pid, signal), 0);
    }
    bool Guarded() {
        return Program_Lock::Holder_Of(Folder.Path(), Guard_Lock_File_Name).has_value();
    }
    Firing_Record Record() {
        return Parse_Firing_Record(Read_Whole_File(Paths.Logfile(Firing_Record_Name("cut.txt"))));
    }

    QProcess Firing;
    const std::string Log = Paths.Logfile("cut.txt");
};

// The program that is killed or stopped: it takes the folder as the program's start
// does, and fires the quick test until the signal comes.
TEST_F(Killed_Firing, DISABLED_FiresUntilKilled) {
    const char* folder = std::getenv(Folder_Variable);
    ASSERT_NE(folder, nullptr) << "started only by the cases below";
    Paths = Program_Paths(folder);
    const Program_Lock lock = Program_Lock::Take(Paths.Folder());
    Guard_Seconds = std::atof(std::getenv(Guard_Variable));
    Start_Program();
    Window().mnuRecallSetup->trigger();  // saved with the profile's and the log's names
    Open_Quick_Test();
    Choose_Log("cut.txt");
    QTest::mouseClick(Window().Start_Profile, Qt::LeftButton);
    Eventually([] { return false; }, 300000);  // killed long before
}

// A second start while the firing runs says who runs the kiln and changes nothing: not a
// setup file, not a word on the port, not a tick. Killed while the guard waits out its ten
// minutes, the next start sends the guard away without a word and tells of the firing until
// acknowledged. Its own runs, ended by a soft off or the profile's end, send their guard
// away before it ever opens the port.
TEST_F(Killed_Firing, ASecondStartIsRefusedTheNextTellsOfTheFiringAndEachRunsEndSendsTheGuardAway) {
    Start_Kiln_Sim({"--speed=60"});
    ASSERT_NO_FATAL_FAILURE(Start_Firing());
    ASSERT_TRUE(Guarded());
    const std::string setup_before = Snapshot(Folder.Path() / "Setup");
    const std::size_t heard_before = Sim.Exchanges().size();
    // The program's executable in this program folder makes it the program's folder.
    const fs::path second_copy = Folder.Path() / "corvanel";
    fs::copy_file(CORVANEL_PATH, second_copy);
    QProcess second;
    second.setProcessEnvironment(Firing.processEnvironment());
    second.start(QString::fromStdString(second_copy.string()), {});
    ASSERT_TRUE(Eventually([&] { return second.state() == QProcess::NotRunning; }, 120000));
    EXPECT_EQ(second.exitCode(), 2);
    const std::string said = second.readAllStandardError().toStdString();  // after Qt's notes
    EXPECT_TRUE(said.ends_with("Corvanel is already running for this kiln (process " +
                               std::to_string(Firing.processId()) +
                               ")\r\nUse its window, which is still open, or close it before "
                               "starting Corvanel again. Nothing was changed.\n"))
        << said;
    const std::string record = Paths.Logfile(Firing_Record_Name("cut.txt"));
    const int ticks = Tick_Lines(record);
    ASSERT_TRUE(Eventually([&] { return Tick_Lines(record) >= ticks + 2; }));
    EXPECT_EQ(Snapshot(Folder.Path() / "Setup"), setup_before);
    const std::string heard = Sim.Exchanges().substr(heard_before);
    EXPECT_EQ(heard.find("MA01"), std::string::npos) << heard;

    ASSERT_NO_FATAL_FAILURE(Signal_Firing(SIGKILL));
    ASSERT_TRUE(Firing.waitForFinished(10000));

    Clock.Advance(40 * 60);
    Start_Program();
    EXPECT_FALSE(Guarded());
    Alarm_Banner_Widget& banner = *Window().Banner;
    ASSERT_TRUE(banner.isVisible()) << Messages();
    // The notice word for word, and its line in the record, are pinned with the run model's
    // restart.
    const QString told = banner.Alarm_Text->text();
    EXPECT_TRUE(
        told.startsWith("The firing was interrupted: quick_test.txt\nIt stopped at 09:00, ") &&
        told.contains("\nStopped for 40 min, the kiln is now at "))
        << told.toStdString();
    EXPECT_EQ(Messages().find("kiln guard"), std::string::npos) << Messages();
    ASSERT_TRUE(banner.Acknowledge->isVisible());
    QTest::mouseClick(banner.Acknowledge, Qt::LeftButton);
    EXPECT_FALSE(banner.isVisible());

    for (const bool soft_off : {true, false}) {
        SCOPED_TRACE(soft_off ? "soft off" : "profile finished");
        QTest::mouseClick(Window().Start_Profile, Qt::LeftButton);
        ASSERT_TRUE(Eventually([&] { return Guarded(); })) << Messages();
        if (soft_off) {
            QTest::mouseClick(Window().SoftOff, Qt::LeftButton);
        } else {
            Clock.Advance(24 * 3600);  // the next tick is past the profile's end
        }
        EXPECT_TRUE(Eventually([&] { return !Guarded(); })) << Messages();
    }
    const std::string log = Read_Whole_File(Folder.File("corvanel-guard.log"));
    EXPECT_NE(log.find("the run ended or the program took the kiln back: standing down"),
              std::string::npos)
        << log;
    EXPECT_EQ(log.find("set value"), std::string::npos) << log;
}

// A shutdown of the computer (SIGTERM, as systemd sends it; SIGHUP for a session that
// ends goes the same way) in the middle of a firing: the program soft-offs the kiln
// itself, the record says why, the guard stands down, and the next start tells the potter.
TEST_F(Killed_Firing, AShutdownMidFiringSoftOffsTheKilnAndTheNextStartSaysSo) {
    Start_Kiln_Sim({"--speed=60"});
    ASSERT_NO_FATAL_FAILURE(Start_Firing(600));
    ASSERT_TRUE(Guarded());
    const std::size_t before = Sim.Exchanges().size();
    ASSERT_NO_FATAL_FAILURE(Signal_Firing(SIGTERM));
    ASSERT_TRUE(Eventually(
        [&] { return Sim.Exchanges().find("WS010070", before) != std::string::npos; }, 60000))
        << Sim.Exchanges().substr(before);
    ASSERT_TRUE(Eventually([&] { return !Guarded(); }, 60000)) << "the guard stayed";
    ASSERT_TRUE(Eventually([&] { return Record().Lines.back().Event == "soft off"; }));
    const std::vector<Firing_Record_Line> lines = Record().Lines;
    EXPECT_EQ(lines[lines.size() - 2].Event + ": " + lines[lines.size() - 2].Detail,
              "alarm raised: The computer was shutting down");
    Signal_Firing(SIGKILL);
    ASSERT_TRUE(Firing.waitForFinished(30000));
    EXPECT_EQ(Read_Whole_File(Folder.File("corvanel-guard.log")).find("set value"),
              std::string::npos);

    Start_Program();
    const std::string told = Window().Banner->Alarm_Text->text().toStdString();
    EXPECT_TRUE(
        told.starts_with("The last firing was ended when the computer was shutting down, at "))
        << told << "\n"
        << Messages();
    EXPECT_EQ(Messages().find("was interrupted"), std::string::npos) << Messages();
    Program.reset();
    Start_Program();  // said once
    EXPECT_EQ(Messages().find("shutting down"), std::string::npos) << Messages();
}

class Guard_Takes_Over : public Killed_Firing, public ::testing::WithParamInterface<int> {};

// Killed, or hanging (stopped: the guard ends it): the controller gets the soft off, the
// record the guard's line, the notification list a mail and the MQTT broker the state;
// the program started again takes the kiln back.
TEST_P(Guard_Takes_Over, SoftOffsTheControllerRecordsMailsAndHandsTheKilnBack) {
    Temp_Folder mailbox;
    Smtp_Sink sink(mailbox.Path());
    ASSERT_FALSE(sink.Port().empty()) << "the loopback SMTP server did not start";
    Write_Whole_File(Paths.Setup_File("MailServer.txt"), "smtp://127.0.0.1:" + sink.Port());
    Write_Whole_File(Paths.Setup_File("MailFrom.txt"), "kiln@studio.example");
    Write_Whole_File(Paths.Setup_File("Email_List.txt"), "potter@studio.example\r\n");
    Write_Whole_File(Paths.Setup_File("EnableEmailNotification.txt"), "checked\r\n");
    Mosquitto_Broker broker;
    ASSERT_NO_FATAL_FAILURE(broker.Run());
    Write_Whole_File(Paths.Setup_File("Mqtt.txt"), "checked\r\n");
    Write_Whole_File(Paths.Setup_File("MqttHost.txt"), "127.0.0.1\r\n");
    Write_Whole_File(Paths.Setup_File("MqttPort.txt"), std::to_string(broker.Port) + "\r\n");
    Start_Kiln_Sim({"--speed=60"});
    ASSERT_NO_FATAL_FAILURE(Start_Firing(10));
    const std::size_t before = Sim.Exchanges().size();
    ASSERT_NO_FATAL_FAILURE(Signal_Firing(GetParam()));
    ASSERT_TRUE(Eventually(
        [&] { return Sim.Exchanges().find("WS010070", before) != std::string::npos; }, 60000))
        << Sim.Exchanges().substr(before);
    ASSERT_TRUE(Eventually([&] { return Firing.state() == QProcess::NotRunning; }, 60000))
        << "the guard left the program hanging";
    EXPECT_EQ(Firing.exitStatus(), QProcess::CrashExit);
    ASSERT_TRUE(Eventually([&] { return Record().Lines.back().Event == "guard"; }, 30000));
    const Firing_Record_Line guard = Record().Lines.back();
    EXPECT_EQ(guard.Set_Value, 70);
    EXPECT_TRUE(
        guard.Detail.starts_with("no sign of life from the program for 10 s: set "
                                 "value 70 F given, read back 70"))
        << guard.Detail;
    const std::string mail = sink.Message(1);
    EXPECT_NE(mail.find("Subject: Kiln guard: the firing was stopped"), std::string::npos) << mail;
    EXPECT_NE(mail.find("Set value given to the controller: 70 °F\r\n"), std::string::npos) << mail;
    EXPECT_TRUE(Eventually([&] {
        return broker.Retained("corvanel/kiln/state")["state"].toString() == "cooling";
    })) << broker.Retained("corvanel/kiln/state")["state"].toString().toStdString();
    ASSERT_TRUE(Guarded());  // watching the kiln

    Start_Program();
    EXPECT_FALSE(Guarded());
    EXPECT_NE(Messages().find("The kiln guard had taken over the firing while the program was "
                              "not running; the program has the controller again"),
              std::string::npos)
        << Messages();
    EXPECT_NE(Read_Whole_File(Folder.File("corvanel-guard.log")).find("standing down"),
              std::string::npos);
}

INSTANTIATE_TEST_SUITE_P(Signals, Guard_Takes_Over, ::testing::Values(SIGKILL, SIGSTOP),
                         [](const auto& info) {
                             return std::string(info.param == SIGKILL ? "Killed" : "Stopped");
                         });

// The link coming back by itself against kiln-sim: the far end closed and opened again,
// and a controller silent for a while. The model tests pin the schedule and the messages;
// this shows the real port doing it.
class Link_Window : public Program_Rig {
  protected:
    // A firing of the quick test, with the fake clock following the real one so that
    // silences and the waits between tries pass as they do for the program.
    void Start_Firing(QStringList sim_arguments) {
        Start_Kiln_Sim(sim_arguments);
        Start_Program();
        Follower.callOnTimeout([this] { Clock.Advance(1); });
        Follower.start(1000);
        Open_Quick_Test();
        Choose_Log("link.txt");
        QTest::mouseClick(Window().Start_Profile, Qt::LeftButton);
        ASSERT_TRUE(Model().Run().Control_Interval().Enabled) << Messages();
    }
    std::string Record() { return Read_Whole_File(Paths.Logfile("link.firing.csv")); }
    bool Restored_After(std::size_t seen) {
        return Record().find(",link restored,", seen) != std::string::npos;
    }
    // The firing goes on: the controller gets set values again and answers them.
    void Expect_Firing_Goes_On() {
        EXPECT_TRUE(Model().Run().Control_Interval().Enabled);
        const std::size_t seen = Sim.Exchanges().size();
        EXPECT_TRUE(Eventually([&] {
            return Sim.Exchanges().find("-> @00WS00", seen) != std::string::npos;
        })) << Messages();
    }
    QTimer Follower;
};

// kiln-sim's cable is pulled from its 9th exchange to its 14th: two ticks of the run
// without an answer, on a port that stays open. Then kiln-sim ends, its terminal closes,
// and a new one opens behind the same link.
TEST_F(Link_Window, AFiringGoesOnThroughASilenceAndThroughTheLinesFarEndClosingAndComingBack) {
    Start_Firing({"--speed=60", "--cable-pulled=at:9-14"});
    ASSERT_TRUE(Eventually([&] { return Restored_After(0); }, 180000))
        << Messages() << Sim.Exchanges();
    Expect_Firing_Goes_On();

    Model().Clear();
    const std::size_t seen = Record().size();
    Sim.Stop();
    ASSERT_TRUE(Eventually([&] {
        return Model().User_Message_Box.find("The controller does not answer") != std::string::npos;
    })) << Messages();
    Start_Kiln_Sim({"--speed=60"});
    Clock.Advance(30);  // the longest wait between tries has passed
    ASSERT_TRUE(Eventually([&] { return Restored_After(seen); }, 60000)) << Messages();
    Expect_Firing_Goes_On();
}

}  // namespace
}  // namespace corvanel::testing
