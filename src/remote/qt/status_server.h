// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QAbstractHttpServer>
#include <string>

#include "remote/qt/bounded_listener.h"
#include "remote/remote_settings.h"
#include "remote/status_routes.h"

namespace corvanel {

// The status page's HTTP server on the program's event loop: each request is answered
// at once from the snapshot by Answer_Status_Request, so nothing is shared between
// threads and a request during a controller pause only reads.
class Status_Server : public QAbstractHttpServer {
  public:
    explicit Status_Server(const Status_Snapshot& snapshot, QObject* parent = nullptr,
                           Listener_Limits limits = {});

    // Listens as the settings say (loopback, or every interface with the token); returns
    // "" or why the port could not be opened.
    std::string Start(const Remote_Settings& settings);
    quint16 Port() const;
    int Open_Connections() const { return Listener_ ? Listener_->Open_Connections() : 0; }

  protected:
    bool handleRequest(const QHttpServerRequest& request, QTcpSocket* socket) override;
    void missingHandler(const QHttpServerRequest& request, QTcpSocket* socket) override;

  private:
    const Status_Snapshot& Snapshot_;
    Status_Access Access_;
    Listener_Limits Limits_;
    Bounded_Listener* Listener_ = nullptr;
};

}  // namespace corvanel
