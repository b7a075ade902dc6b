// SPDX-License-Identifier: GPL-3.0-or-later
#include "remote/qt/mqtt_client.h"

#include <mosquitto.h>

#include <QHostAddress>
#include <QHostInfo>
#include <QSocketNotifier>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <memory>
#include <mutex>
#include <thread>
#include <utility>

#include "language/show_problem.h"
#include "language/translate.h"
#include "remote/mqtt_client_setup.h"

namespace corvanel {

namespace {

constexpr int Keep_Alive_Seconds = 30;

void Library_Once() {
    static std::once_flag done;
    std::call_once(done, [] { mosquitto_lib_init(); });
}

}  // namespace

// A connection begun on a thread of its own: the client is the thread's until Done.
struct Mqtt_Client::Pending_Connect {
    std::mutex Lock;
    mosquitto* Client = nullptr;
    int Attempt = 0;
    int Code = MOSQ_ERR_SUCCESS, System_Error = 0;
    bool Done = false;
    ~Pending_Connect() {
        if (Client) mosquitto_destroy(Client);
    }
};

Mqtt_Client::Mqtt_Client(const Mqtt_Settings& settings, const Status_Snapshot& snapshot,
                         const std::string& prefix, std::function<void(const std::string&)> display)
    : Settings_(settings),
      Display_(std::move(display)),
      Link_(settings.Host + ":" + std::to_string(settings.Port)),
      Telemetry_(snapshot, prefix, settings.Discovery,
                 [this](const Mqtt_Message& message) { Publish(message); }) {
    Library_Once();
    Misc_.setInterval(200);
    connect(&Misc_, &QTimer::timeout, this, [this] { Housekeeping(); });
    Retry_.setSingleShot(true);
    connect(&Retry_, &QTimer::timeout, this, [this] { Start_Attempt(); });
    Misc_.start();
    // The event loop starts the first attempt: nothing here waits for the network.
    QTimer::singleShot(0, this, [this] { Start_Attempt(); });
}

Mqtt_Client::~Mqtt_Client() {
    Closing_ = true;
    if (Client_ && Link_.Is_Connected()) {
        Mqtt_Message offline = Telemetry_.Going_Offline();
        mosquitto_publish(Client_, nullptr, offline.Topic.c_str(),
                          static_cast<int>(offline.Payload.size()), offline.Payload.data(),
                          offline.Qos, offline.Retain);
        mosquitto_disconnect(Client_);
        QElapsedTimer waited;
        waited.start();
        while (mosquitto_socket(Client_) >= 0 && mosquitto_want_write(Client_) &&
               waited.elapsed() < 250) {
            if (mosquitto_loop(Client_, 50, 1) != MOSQ_ERR_SUCCESS) break;
        }
    }
    Drop_Client();
}

void Mqtt_Client::Say(const std::string& text) {
    if (!text.empty() && Display_) Display_(text);
}

void Mqtt_Client::Drop_Client() {
    // The notifiers go before the socket they watch is closed.
    delete Read_;
    delete Write_;
    Read_ = Write_ = nullptr;
    Attempting_ = false;
    Pending_.reset();  // a connection still being begun is freed by its thread
    if (Client_) mosquitto_destroy(Client_);
    Client_ = nullptr;
}

void Mqtt_Client::Start_Attempt() {
    if (Closing_) return;
    Drop_Client();
    ++Attempts_;
    Refused_ = false;
    Attempting_ = true;
    Attempt_.start();
    // Looked up in the background: a name server that does not answer stalls nothing.
    QHostInfo::lookupHost(QString::fromStdString(Settings_.Host), this,
                          [this](const QHostInfo& found) { Name_Found(found); });
}

void Mqtt_Client::Name_Found(const QHostInfo& found) {
    if (Closing_ || !Attempting_ || Client_) return;
    if (found.error() != QHostInfo::NoError || found.addresses().isEmpty()) {
        Trouble(Mqtt_Trouble::Unreachable, found.errorString().toStdString());
        return;
    }
    // Without TLS the address found is used, so the library looks nothing up itself;
    // TLS checks the broker's certificate against the name.
    // An IPv4 address first: a broker set up for "localhost" often listens on 127.0.0.1 only.
    QHostAddress address = found.addresses().first();
    for (const QHostAddress& candidate : found.addresses()) {
        if (candidate.protocol() == QAbstractSocket::IPv4Protocol) {
            address = candidate;
            break;
        }
    }
    Connect_To(Settings_.Tls ? Settings_.Host : address.toString().toStdString());
}

void Mqtt_Client::Connect_To(const std::string& target) {
    Client_ = mosquitto_new(nullptr, true, this);
    if (!Client_) {
        Trouble(Mqtt_Trouble::Unreachable, std::strerror(errno));
        return;
    }
    const std::string refused = Set_Up_Mqtt_Client(Client_, Settings_);
    if (!refused.empty()) {
        Trouble(Mqtt_Trouble::Refused, refused);
        return;
    }
    Mqtt_Message will = Telemetry_.Last_Will();
    mosquitto_will_set(Client_, will.Topic.c_str(), static_cast<int>(will.Payload.size()),
                       will.Payload.data(), will.Qos, will.Retain);
    mosquitto_connect_callback_set(Client_, [](mosquitto*, void* self, int code) {
        static_cast<Mqtt_Client*>(self)->Connack(code);
    });
    mosquitto_disconnect_callback_set(Client_, [](mosquitto*, void* self, int code) {
        static_cast<Mqtt_Client*>(self)->Ended(code, errno);
    });
    // The library looks the name up itself and waits for the answer (with TLS it is the
    // broker's name, not an address): that happens on a thread of its own, so a slow name
    // server never holds up a control tick. The thread leaves its result under a lock and
    // the housekeeping timer collects it; whichever of the two lets go of it last frees a
    // client nobody took. Plain std:: threads and locks, so a race checker sees every hand-over.
    auto pending = std::make_shared<Pending_Connect>();
    pending->Client = std::exchange(Client_, nullptr);
    pending->Attempt = Attempts_;
    Pending_ = pending;
    std::thread([pending, target, port = Settings_.Port, client = pending->Client] {
        int code = mosquitto_connect_async(client, target.c_str(), port, Keep_Alive_Seconds);
        int system_error = errno;
        std::lock_guard held(pending->Lock);
        pending->Code = code;
        pending->System_Error = system_error;
        pending->Done = true;
    }).detach();
}

void Mqtt_Client::Collect_Connect() {
    if (!Pending_) return;
    std::shared_ptr<Pending_Connect> pending = Pending_;
    mosquitto* client = nullptr;
    int code = 0, system_error = 0;
    {
        std::lock_guard held(pending->Lock);
        if (!pending->Done) return;
        client = std::exchange(pending->Client, nullptr);
        code = pending->Code;
        system_error = pending->System_Error;
    }
    Pending_.reset();
    Connect_Returned(pending->Attempt, client, code, system_error);
}

void Mqtt_Client::Connect_Returned(int attempt, mosquitto* client, int code, int system_error) {
    // A report of an attempt given up meanwhile is only freed.
    if (Closing_ || !Attempting_ || Client_ || attempt != Attempts_) {
        mosquitto_destroy(client);
        return;
    }
    Client_ = client;
    if (code != MOSQ_ERR_SUCCESS) {
        Trouble(Mqtt_Trouble::Unreachable,
                code == MOSQ_ERR_ERRNO ? std::strerror(system_error) : mosquitto_strerror(code));
        return;
    }
    Watch_Socket();
}

void Mqtt_Client::Watch_Socket() {
    int socket = mosquitto_socket(Client_);
    if (socket < 0) return;
    Read_ = new QSocketNotifier(socket, QSocketNotifier::Read, this);
    Write_ = new QSocketNotifier(socket, QSocketNotifier::Write, this);
    connect(Read_, &QSocketNotifier::activated, this,
            [this] { Loop_Result(mosquitto_loop_read(Client_, 1)); });
    connect(Write_, &QSocketNotifier::activated, this,
            [this] { Loop_Result(mosquitto_loop_write(Client_, 1)); });
    Write_->setEnabled(mosquitto_want_write(Client_));
}

void Mqtt_Client::Loop_Result(int code) {
    if (!Client_) return;
    bool going_on =
        code == MOSQ_ERR_SUCCESS || code == MOSQ_ERR_NO_CONN || code == MOSQ_ERR_CONN_PENDING;
    if (!going_on && mosquitto_socket(Client_) >= 0) {
        // The library leaves the socket open on some failures; it is given up here.
        Ended(code, errno);
        return;
    }
    if (mosquitto_socket(Client_) < 0) {
        if (Read_) Ended(code == MOSQ_ERR_SUCCESS ? MOSQ_ERR_CONN_LOST : code, errno);
        return;
    }
    if (Write_) Write_->setEnabled(mosquitto_want_write(Client_));
}

void Mqtt_Client::Housekeeping() {
    Collect_Connect();
    if (!Client_ || !Read_) return;
    if (Attempting_ && Attempt_.elapsed() > Mqtt_Link::Connect_Timeout * 1000) {
        Trouble(Mqtt_Trouble::Unreachable, TranslateText("no answer"));
        return;
    }
    Loop_Result(mosquitto_loop_misc(Client_));
}

void Mqtt_Client::Connack(int code) {
    if (code == 0) {
        Attempting_ = false;
        Say(Link_.Connected());
        Telemetry_.Connected();
        for (const Mqtt_Message& kept : Link_.Take_Kept()) Publish(kept);
        return;
    }
    // 4: bad user name or password; 5: not authorised, which is what a broker with a
    // password file answers to a wrong password.
    Refused_ = true;
    Refusal_ = code == 4 || code == 5 ? Mqtt_Trouble::Bad_Credentials : Mqtt_Trouble::Refused;
    Refusal_Reason_ = code == 4 || code == 5 ? "" : mosquitto_connack_string(code);
}

void Mqtt_Client::Ended(int code, int system_error) {
    if (Closing_ || !Read_) return;
    // The notifiers stop now; the client itself goes at the next attempt, outside the
    // library's own call that told us.
    Read_->setEnabled(false);
    Write_->setEnabled(false);
    Read_->deleteLater();
    Write_->deleteLater();
    Read_ = Write_ = nullptr;
    if (Refused_) {
        Trouble(Refusal_, Refusal_Reason_);
    } else if (Link_.Is_Connected()) {
        Trouble(Mqtt_Trouble::Lost, "");
    } else {
        Trouble(Mqtt_Trouble::Unreachable, code == MOSQ_ERR_ERRNO && system_error
                                               ? std::strerror(system_error)
                                               : mosquitto_strerror(code));
    }
}

void Mqtt_Client::Trouble(Mqtt_Trouble trouble, const std::string& reason) {
    Attempting_ = false;
    if (Read_ || Write_) {
        delete Read_;
        delete Write_;
        Read_ = Write_ = nullptr;
    }
    if (Maybe_Problem problem = Link_.Failed(trouble, reason)) Say(Problem_Text(*problem));
    Retry_.start(static_cast<int>(Link_.Retry_Delay() * 1000));
}

void Mqtt_Client::Publish(const Mqtt_Message& message) {
    // Offered first: an alarm while there is no connection is kept for the next one.
    if (Closing_ || !Link_.Offer(message) || !Client_) return;
    mosquitto_publish(Client_, nullptr, message.Topic.c_str(),
                      static_cast<int>(message.Payload.size()), message.Payload.data(), message.Qos,
                      message.Retain);
    if (Write_) Write_->setEnabled(mosquitto_want_write(Client_));
}

}  // namespace corvanel
