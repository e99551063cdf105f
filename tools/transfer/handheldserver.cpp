#include "handheldserver.h"

#include <QTimer>

#include "scannermemory.h"

namespace {

// More at once is not a shop's handhelds; a connection that says nothing for this long is dropped.
constexpr int kMostConnections = 32;
constexpr int kQuietMsecs = 20000;

}  // namespace

struct HandheldServer::Connection {
    Connection(qsizetype bodyLimit, const Answer* answerer) : request(bodyLimit), answer(answerer) {}

    HttpRequest request;
    const Answer* answer;
    QTimer quiet;
};

HandheldServer::HandheldServer(const QSslConfiguration& tls, Answer secure, Answer plain, qsizetype bodyLimit)
    : secureAnswer_(std::move(secure)), plainAnswer_(std::move(plain)), bodyLimit_(bodyLimit) {
    secure_.setSslConfiguration(tls);
    secure_.setHandshakeTimeout(kQuietMsecs);
    connect(&secure_, &QTcpServer::pendingConnectionAvailable, this,
            [this] { accept(secure_, secureAnswer_); });
    connect(&plain_, &QTcpServer::pendingConnectionAvailable, this, [this] { accept(plain_, plainAnswer_); });
}

HandheldServer::~HandheldServer() {
    stopListening();
    for (QTcpSocket* socket : connections_.keys()) {
        socket->disconnect(this);
        socket->abort();
        socket->deleteLater();
    }
}

void HandheldServer::listen(quint16 port) {
    for (auto [server, number] : {std::pair<QTcpServer*, quint16>{&secure_, port}, {&plain_, port + 1}}) {
        if (!server->listen(QHostAddress::Any, number)) {
            const QString reason = server->errorString();
            stopListening();
            throw scanner::Failure(QStringLiteral("cannot serve the handheld page on port %1: %2. Close the "
                                                  "program that uses it, or set another port under [web] "
                                                  "in the scanner settings")
                                       .arg(number)
                                       .arg(reason));
        }
    }
}

void HandheldServer::stopListening() {
    secure_.close();
    plain_.close();
}

void HandheldServer::accept(QTcpServer& server, const Answer& answer) {
    while (QTcpSocket* socket = server.nextPendingConnection()) {
        if (connections_.size() >= kMostConnections) {
            socket->abort();
            socket->deleteLater();
            continue;
        }
        auto connection = std::make_shared<Connection>(bodyLimit_, &answer);
        connection->quiet.setSingleShot(true);
        connect(&connection->quiet, &QTimer::timeout, socket, [this, socket] { drop(socket); });
        connection->quiet.start(kQuietMsecs);
        connections_.insert(socket, connection);
        connect(socket, &QTcpSocket::readyRead, this, [this, socket] { onReadable(socket); });
        connect(socket, &QTcpSocket::disconnected, this, [this, socket] { drop(socket); });
        connect(socket, &QTcpSocket::errorOccurred, this, [this, socket] { drop(socket); });
        onReadable(socket);
    }
}

void HandheldServer::onReadable(QTcpSocket* socket) {
    const std::shared_ptr<Connection> connection = connections_.value(socket);
    if (!connection || connection->request.state() != HttpRequest::State::Reading) {
        return;
    }
    connection->quiet.start(kQuietMsecs);
    const HttpRequest::State state = connection->request.feed(socket->readAll());
    if (state == HttpRequest::State::Reading) {
        return;
    }
    const HttpReply reply =
        state == HttpRequest::State::Complete
            ? (*connection->answer)(connection->request)
            : errorReply(connection->request.refusal(), QStringLiteral("The PC could not read that request"));
    socket->write(reply.bytes());
    socket->disconnectFromHost();
}

void HandheldServer::drop(QTcpSocket* socket) {
    if (connections_.remove(socket) == 0) {
        return;
    }
    socket->disconnect(this);
    socket->abort();
    socket->deleteLater();
    if (connections_.isEmpty()) {
        emit becameIdle();
    }
}
