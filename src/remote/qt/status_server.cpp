// SPDX-License-Identifier: GPL-3.0-or-later
#include "remote/qt/status_server.h"

#include <QHttpServerRequest>
#include <QHttpServerResponder>
#include <QTcpSocket>
#include <QUrlQuery>

namespace corvanel {

namespace {

std::string Method_Name(QHttpServerRequest::Method method) {
    switch (method) {
        case QHttpServerRequest::Method::Get:
            return "GET";
        case QHttpServerRequest::Method::Head:
            return "HEAD";
        case QHttpServerRequest::Method::Post:
            return "POST";
        case QHttpServerRequest::Method::Put:
            return "PUT";
        case QHttpServerRequest::Method::Delete:
            return "DELETE";
        default:
            return "OTHER";
    }
}

std::string Header(const QHttpServerRequest& request, const QByteArray& name) {
    for (const auto& [key, value] : request.headers()) {
        if (key.compare(name, Qt::CaseInsensitive) == 0) return value.toStdString();
    }
    return "";
}

}  // namespace

Status_Server::Status_Server(const Status_Snapshot& snapshot, QObject* parent,
                             Listener_Limits limits)
    : QAbstractHttpServer(parent), Snapshot_(snapshot), Limits_(limits) {}

std::string Status_Server::Start(const Remote_Settings& settings) {
    Access_ = {settings.On_Network, settings.Token};
    Listener_ = new Bounded_Listener(Limits_, this);
    QHostAddress address = settings.On_Network ? QHostAddress::Any : QHostAddress::LocalHost;
    if (!Listener_->listen(address, static_cast<quint16>(settings.Port))) {
        std::string reason = Listener_->errorString().toStdString();
        delete Listener_;
        Listener_ = nullptr;
        return reason;
    }
    Access_.Port = Listener_->serverPort();
    bind(Listener_);
    return "";
}

quint16 Status_Server::Port() const {
    return Listener_ ? Listener_->serverPort() : 0;
}

bool Status_Server::handleRequest(const QHttpServerRequest& request, QTcpSocket* socket) {
    // The rest of what a refused or dropped client sent is not answered.
    if (socket->state() != QAbstractSocket::ConnectedState) return true;
    Status_Request asked;
    asked.Method = Method_Name(request.method());
    asked.Path = request.url().path(QUrl::FullyEncoded).toStdString();
    QUrlQuery query = request.query();
    asked.Query_Token = query.queryItemValue("token").toStdString();
    asked.Has_Since = query.hasQueryItem("since");
    asked.Query_Since = query.queryItemValue("since").toStdString();
    asked.Authorization = Header(request, "Authorization");
    asked.Cookie = Header(request, "Cookie");
    asked.Host = Header(request, "Host");
    Status_Response answer = Answer_Status_Request(asked, Snapshot_, Access_);

    // What earlier answers left unsent: the client's own backlog, whatever this answer's size.
    const qint64 unsent_before = socket->bytesToWrite();
    QHttpServerResponder responder = makeResponder(request, socket);
    responder.writeStatusLine(static_cast<QHttpServerResponder::StatusCode>(answer.Code));
    responder.writeHeader("Content-Type", QByteArray::fromStdString(answer.Content_Type));
    for (const auto& [name, value] : answer.Headers) {
        responder.writeHeader(QByteArray::fromStdString(name), QByteArray::fromStdString(value));
    }
    responder.writeHeader("Content-Length", QByteArray::number(qsizetype(answer.Body.size())));
    const bool refused = answer.Code == 401;
    if (refused) responder.writeHeader("Connection", "close");
    responder.writeBody(answer.Body.data(), static_cast<qint64>(answer.Body.size()));
    // Without the token nothing more is read: the answer goes out and the line is closed.
    if (refused) {
        socket->disconnectFromHost();
    } else {
        Listener_->Answered(socket, unsent_before);
    }
    return true;
}

void Status_Server::missingHandler(const QHttpServerRequest& request, QTcpSocket* socket) {
    // Every request is answered by handleRequest; this is only the base class's duty.
    makeResponder(request, socket).write(QHttpServerResponder::StatusCode::NotFound);
}

}  // namespace corvanel
