// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QStandardPaths>
#include <QTcpServer>
#include <QTcpSocket>
#include <string>

#include "support/qt_rig.h"

namespace corvanel::testing {

// A loopback port no one listens on.
inline quint16 Free_Port() {
    QTcpServer probe;
    EXPECT_TRUE(probe.listen(QHostAddress::LocalHost, 0));
    return probe.serverPort();
}

// A real Mosquitto broker on a free loopback port, in its local-only mode.
struct Mosquitto_Broker {
    void Run() {
        Port = Free_Port();
        QString binary = QStandardPaths::findExecutable("mosquitto", {"/usr/sbin", "/usr/bin"});
        ASSERT_FALSE(binary.isEmpty()) << "mosquitto is not installed: run scripts/install-deps";
        Process.start(binary, {"-p", QString::number(Port)});
        ASSERT_TRUE(Eventually([&] {
            QTcpSocket probe;
            probe.connectToHost(QHostAddress::LocalHost, Port);
            return probe.waitForConnected(500);
        })) << "mosquitto does not listen on port "
            << Port;
    }
    void Stop() {
        Process.terminate();
        if (!Process.waitForFinished(10000)) Process.kill();
    }
    ~Mosquitto_Broker() {
        if (Process.state() != QProcess::NotRunning) Stop();
    }
    // What the broker keeps on `topic` for a new subscriber, as mosquitto_sub hears it
    // (nothing within a second: empty).
    QJsonObject Retained(const std::string& topic) {
        QProcess subscriber;
        subscriber.start("mosquitto_sub", {"-h", "127.0.0.1", "-p", QString::number(Port), "-t",
                                           QString::fromStdString(topic), "-C", "1", "-W", "1"});
        Eventually([&] { return subscriber.state() == QProcess::NotRunning; }, 10000);
        const QByteArray said = subscriber.readAllStandardOutput().trimmed();
        return said.startsWith('{') ? QJsonDocument::fromJson(said).object()
                                    : QJsonObject{{"said", QString::fromUtf8(said)}};
    }

    quint16 Port = 0;
    QProcess Process;
};

}  // namespace corvanel::testing
