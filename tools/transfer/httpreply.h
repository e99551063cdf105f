#pragma once

#include <QByteArray>
#include <QJsonObject>
#include <QList>
#include <QString>
#include <utility>

// The answer to one HTTP request, and the few kinds the handheld page gets.
struct HttpReply {
    int status = 200;
    QByteArray contentType;
    QByteArray body;
    QList<std::pair<QByteArray, QByteArray>> headers;

    // The whole response on the wire; each connection carries one request, so it asks to close.
    QByteArray bytes() const;
};

HttpReply jsonReply(int status, const QJsonObject& object);
// An error the page shows as it stands: `text` says what happened and what to do.
HttpReply errorReply(int status, const QString& text);
