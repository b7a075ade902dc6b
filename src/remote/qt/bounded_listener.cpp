// SPDX-License-Identifier: GPL-3.0-or-later
#include "remote/qt/bounded_listener.h"

#include <QTcpSocket>
#include <QTimer>

namespace corvanel {

Bounded_Listener::Bounded_Listener(Listener_Limits limits, QObject* parent)
    : QTcpServer(parent), Limits_(limits), Resume_(new QTimer(this)) {
    // Qt stops accepting for good after a failed accept (out of files, out of memory);
    // the page must come back once the program has files again.
    Resume_->setSingleShot(true);
    Resume_->setInterval(1000);
    connect(Resume_, &QTimer::timeout, this, [this] { resumeAccepting(); });
    connect(this, &QTcpServer::acceptError, Resume_, qOverload<>(&QTimer::start));
}

std::list<Bounded_Listener::Client>::iterator Bounded_Listener::Find(QTcpSocket* socket) {
    for (auto client = Clients_.begin(); client != Clients_.end(); ++client) {
        if (client->Socket == socket) return client;
    }
    return Clients_.end();
}

void Bounded_Listener::Make_Room() {
    while (static_cast<int>(Clients_.size()) >= Limits_.Connections) {
        auto quiet = Clients_.begin();
        while (quiet != Clients_.end() && quiet->Received > 0) ++quiet;
        if (quiet == Clients_.end()) quiet = Clients_.begin();
        QTcpSocket* socket = quiet->Socket;
        Forget(socket);
        socket->abort();
    }
}

void Bounded_Listener::Forget(QTcpSocket* socket) {
    auto client = Find(socket);
    if (client == Clients_.end()) return;
    client->Idle->stop();
    Clients_.erase(client);
}

void Bounded_Listener::incomingConnection(qintptr handle) {
    Make_Room();
    auto* socket = new QTcpSocket(this);
    if (!socket->setSocketDescriptor(handle)) {
        delete socket;
        return;
    }
    auto* idle = new QTimer(socket);
    idle->setSingleShot(true);
    idle->start(Limits_.Idle_Seconds * 1000);
    connect(idle, &QTimer::timeout, socket, [this, socket] {
        Forget(socket);
        socket->abort();
    });
    // Connected before the HTTP server's own handler, so this sees the bytes first.
    connect(socket, &QTcpSocket::readyRead, this, [this, socket] {
        auto client = Find(socket);
        if (client == Clients_.end()) return;
        client->Received += socket->bytesAvailable();
        if (client->Received > Limits_.Request_Bytes) {
            Forget(socket);
            socket->abort();
        }
    });
    connect(socket, &QTcpSocket::disconnected, this, [this, socket] {
        Forget(socket);
        socket->deleteLater();
    });
    Clients_.push_back({socket, idle, 0});
    addPendingConnection(socket);
}

void Bounded_Listener::Answered(QTcpSocket* socket, qint64 unsent_before) {
    auto client = Find(socket);
    if (client == Clients_.end()) return;
    if (unsent_before > Limits_.Unsent_Bytes) {
        Forget(socket);
        socket->abort();
        return;
    }
    client->Received = 0;
    client->Idle->start(Limits_.Idle_Seconds * 1000);
    Clients_.splice(Clients_.end(), Clients_, client);
}

}  // namespace corvanel
