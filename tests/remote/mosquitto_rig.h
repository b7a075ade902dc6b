#pragma once

// A real Mosquitto broker for the tests, on a free loopback port with a configuration and
// folder of its own, and a subscriber that hears everything it passes on.

#include <mosquitto.h>
#include <pwd.h>
#include <unistd.h>

#include <QProcess>
#include <QStandardPaths>
#include <QTcpServer>
#include <QTcpSocket>
#include <mutex>
#include <string>
#include <vector>

#include "setup/setup_files.h"
#include "support/qt_rig.h"
#include "support/temp_folder.h"

namespace corvanel::testing {

inline quint16 Free_Loopback_Port() {
    QTcpServer probe;
    probe.listen(QHostAddress::LocalHost, 0);
    return probe.serverPort();
}

class Mosquitto_Broker {
  public:
    // With a user name, the broker takes that user with that password and nobody else.
    void Start(const std::string& user = "", const std::string& password = "") {
        std::string broker =
            QStandardPaths::findExecutable("mosquitto", {"/usr/sbin", "/usr/bin"}).toStdString();
        ASSERT_FALSE(broker.empty())
            << "the mosquitto broker is not installed: run scripts/install-deps";
        Binary_ = broker;
        Port = Free_Loopback_Port();
        // Started as root the broker would become the user "mosquitto", who cannot read
        // this folder: it stays the user running the test.
        std::string config =
            "listener " + std::to_string(Port) + " 127.0.0.1\n" +
            "persistence false\nlog_dest stderr\nlog_type error\nlog_type warning\nuser " +
            getpwuid(getuid())->pw_name + "\n";
        if (user.empty()) {
            config += "allow_anonymous true\n";
        } else {
            std::string passwords = Folder.File("passwords");
            QProcess maker;
            maker.start(QStandardPaths::findExecutable("mosquitto_passwd", {"/usr/bin"}),
                        {"-b", "-c", QString::fromStdString(passwords),
                         QString::fromStdString(user), QString::fromStdString(password)});
            ASSERT_TRUE(maker.waitForFinished(20000) && maker.exitCode() == 0)
                << "mosquitto_passwd failed: " << maker.readAllStandardError().toStdString();
            config += "allow_anonymous false\npassword_file " + passwords + "\n";
        }
        Write_Whole_File(Folder.File("mosquitto.conf"), config);
        Run();
    }
    void Stop() {
        Process_.terminate();
        if (!Process_.waitForFinished(10000)) Process_.kill();
        Process_.waitForFinished(5000);
    }
    // Again on the same port, as a broker restarted by its service.
    void Run() {
        Process_.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        Process_.start(QString::fromStdString(Binary_),
                       {"-c", QString::fromStdString(Folder.File("mosquitto.conf"))});
        ASSERT_TRUE(Process_.waitForStarted(10000)) << "mosquitto did not start";
        ASSERT_TRUE(Eventually(
            [&] {
                QTcpSocket probe;
                probe.connectToHost(QHostAddress::LocalHost, Port);
                return probe.waitForConnected(500);
            },
            20000))
            << "mosquitto does not listen on port " << Port;
    }
    ~Mosquitto_Broker() {
        if (Process_.state() != QProcess::NotRunning) Stop();
    }

    quint16 Port = 0;
    Temp_Folder Folder;

  private:
    std::string Binary_;
    QProcess Process_;
};

struct Heard {
    std::string Topic, Payload;
    bool Retained = false;
};

// Subscribes to `filter` and keeps what it hears; libmosquitto's own thread receives, so
// the test's event loop is free for the program.
class Mqtt_Subscriber {
  public:
    Mqtt_Subscriber(quint16 port, const std::string& filter, const std::string& user = "",
                    const std::string& password = "")
        : Filter_(filter) {
        mosquitto_lib_init();
        Client_ = mosquitto_new(nullptr, true, this);
        if (!user.empty()) mosquitto_username_pw_set(Client_, user.c_str(), password.c_str());
        mosquitto_connect_callback_set(Client_, [](mosquitto* client, void* self, int code) {
            if (code == 0) {
                mosquitto_subscribe(client, nullptr,
                                    static_cast<Mqtt_Subscriber*>(self)->Filter_.c_str(), 1);
            }
        });
        mosquitto_subscribe_callback_set(Client_, [](mosquitto*, void* self, int, int, const int*) {
            std::lock_guard lock(static_cast<Mqtt_Subscriber*>(self)->Mutex_);
            static_cast<Mqtt_Subscriber*>(self)->Subscribed_ = true;
        });
        mosquitto_message_callback_set(
            Client_, [](mosquitto*, void* self, const mosquitto_message* message) {
                auto* me = static_cast<Mqtt_Subscriber*>(self);
                std::lock_guard lock(me->Mutex_);
                me->Heard_.push_back({message->topic,
                                      std::string(static_cast<const char*>(message->payload),
                                                  static_cast<std::size_t>(message->payloadlen)),
                                      message->retain});
            });
        mosquitto_connect_async(Client_, "127.0.0.1", port, 30);
        mosquitto_loop_start(Client_);
        EXPECT_TRUE(Eventually([&] {
            std::lock_guard lock(Mutex_);
            return Subscribed_;
        })) << "the test's subscriber could not subscribe on port "
            << port;
    }
    ~Mqtt_Subscriber() {
        mosquitto_disconnect(Client_);
        mosquitto_loop_stop(Client_, true);
        mosquitto_destroy(Client_);
    }
    std::vector<Heard> All() {
        std::lock_guard lock(Mutex_);
        return Heard_;
    }
    // The payloads heard on one topic, in order.
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
    std::string Filter_;
    mosquitto* Client_;
    std::mutex Mutex_;
    bool Subscribed_ = false;
    std::vector<Heard> Heard_;
};

}  // namespace corvanel::testing
