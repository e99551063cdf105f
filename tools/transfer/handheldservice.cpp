#include "handheldservice.h"

#include <QDateTime>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>

#include "pagefiles.h"
#include "platform/pairedhandhelds.h"
#include "platform/programerror.h"
#include "scannermemory.h"

namespace {

// Guessing the code is cut short: after this many wrong ones the transfer pairs nobody.
constexpr int kWrongCodesAllowed = 5;
constexpr int kNameLength = 40;

QJsonObject jsonBody(const QByteArray& body) {
    return QJsonDocument::fromJson(body).object();
}

// The upload mode whose header line `line` is, or none.
const scanner::UploadMode* modeOfHeader(const QByteArray& line) {
    for (const scanner::UploadMode& mode : scanner::kUploadModes) {
        if (line == mode.magic) {
            return &mode;
        }
    }
    return nullptr;
}

// What staff call an upload of `mode`.
QString kindInWords(const scanner::UploadMode& mode) {
    const QByteArray command(mode.command);
    if (command == "stocktake") {
        return QStringLiteral("a stocktake");
    }
    return command == "orders" ? QStringLiteral("a purchase order")
                               : QStringLiteral("a goods-received delivery");
}

bool isPrintable(const QString& name) {
    return std::all_of(name.begin(), name.end(), [](QChar c) { return c.isPrint(); });
}

QByteArray bearerToken(const HttpRequest& request) {
    const QByteArray authorization = request.header("authorization");
    return authorization.startsWith("Bearer ") ? authorization.mid(7).trimmed() : QByteArray();
}

}  // namespace

HandheldService::HandheldService(HandheldOffer offer, QString handheldsPath, QString pairingCode)
    : offer_(std::move(offer)),
      handheldsPath_(std::move(handheldsPath)),
      pairingCode_(std::move(pairingCode)) {}

HttpReply HandheldService::answer(const HttpRequest& request) {
    const QByteArray& path = request.path();
    const bool post = request.method() == "POST";
    if (!path.startsWith("/api/")) {
        return request.method() == "GET" ? pageFile(path) : errorReply(405, QStringLiteral("Not here"));
    }
    if (path == "/api/pair") {
        return post ? pair(request.body()) : errorReply(405, QStringLiteral("Pairing is a POST"));
    }
    std::optional<QString> handheld;
    try {
        handheld = platform::handheldWithToken(handheldsPath_, QString::fromLatin1(bearerToken(request)),
                                               QDateTime::currentDateTimeUtc());
    } catch (const ProgramError& failure) {
        return errorReply(
            503, QStringLiteral("The PC cannot read its paired handhelds: %1").arg(failure.description()));
    }
    if (!handheld) {
        return errorReply(401, QStringLiteral("This handheld is not paired: type the code shown on the PC"));
    }
    emit heard(*handheld);
    if (path == "/api/transfer" && !post) {
        return describe(*handheld);
    }
    if (path == "/api/items" && !post) {
        return items();
    }
    if (path == "/api/items/taken" && post) {
        return taken(request.body());
    }
    if (path == "/api/upload" && post) {
        return upload(request.body());
    }
    return errorReply(404, QStringLiteral("There is no such request"));
}

HttpReply HandheldService::pair(const QByteArray& body) {
    if (wrongCodes_ >= kWrongCodesAllowed) {
        return errorReply(429, QStringLiteral("Too many wrong codes: start the transfer again on the PC for "
                                              "a new code"));
    }
    const QJsonObject request = jsonBody(body);
    if (request.value(QStringLiteral("code")).toString() != pairingCode_) {
        ++wrongCodes_;
        return errorReply(403, QStringLiteral("That is not the code the PC shows: type it again"));
    }
    const QString name = request.value(QStringLiteral("name")).toString().trimmed();
    if (name.isEmpty() || name.size() > kNameLength || !isPrintable(name)) {
        return errorReply(400,
                          QStringLiteral("Give the handheld a name of 1 to %1 letters").arg(kNameLength));
    }
    try {
        const QString token = platform::pairHandheld(handheldsPath_, name, QDateTime::currentDateTimeUtc());
        emit heard(name);
        return jsonReply(200, {{QStringLiteral("token"), token}, {QStringLiteral("name"), name}});
    } catch (const ProgramError& failure) {
        return errorReply(503,
                          QStringLiteral("The PC could not keep the pairing: %1").arg(failure.description()));
    }
}

HttpReply HandheldService::describe(const QString& handheld) const {
    const scanner::UploadMode* mode = scanner::uploadModeOfFile(offer_.fileName);
    return jsonReply(200, {{QStringLiteral("direction"), offer_.sending ? "send" : "receive"},
                           {QStringLiteral("file"), offer_.fileName},
                           {QStringLiteral("mode"), mode ? mode->command : "items"},
                           {QStringLiteral("name"), handheld}});
}

HttpReply HandheldService::items() const {
    if (!offer_.sending) {
        return errorReply(409, QStringLiteral("The PC is not sending the item file now"));
    }
    return {200,
            "text/plain; charset=ISO-8859-1",
            offer_.itemFile,
            {{"Cache-Control", "no-store"}, {"X-Records", QByteArray::number(offer_.itemRecords)}}};
}

HttpReply HandheldService::taken(const QByteArray& body) {
    if (!offer_.sending || over_) {
        return errorReply(409, QStringLiteral("The PC is not sending the item file now"));
    }
    const QJsonObject got = jsonBody(body);
    if (got.value(QStringLiteral("records")).toInt(-1) != offer_.itemRecords ||
        got.value(QStringLiteral("bytes")).toInteger(-1) != offer_.itemFile.size()) {
        return errorReply(409, QStringLiteral("The item file did not arrive whole: take it again"));
    }
    over_ = true;
    emit progressed(offer_.itemRecords, offer_.itemRecords);
    emit finished(true, QString());
    return jsonReply(200, {{QStringLiteral("records"), offer_.itemRecords}});
}

HttpReply HandheldService::upload(const QByteArray& body) {
    const scanner::UploadMode* wanted = scanner::uploadModeOfFile(offer_.fileName);
    if (offer_.sending || !wanted || over_) {
        return errorReply(409, QStringLiteral("The PC is not waiting for an upload now"));
    }
    if (body.contains('\0')) {
        return errorReply(400, QStringLiteral("That is not a text file"));
    }
    const QList<QByteArray> lines = body.split('\n');
    const scanner::UploadMode* sent = modeOfHeader(lines.first().trimmed());
    if (sent != wanted) {
        return errorReply(409, QStringLiteral("The PC is waiting for %1 (%2)%3: choose that on the handheld "
                                              "and send again")
                                   .arg(kindInWords(*wanted), offer_.fileName,
                                        sent ? QStringLiteral(", not ") + kindInWords(*sent) : QString()));
    }
    const auto records = std::count_if(lines.begin() + 1, lines.end(),
                                       [](const QByteArray& line) { return !line.trimmed().isEmpty(); });
    over_ = true;
    try {
        scanner::writeAtomically(offer_.uploadPath, body);
    } catch (const scanner::Failure& failure) {
        emit finished(false, QString::fromLocal8Bit(failure.what()));
        return errorReply(503, QStringLiteral("The PC could not save the upload (%1): keep the counts and "
                                              "send again once it can")
                                   .arg(QString::fromLocal8Bit(failure.what())));
    }
    emit progressed(static_cast<int>(records), static_cast<int>(records));
    emit finished(true, QString());
    return jsonReply(200, {{QStringLiteral("records"), static_cast<qint64>(records)}});
}
