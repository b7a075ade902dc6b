// SPDX-License-Identifier: GPL-3.0-or-later
// The program publishing to a real Mosquitto broker during a firing against kiln-sim.

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLabel>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QStandardPaths>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTimer>

#include "remote/windows/mqtt_client.h"
#include "remote/windows/mqtt_publishing.h"
#include "setup/setup_files.h"
#include "support/program_rig.h"

namespace corvanel::testing {
namespace {

// A real Mosquitto broker on a free loopback port, in its local-only mode.
class Mosquitto_Broker {
  public:
    void Run() {
        QTcpServer probe;
        probe.listen(QHostAddress::LocalHost, 0);
        Port = probe.serverPort();
        probe.close();
        QString binary = QStandardPaths::findExecutable("mosquitto", {"/usr/sbin", "/usr/bin"});
        ASSERT_FALSE(binary.isEmpty()) << "mosquitto is not installed: run scripts/install-deps";
        Process_.start(binary, {"-p", QString::number(Port)});
        ASSERT_TRUE(Eventually([&] {
            QTcpSocket probe;
            probe.connectToHost(QHostAddress::LocalHost, Port);
            return probe.waitForConnected(500);
        })) << "mosquitto does not listen on port "
            << Port;
    }
    void Stop() {
        Process_.terminate();
        if (!Process_.waitForFinished(10000)) Process_.kill();
    }
    ~Mosquitto_Broker() {
        if (Process_.state() != QProcess::NotRunning) Stop();
    }

    quint16 Port = 0;

  private:
    QProcess Process_;
};

// What the broker keeps on `topic` for a new subscriber, as mosquitto_sub hears it ("" for
// nothing within a second).
std::string Retained(quint16 port, const std::string& topic) {
    QProcess subscriber;
    subscriber.start("mosquitto_sub", {"-h", "127.0.0.1", "-p", QString::number(port), "-t",
                                       QString::fromStdString(topic), "-C", "1", "-W", "1"});
    Eventually([&] { return subscriber.state() == QProcess::NotRunning; }, 10000);
    return subscriber.readAllStandardOutput().trimmed().toStdString();
}

QJsonObject Json_Of(const std::string& payload) {
    return QJsonDocument::fromJson(QByteArray::fromStdString(payload)).object();
}

class Mqtt_Publishing_Test : public Program_Rig, public Firing_Observer {
  protected:
    void Firing_Changed(const Firing_Status& status, Firing_Event event,
                        const std::string&) override {
        if (event == Firing_Event::Tick) Ticks.push_back(status);
    }
    void TearDown() override {
        if (Program) Model().Firing.Detach(*this);
        Program_Rig::TearDown();
    }

    std::vector<Firing_Status> Ticks;
};

// Turned on in SetUp -> "MQTT" (the dialog refuses a bad host, and a CA file that is not
// there while TLS is on, in their own words; greys the CA file without TLS; stores the
// kiln's default prefix empty): "online" under the kiln's own topics; a state at every
// control tick with that tick's values. The broker stopped mid-firing: the firing and its
// log go on.
TEST_F(Mqtt_Publishing_Test, TurnedOnItPublishesTheFiringAndOutlivesTheBroker) {
    Mosquitto_Broker broker;
    ASSERT_NO_FATAL_FAILURE(broker.Run());
    Write_Text_File(Paths.Setup_File("ThermalDeviceName.txt"), "Studio Kiln");
    Start_Kiln_Sim({"--speed=60"});
    Start_Program();
    Model().Firing.Attach(*this);
    const std::string prefix = "corvanel/studio_kiln/";
    QTimer::singleShot(0, [&] {
        auto* dialog = Window().findChild<QDialog*>("MqttSetup");
        ASSERT_NE(dialog, nullptr);
        auto box = [&](const char* name) { return dialog->findChild<QLineEdit*>(name); };
        auto ok = [&] {
            dialog->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok)->click();
            return dialog->findChild<QLabel*>("Message")->text().toStdString();
        };
        dialog->findChild<QCheckBox*>("Enable_Publishing")->click();
        box("Host")->setText("kiln lan");
        EXPECT_EQ(ok(), "The broker's host must be a name or an address without spaces");
        box("Host")->clear();
        QTest::keyClicks(box("Host"), "127.0.0.1");
        box("Port")->setText(QString::number(broker.Port));
        dialog->findChild<QCheckBox*>("Use_Tls")->click();
        box("Ca_File")->setText("/no/such/ca.pem");
        EXPECT_EQ(ok(), "The CA file does not exist: /no/such/ca.pem");
        dialog->findChild<QCheckBox*>("Use_Tls")->click();
        EXPECT_FALSE(box("Ca_File")->isEnabled());
        box("Topic_Prefix")->setText("corvanel/studio_kiln");  // the default: stored empty
        ok();
    });
    Window().findChild<QAction*>("mnuMqtt")->trigger();
    EXPECT_EQ(Read_Whole_File(Paths.Setup_File("MqttTopicPrefix.txt")), "\r\n");
    ASSERT_TRUE(Eventually([&] {
        return Retained(broker.Port, prefix + "availability") == "online";
    })) << Messages();
    EXPECT_NE(Messages().find("Publishing to the MQTT broker at 127.0.0.1:" +
                              std::to_string(broker.Port)),
              std::string::npos)
        << Messages();

    Open_Quick_Test();
    Choose_Log("firing.txt");
    QTest::mouseClick(Window().Start_Profile, Qt::LeftButton);
    for (int tick = 1; tick <= 4; ++tick) {
        Clock.Advance(30);
        ASSERT_TRUE(Eventually([&] { return int(Ticks.size()) >= tick; })) << Messages();
    }
    // The retained state is the last tick's.
    auto last_state = [&] { return Json_Of(Retained(broker.Port, prefix + "state")); };
    ASSERT_TRUE(Eventually([&] { return last_state()["trace_points"] == 4; })) << Messages();
    EXPECT_EQ(last_state()["elapsed"].toDouble(), Ticks[3].Elapsed);
    EXPECT_EQ(last_state()["measured"].toDouble(), Ticks[3].Measured);
    EXPECT_EQ(last_state()["set_value"].toDouble(), Ticks[3].Set_Value);

    broker.Stop();
    std::size_t down_at = Ticks.size();
    ASSERT_TRUE(Eventually([&] { return Ticks.size() >= down_at + 4; }, 60000));
    EXPECT_GE(std::filesystem::file_size(Paths.Logfile("firing.txt")), 21 * Ticks.size());
}

}  // namespace
}  // namespace corvanel::testing
