#pragma once

#include <QEventLoop>
#include <QJsonDocument>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QProcess>
#include <QSslConfiguration>
#include <QTcpServer>
#include <QTemporaryDir>
#include <QTimer>

#include "programfiles.h"

// What the handheld page's server answered: the status and the body.
struct PageAnswer {
    int status;
    QByteArray body;
};

// The transfer utility serving the handheld page on a free port, with scanner settings of its own
// in a private folder, and a client that trusts the certificate authority the utility made there.
class HandheldUtility {
public:
    explicit HandheldUtility(int linkUpSeconds = 60) {
        QTcpServer probe;
        probe.listen(QHostAddress::LocalHost);
        port_ = probe.serverPort();
        probe.close();
        writeBytes(settingsPath(),
                   QStringLiteral("[ports]\nCOM1=web\n[web]\nport=%1\n[link]\nlink-up-seconds=%2\n")
                       .arg(port_)
                       .arg(linkUpSeconds)
                       .toLatin1());
    }

    QString path(const QString& name) const { return folder_.filePath(name); }
    QString settingsPath() const { return path("scanner.ini"); }
    QStringList environment() const { return {"RMSTOCKHAND_SCANNER_SETTINGS=" + settingsPath()}; }
    int port() const { return port_; }
    const QString& code() const { return code_; }
    QProcess& process() { return utility_; }

    // Starts the utility with `arguments` and waits until it shows its pairing code.
    bool start(const QStringList& arguments) {
        startProgram(utility_, "Tsr-tu3a.exe", arguments, environment());
        while (utility_.waitForReadyRead(20000)) {
            const QByteArray shown = utility_.peek(4096);
            const qsizetype at = shown.indexOf("Pairing code: ");
            if (at >= 0 && shown.indexOf('\n', at) > at) {
                code_ = QString::fromLatin1(shown.mid(at + 14, 6));
                QSslConfiguration tls = QSslConfiguration::defaultConfiguration();
                tls.setCaCertificates(QSslCertificate::fromPath(path("web/authority.crt")));
                tls_ = tls;
                return true;
            }
        }
        return false;
    }

    // Sends one request to the page as a handheld holding `token` would; or to the plain port.
    PageAnswer request(const QByteArray& method, const QString& where, const QByteArray& body = {},
                       const QString& token = {}, bool plain = false) {
        QNetworkRequest request(QUrl(plain ? QStringLiteral("http://localhost:%1%2").arg(port_ + 1).arg(where)
                                           : QStringLiteral("https://localhost:%1%2").arg(port_).arg(where)));
        request.setSslConfiguration(tls_);
        request.setHeader(QNetworkRequest::ContentTypeHeader, "text/plain");
        if (!token.isEmpty()) {
            request.setRawHeader("Authorization", "Bearer " + token.toLatin1());
        }
        QNetworkReply* reply = network_.sendCustomRequest(request, method, body);
        QEventLoop loop;
        QObject::connect(reply, &QNetworkReply::finished, &loop, &QEventLoop::quit);
        QTimer::singleShot(20000, &loop, &QEventLoop::quit);
        loop.exec();
        const PageAnswer answer{reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt(),
                                reply->readAll()};
        reply->deleteLater();
        return answer;
    }

    // Pairs a handheld named `name` with the code shown; gives its token, or nothing.
    QString pair(const QString& name) {
        const PageAnswer answer = request(
            "POST", "/api/pair", QStringLiteral(R"({"code":"%1","name":"%2"})").arg(code_, name).toUtf8());
        return QJsonDocument::fromJson(answer.body)[QStringLiteral("token")].toString();
    }

    // Waits for the utility to end; its exit code and standard error.
    ProgramRun finish() {
        EXPECT_TRUE(utility_.waitForFinished(30000));
        return {utility_.exitCode(), utility_.readAllStandardOutput(), utility_.readAllStandardError()};
    }

private:
    QTemporaryDir folder_;
    int port_ = 0;
    QString code_;
    QProcess utility_;
    QSslConfiguration tls_;
    QNetworkAccessManager network_;
};
