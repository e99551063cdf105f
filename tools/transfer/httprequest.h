#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QHash>

// One HTTP/1.1 request read from a connection a piece at a time, within hard limits, since whoever
// is on the shop's network may send anything.
class HttpRequest {
public:
    enum class State { Reading, Complete, Refused };

    // `bodyLimit`: the most bytes a body may have.
    explicit HttpRequest(qsizetype bodyLimit);

    // Takes what arrived; the state says whether the request is whole, or refused with a status.
    State feed(QByteArrayView bytes);

    State state() const { return state_; }
    // The status to refuse with (400, 411, 413, 431, 501), once refused.
    int refusal() const { return refusal_; }

    const QByteArray& method() const { return method_; }
    // The path without its query: "/api/items".
    const QByteArray& path() const { return path_; }
    // A header's value by its name in lower case, or empty.
    QByteArray header(const QByteArray& lowerName) const { return headers_.value(lowerName); }
    const QByteArray& body() const { return body_; }

private:
    State refuse(int status);
    State readHead();
    bool parseRequestLine(QByteArrayView line);
    bool parseHeaderLine(QByteArrayView line);
    State startBody();

    qsizetype bodyLimit_;
    QByteArray buffer_;
    bool inBody_ = false;
    qsizetype bodyLength_ = 0;
    State state_ = State::Reading;
    int refusal_ = 0;
    QByteArray method_;
    QByteArray path_;
    QHash<QByteArray, QByteArray> headers_;
    QByteArray body_;
};
