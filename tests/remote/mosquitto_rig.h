#pragma once

// A real Mosquitto broker on a free loopback port with a configuration of its own, and a
// subscriber that keeps everything it hears.

#include <pwd.h>
#include <unistd.h>

#include <QProcess>
#include <QStandardPaths>
#include <QTcpServer>
#include <QTcpSocket>

#include "support/qt_rig.h"

namespace corvanel::testing {

class Mosquitto_Broker {
  public:
    void Start() {
        QTcpServer probe;
        probe.listen(QHostAddress::LocalHost, 0);
        Port = probe.serverPort();
        probe.close();
        // Started as root the broker would become the user "mosquitto", who cannot read
        // this folder: it stays the user running the test.
        Write_Whole_File(Folder.File("mosquitto.conf"),
                         "listener " + std::to_string(Port) +
                             " 127.0.0.1\npersistence false\nlog_dest stderr\nlog_type error\n"
                             "allow_anonymous true\nuser " +
                             getpwuid(getuid())->pw_name + "\n");
        Run();
    }
    // Again on the same port, as a broker restarted by its service.
    void Run() {
        QString binary = QStandardPaths::findExecutable("mosquitto", {"/usr/sbin", "/usr/bin"});
        ASSERT_FALSE(binary.isEmpty()) << "mosquitto is not installed: run scripts/install-deps";
        Process_.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        Process_.start(binary, {"-c", QString::fromStdString(Folder.File("mosquitto.conf"))});
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
    Temp_Folder Folder;

  private:
    QProcess Process_;
};

// mosquitto_sub subscribed to `filter`, with mosquitto_sub's own `options` (such as
// --retained-only), keeping every message it hears.
class Mqtt_Subscriber {
  public:
    Mqtt_Subscriber(quint16 port, const std::string& filter, QStringList options = {}) {
        // Each message is one line "> topic payload"; the rest is its log (-d), which says
        // when it has subscribed, and is line-buffered so that it says so at once.
        options << "-d"
                << "-h"
                << "127.0.0.1"
                << "-p" << QString::number(port) << "-t" << QString::fromStdString(filter) << "-F"
                << "> %t %p";
        Process_.start("stdbuf", QStringList{"-oL", "mosquitto_sub"} + options);
        EXPECT_TRUE(Eventually([&] { return Read(); }))
            << "mosquitto_sub did not subscribe (scripts/install-deps installs mosquitto-clients)";
    }
    ~Mqtt_Subscriber() {
        Process_.kill();
        Process_.waitForFinished(5000);
    }
    std::vector<std::string> On(const std::string& topic) {
        Read();
        std::vector<std::string> payloads;
        for (const auto& [heard_topic, payload] : Heard_) {
            if (heard_topic == topic) payloads.push_back(payload);
        }
        return payloads;
    }
    std::string Last_On(const std::string& topic) {
        std::vector<std::string> payloads = On(topic);
        return payloads.empty() ? "" : payloads.back();
    }

  private:
    bool Read() {
        while (Process_.canReadLine()) {
            std::string line = Process_.readLine().trimmed().toStdString();
            std::size_t space = line.find(' ', 2);
            Subscribed_ |= line.find("received SUBACK") != std::string::npos;
            if (line.rfind("> ", 0) == 0 && space != std::string::npos) {
                Heard_.emplace_back(line.substr(2, space - 2), line.substr(space + 1));
            }
        }
        return Subscribed_;
    }
    QProcess Process_;
    bool Subscribed_ = false;
    std::vector<std::pair<std::string, std::string>> Heard_;
};

}  // namespace corvanel::testing
