// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QTcpServer>
#include <list>

class QTcpSocket;
class QTimer;

namespace corvanel {

// How much of the program one client of the status page may hold, and for how long. The
// page shares the event loop with the firing: no client may stop a tick or a record.
struct Listener_Limits {
    int Connections = 64;              // open at once
    int Idle_Seconds = 10;             // a connection without an answered request
    qint64 Request_Bytes = 16 * 1024;  // received since the last answer: line and headers
    qint64 Unsent_Bytes = 256 * 1024;  // earlier answers the client has not taken
};

// The status page's listening socket, with its clients kept within the limits. A new
// connection past the limit takes the place of the one that has waited longest without
// sending anything (an idle client goes, the operator's browser comes in); a client that
// sends too much before an answer, keeps too much unread, or is silent too long is
// dropped. A connection that cannot be taken for want of open files (EMFILE) pauses the
// listening socket, which tries again every second until files are free.
class Bounded_Listener : public QTcpServer {
  public:
    explicit Bounded_Listener(Listener_Limits limits, QObject* parent = nullptr);

    // An answer was written to `socket`: its clock and count start again, unless it is
    // not taking its answers (more than the limit of earlier ones was still unsent when
    // this one was written), when it is dropped. One answer alone, however long (the
    // trace of a two-day firing), never drops a client.
    void Answered(QTcpSocket* socket, qint64 unsent_before);
    int Open_Connections() const { return static_cast<int>(Clients_.size()); }

  protected:
    void incomingConnection(qintptr handle) override;

  private:
    struct Client {
        QTcpSocket* Socket = nullptr;
        QTimer* Idle = nullptr;
        qint64 Received = 0;  // since the last answer
    };
    std::list<Client>::iterator Find(QTcpSocket* socket);
    void Make_Room();
    void Forget(QTcpSocket* socket);

    Listener_Limits Limits_;
    QTimer* Resume_ = nullptr;
    std::list<Client> Clients_;  // oldest first; an answered client moves to the back
};

}  // namespace corvanel
