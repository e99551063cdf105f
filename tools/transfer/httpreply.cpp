#include "httpreply.h"

#include <QJsonDocument>

namespace {

QByteArray reasonPhrase(int status) {
    switch (status) {
        case 200:
            return "OK";
        case 400:
            return "Bad Request";
        case 401:
            return "Unauthorized";
        case 403:
            return "Forbidden";
        case 404:
            return "Not Found";
        case 405:
            return "Method Not Allowed";
        case 409:
            return "Conflict";
        case 411:
            return "Length Required";
        case 413:
            return "Content Too Large";
        case 429:
            return "Too Many Requests";
        case 431:
            return "Request Header Fields Too Large";
        case 501:
            return "Not Implemented";
        case 503:
            return "Service Unavailable";
        default:
            return "Error";
    }
}

}  // namespace

QByteArray HttpReply::bytes() const {
    QByteArray head = "HTTP/1.1 " + QByteArray::number(status) + ' ' + reasonPhrase(status) + "\r\n";
    head += "Content-Length: " + QByteArray::number(body.size()) + "\r\n";
    if (!contentType.isEmpty()) {
        head += "Content-Type: " + contentType + "\r\n";
    }
    head += "Connection: close\r\nX-Content-Type-Options: nosniff\r\nReferrer-Policy: no-referrer\r\n";
    for (const auto& [name, value] : headers) {
        head += name + ": " + value + "\r\n";
    }
    return head + "\r\n" + body;
}

HttpReply jsonReply(int status, const QJsonObject& object) {
    return {status,
            "application/json",
            QJsonDocument(object).toJson(QJsonDocument::Compact),
            {{"Cache-Control", "no-store"}}};
}

HttpReply errorReply(int status, const QString& text) {
    return jsonReply(status, {{QStringLiteral("error"), text}});
}
