#include "httprequest.h"

namespace {

// A request line and its headers together: more is no handheld's request.
constexpr qsizetype kHeadLimit = 16 * 1024;
constexpr int kHeaderCountLimit = 64;

const QByteArray kHeadEnd = QByteArrayLiteral("\r\n\r\n");

}  // namespace

HttpRequest::HttpRequest(qsizetype bodyLimit) : bodyLimit_(bodyLimit) {}

HttpRequest::State HttpRequest::feed(QByteArrayView bytes) {
    if (state_ != State::Reading) {
        return state_;
    }
    if (inBody_) {
        body_.append(bytes.first(std::min(bytes.size(), bodyLength_ - body_.size())));
        state_ = body_.size() == bodyLength_ ? State::Complete : State::Reading;
        return state_;
    }
    buffer_.append(bytes);
    return readHead();
}

HttpRequest::State HttpRequest::refuse(int status) {
    refusal_ = status;
    state_ = State::Refused;
    buffer_.clear();
    body_.clear();
    return state_;
}

HttpRequest::State HttpRequest::readHead() {
    const qsizetype end = buffer_.indexOf(kHeadEnd);
    if (end < 0) {
        return buffer_.size() > kHeadLimit ? refuse(431) : State::Reading;
    }
    if (end > kHeadLimit) {
        return refuse(431);
    }
    const QList<QByteArray> lines = buffer_.left(end).split('\n');
    if (lines.size() > kHeaderCountLimit + 1 || !parseRequestLine(lines.first())) {
        return refuse(lines.size() > kHeaderCountLimit + 1 ? 431 : 400);
    }
    for (qsizetype i = 1; i < lines.size(); ++i) {
        if (!parseHeaderLine(lines.at(i))) {
            return refuse(400);
        }
    }
    body_ = buffer_.mid(end + kHeadEnd.size());
    buffer_.clear();
    return startBody();
}

bool HttpRequest::parseRequestLine(QByteArrayView line) {
    const QList<QByteArray> parts = line.trimmed().toByteArray().split(' ');
    if (parts.size() != 3 || !parts.at(2).startsWith("HTTP/1.") || !parts.at(1).startsWith('/')) {
        return false;
    }
    method_ = parts.at(0);
    const QByteArray& target = parts.at(1);
    const qsizetype query = target.indexOf('?');
    path_ = query < 0 ? target : target.left(query);
    return !method_.isEmpty();
}

bool HttpRequest::parseHeaderLine(QByteArrayView line) {
    const QByteArray text = line.trimmed().toByteArray();
    const qsizetype colon = text.indexOf(':');
    if (colon <= 0) {
        return false;
    }
    headers_.insert(text.left(colon).trimmed().toLower(), text.mid(colon + 1).trimmed());
    return true;
}

HttpRequest::State HttpRequest::startBody() {
    if (!header("transfer-encoding").isEmpty()) {
        return refuse(501);
    }
    const QByteArray length = header("content-length");
    if (length.isEmpty()) {
        if (method_ == "POST" || method_ == "PUT") {
            return refuse(411);
        }
        bodyLength_ = 0;
    } else {
        bool isNumber = false;
        bodyLength_ = length.toLongLong(&isNumber);
        if (!isNumber || bodyLength_ < 0) {
            return refuse(400);
        }
        if (bodyLength_ > bodyLimit_) {
            return refuse(413);
        }
    }
    inBody_ = true;
    body_.truncate(bodyLength_);
    state_ = body_.size() == bodyLength_ ? State::Complete : State::Reading;
    return state_;
}
