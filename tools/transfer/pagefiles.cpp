#include "pagefiles.h"

#include <QFile>
#include <QRegularExpression>

namespace {

QByteArray contentType(const QByteArray& name) {
    static const std::pair<const char*, const char*> kTypes[] = {
        {".html", "text/html; charset=utf-8"},
        {".js", "text/javascript; charset=utf-8"},
        {".mjs", "text/javascript; charset=utf-8"},
        {".css", "text/css; charset=utf-8"},
        {".wasm", "application/wasm"},
        {".json", "application/json"},
        {".webmanifest", "application/manifest+json"},
        {".svg", "image/svg+xml"},
        {".png", "image/png"},
    };
    for (const auto& [ending, type] : kTypes) {
        if (name.endsWith(ending)) {
            return type;
        }
    }
    return "application/octet-stream";
}

}  // namespace

HttpReply pageFile(const QByteArray& path) {
    // Plain names in the page's folder and its reader's, nothing that climbs out of them.
    static const QRegularExpression fileName(QStringLiteral("^/((zxing/)?[A-Za-z0-9_-][A-Za-z0-9._-]*)$"));
    const QByteArray name = path == "/" ? QByteArrayLiteral("/index.html") : path;
    const QRegularExpressionMatch match = fileName.match(QString::fromLatin1(name));
    QFile file(QStringLiteral(":/handheld/") + match.captured(1));
    if (!match.hasMatch() || name.contains("..") || !file.open(QIODevice::ReadOnly)) {
        return errorReply(404, QStringLiteral("There is no such page here"));
    }
    return {200, contentType(name), file.readAll(), {{"Cache-Control", "no-cache"}}};
}
