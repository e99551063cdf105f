#pragma once

#include <QHash>
#include <QObject>
#include <QSslConfiguration>
#include <QSslServer>
#include <QTcpServer>
#include <functional>
#include <memory>

#include "httpreply.h"
#include "httprequest.h"

// Listens on the shop's network for the handheld page while a transfer runs: HTTPS on one port for
// the page, plain HTTP on the next for the instructions and the certificate to trust. Each
// connection carries one request, read within limits and answered by the function given for its port.
class HandheldServer : public QObject {
    Q_OBJECT

public:
    using Answer = std::function<HttpReply(const HttpRequest&)>;

    HandheldServer(const QSslConfiguration& tls, Answer secure, Answer plain, qsizetype bodyLimit);
    ~HandheldServer() override;

    // Listens on `port` and `port` + 1 on every address; raises scanner::Failure naming the port
    // that cannot be had.
    void listen(quint16 port);
    // Stops listening; connections still being answered may finish writing.
    void stopListening();
    // True once no connection is left.
    bool idle() const { return connections_.isEmpty(); }

signals:
    void becameIdle();

private:
    struct Connection;

    void accept(QTcpServer& server, const Answer& answer);
    void onReadable(QTcpSocket* socket);
    void drop(QTcpSocket* socket);

    QSslServer secure_;
    QTcpServer plain_;
    Answer secureAnswer_;
    Answer plainAnswer_;
    qsizetype bodyLimit_;
    QHash<QTcpSocket*, std::shared_ptr<Connection>> connections_;
};
