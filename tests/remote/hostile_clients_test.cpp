// SPDX-License-Identifier: GPL-3.0-or-later
// Clients that misuse the status page during a firing: the firing goes on tick for tick,
// the operator's own request is answered, and each such client is let go.

#include <QProcess>
#include <QPushButton>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTimer>

#include "remote/remote_settings.h"
#include "remote/windows/remote_monitoring.h"
#include "remote/windows/status_server.h"
#include "support/program_rig.h"
#include "support/tick_count.h"

namespace corvanel::testing {
namespace {

class Hostile_Clients : public Program_Rig {
  protected:
    void Start_Firing_With_The_Page() {
        QTcpServer probe;
        ASSERT_TRUE(probe.listen(QHostAddress::LocalHost, 0));
        Port = probe.serverPort();
        probe.close();
        Settings_Store settings(Paths);
        Save_Remote_Settings(settings, {true, Port, true, Token});
        Start_Kiln_Sim({"--speed=60"});
        Start_Program();
        ASSERT_NE(Program->Remote().Server(), nullptr) << Messages();
        Open_Quick_Test();
        Choose_Log("kiln.txt");
        Model().Firing.Attach(Counter);
        QTest::mouseClick(Window().Start_Profile, Qt::LeftButton);
        ASSERT_TRUE(Eventually([&] { return Counter.Ticks >= 1; })) << Messages();
    }
    void TearDown() override {
        if (Program) Model().Firing.Detach(Counter);
        Program_Rig::TearDown();
    }

    void Start_Client(QProcess& client, const QStringList& arguments) {
        client.start(
            "python3",
            QStringList{CORVANEL_SOURCE_ROOT "/tests/remote/hostile_client.py"} + arguments);
    }
    static bool Said(QProcess& client, const char* word) {
        return client.canReadLine() && client.readLine().trimmed() == word;
    }

    // The operator's phone asks for the state, with the token.
    std::string Status_Line() {
        QTcpSocket phone;
        phone.connectToHost(QHostAddress::LocalHost, Port);
        phone.write(QByteArray::fromStdString("GET /api/status?token=" + Token +
                                              " HTTP/1.1\r\nHost: kiln\r\n\r\n"));
        std::string answer;
        Eventually([&] {
            answer += phone.readAll().toStdString();
            return answer.find("\r\n") != std::string::npos;
        });
        return answer.substr(0, answer.find("\r\n"));
    }

    // Two more ticks, and every tick of the firing is in its record.
    void Expect_The_Firing_Tick_For_Tick() {
        const int ticks = Counter.Ticks;
        ASSERT_TRUE(Eventually([&] { return Counter.Ticks >= ticks + 2; }, 60000)) << Messages();
        EXPECT_EQ(Tick_Lines(Paths.Logfile(Firing_Record_Name("kiln.txt"))), Counter.Ticks);
        EXPECT_TRUE(Window().Control_Interval->isActive());
    }

    quint16 Port = 0;
    const std::string Token = "kiln-page-token-1";
    Tick_Counter Counter;
};

TEST_F(Hostile_Clients, AThousandIdleConnectionsTakeNoPlaceFromTheOperator) {
    Start_Firing_With_The_Page();
    QProcess idle;
    Start_Client(idle, {"idle", QString::number(Port), "1000"});
    ASSERT_TRUE(Eventually([&] { return Said(idle, "ready"); }, 120000))
        << idle.readAllStandardError().toStdString();
    EXPECT_EQ(Status_Line(), "HTTP/1.1 200 OK");
    EXPECT_LE(Program->Remote().Server()->Open_Connections(), 64);
    Expect_The_Firing_Tick_For_Tick();
    EXPECT_EQ(Status_Line(), "HTTP/1.1 200 OK");
}

// One that asks without end and never reads its answers, with the token and without; one
// that sends its headers a byte at a time. Each is dropped; the firing never notices.
TEST_F(Hostile_Clients, APipelinerAndASlowSenderAreDropped) {
    Start_Firing_With_The_Page();
    QProcess with_token, without_token, slow;
    Start_Client(with_token,
                 {"pipeline", QString::number(Port), QString::fromStdString("/?token=" + Token)});
    Start_Client(without_token, {"pipeline", QString::number(Port), "/api/status"});
    Start_Client(slow, {"slow", QString::number(Port)});
    ASSERT_TRUE(Eventually([&] { return Said(with_token, "dropped"); }, 120000));
    ASSERT_TRUE(Eventually([&] { return Said(without_token, "dropped"); }, 120000));
    EXPECT_EQ(Status_Line(), "HTTP/1.1 200 OK");
    ASSERT_TRUE(Eventually([&] { return Said(slow, "dropped"); }, 120000));
    Expect_The_Firing_Tick_For_Tick();
}

}  // namespace
}  // namespace corvanel::testing
