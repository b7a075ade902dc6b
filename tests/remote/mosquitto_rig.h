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
    // With a user name, the broker takes that user with that password and nobody else;
    // with TLS it shows a certificate of its own for 127.0.0.1, which Certificate() holds.
    void Start(const std::string& user = "", const std::string& password = "", bool tls = false) {
        QTcpServer probe;
        probe.listen(QHostAddress::LocalHost, 0);
        Port = probe.serverPort();
        probe.close();
        // Started as root the broker would become the user "mosquitto", who cannot read
        // this folder: it stays the user running the test.
        std::string config = "listener " + std::to_string(Port) +
                             " 127.0.0.1\npersistence false\nlog_dest stderr\nlog_type error\n"
                             "log_type warning\nuser " +
                             getpwuid(getuid())->pw_name + "\n" + "allow_anonymous " +
                             (user.empty() ? "true\n" : "false\n");
        if (!user.empty()) {
            QProcess maker;
            maker.start(QStandardPaths::findExecutable("mosquitto_passwd"),
                        {"-b", "-c", QString::fromStdString(Folder.File("passwords")),
                         QString::fromStdString(user), QString::fromStdString(password)});
            ASSERT_TRUE(maker.waitForFinished(20000) && maker.exitCode() == 0)
                << "mosquitto_passwd failed (scripts/install-deps installs mosquitto)";
            config += "password_file " + Folder.File("passwords") + "\n";
        }
        if (tls) {
            QProcess maker;
            maker.start("openssl",
                        {"req", "-x509", "-newkey", "rsa:2048", "-nodes", "-days", "2", "-subj",
                         "/CN=127.0.0.1", "-addext", "subjectAltName=IP:127.0.0.1", "-keyout",
                         QString::fromStdString(Folder.File("key.pem")), "-out",
                         QString::fromStdString(Certificate())});
            ASSERT_TRUE(maker.waitForFinished(30000) && maker.exitCode() == 0)
                << "openssl could not make a certificate (scripts/install-deps installs it)";
            config += "certfile " + Certificate() + "\nkeyfile " + Folder.File("key.pem") + "\n";
        }
        Write_Whole_File(Folder.File("mosquitto.conf"), config);
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

    std::string Certificate() const { return Folder.File("certificate.pem"); }

    quint16 Port = 0;
    Temp_Folder Folder;

  private:
    QProcess Process_;
};

// mosquitto_sub subscribed to `filter`, keeping every message it hears.
class Mqtt_Subscriber {
  public:
    struct Heard {
        std::string Topic, Payload;
        bool Retained;
    };

    Mqtt_Subscriber(quint16 port, const std::string& filter, const std::string& user = "",
                    const std::string& password = "") {
        QStringList arguments = {"-d",
                                 "-h",
                                 "127.0.0.1",
                                 "-p",
                                 QString::number(port),
                                 "-t",
                                 QString::fromStdString(filter),
                                 "-F",
                                 "%r %t %p"};
        if (!user.empty()) {
            arguments << "-u" << QString::fromStdString(user) << "-P"
                      << QString::fromStdString(password);
        }
        // Line-buffered, so its log says at once that it has subscribed.
        Process_.start("stdbuf", QStringList{"-oL", "mosquitto_sub"} + arguments);
        EXPECT_TRUE(Eventually([&] {
            return Read(), Debug_.find("received SUBACK") != std::string::npos;
        })) << "mosquitto_sub did not subscribe (scripts/install-deps installs mosquitto-clients)";
    }
    ~Mqtt_Subscriber() {
        Process_.kill();
        Process_.waitForFinished(5000);
    }
    // Each message is one line "retain topic payload"; the rest is mosquitto_sub's log.
    std::vector<Heard> All() {
        Read();
        return Heard_;
    }
    std::vector<std::string> On(const std::string& topic) {
        std::vector<std::string> payloads;
        for (const Heard& heard : All()) {
            if (heard.Topic == topic) payloads.push_back(heard.Payload);
        }
        return payloads;
    }
    std::string Last_On(const std::string& topic) {
        std::vector<std::string> payloads = On(topic);
        return payloads.empty() ? "" : payloads.back();
    }

  private:
    void Read() {
        while (Process_.canReadLine()) {
            std::string line = Process_.readLine().trimmed().toStdString();
            std::size_t space = line.find(' ', 2);
            if (line.rfind("0 ", 0) != 0 && line.rfind("1 ", 0) != 0) {
                Debug_ += line + "\n";
            } else if (space != std::string::npos) {
                Heard_.push_back(
                    {line.substr(2, space - 2), line.substr(space + 1), line[0] == '1'});
            }
        }
    }
    QProcess Process_;
    std::string Debug_;
    std::vector<Heard> Heard_;
};

}  // namespace corvanel::testing
