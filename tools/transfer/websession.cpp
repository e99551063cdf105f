#include "websession.h"

#include <QFileInfo>
#include <QHostInfo>
#include <QNetworkInterface>
#include <QRandomGenerator>
#include <QSslConfiguration>
#include <iostream>

#include "consolereport.h"
#include "pagefiles.h"
#include "platform/pairedhandhelds.h"
#include "qrcodeimage.h"
#include "scannermemory.h"
#include "transferwindow.h"
#include "webidentity.h"

namespace {

// An upload past this is no shop's stocktake: a hundred thousand lines take a few megabytes.
constexpr qsizetype kUploadLimit = 16 * 1024 * 1024;
// How long the replies already on their way get to go out once the transfer has ended.
constexpr int kDrainMsecs = 2000;
constexpr int kQrModuleSize = 6;

QString newPairingCode() {
    return QStringLiteral("%1").arg(QRandomGenerator::system()->bounded(1000000), 6, 10, QLatin1Char('0'));
}

// The PC's names and addresses, for its certificate, and the one to show the handheld: the first
// address on the shop's network, or the PC's name when it has none.
struct PcAddresses {
    QStringList names;
    QList<QHostAddress> addresses;
    QString shown;
};

PcAddresses pcAddresses() {
    PcAddresses pc{{QStringLiteral("localhost")}, {}, QString()};
    const QString hostName = QHostInfo::localHostName();
    if (!hostName.isEmpty() && hostName != QLatin1String("localhost")) {
        pc.names << hostName;
    }
    for (const QHostAddress& address : QNetworkInterface::allAddresses()) {
        if (address.isLinkLocal()) {
            continue;
        }
        pc.addresses << address;
        if (pc.shown.isEmpty() && !address.isLoopback() &&
            address.protocol() == QAbstractSocket::IPv4Protocol) {
            pc.shown = address.toString();
        }
    }
    if (pc.shown.isEmpty()) {
        pc.shown = pc.names.last();
    }
    return pc;
}

QSslConfiguration tlsConfiguration(const WebIdentity& identity) {
    QSslConfiguration tls = QSslConfiguration::defaultConfiguration();
    tls.setLocalCertificateChain(identity.chain);
    tls.setPrivateKey(identity.key);
    tls.setPeerVerifyMode(QSslSocket::VerifyNone);
    tls.setProtocol(QSsl::TlsV1_2OrLater);
    return tls;
}

// The plain port's answers: the instructions for trusting the PC, and the certificate to trust.
HttpReply instructionsReply(const HttpRequest& request, const QByteArray& authority) {
    if (request.method() == "GET" && request.path() == "/rmstockhand-ca.crt") {
        return {200, "application/x-x509-ca-cert", authority, {{"Cache-Control", "no-cache"}}};
    }
    if (request.method() == "GET" && request.path() == "/") {
        return pageFile("/instructions.html");
    }
    return errorReply(404,
                      QStringLiteral("This port serves only how to trust the PC: open the https address"));
}

}  // namespace

WebSession::WebSession(HandheldOffer offer, const platform::ScannerSettings& settings, QString what,
                       StopSignals& stops)
    : settings_(settings),
      what_(std::move(what)),
      sending_(offer.sending),
      code_(newPairingCode()),
      service_(std::move(offer), platform::pairedHandheldsPath(), code_),
      stopSignals_(stops),
      stopNotifier_(stops.descriptor(), QSocketNotifier::Read) {
    deadline_.setSingleShot(true);
    connect(&deadline_, &QTimer::timeout, this, [this] { end(false, nobodyCalled()); });
    connect(&service_, &HandheldService::heard, this, &WebSession::onHeard);
    connect(&service_, &HandheldService::finished, this, &WebSession::end);
    connect(&stopNotifier_, &QSocketNotifier::activated, this, [this] {
        stopSignals_.collect();
        end(false, QStringLiteral("the transfer was cancelled"));
        loop_.quit();
    });
}

WebSession::~WebSession() = default;

void WebSession::run(const QString& where, bool windowed) {
    const PcAddresses pc = pcAddresses();
    const WebIdentity identity =
        loadWebIdentity(QFileInfo(platform::pairedHandheldsPath()).absolutePath() + QStringLiteral("/web"),
                        pc.names, pc.addresses);
    const QByteArray authority = identity.chain.last().toPem();
    server_ = std::make_unique<HandheldServer>(
        tlsConfiguration(identity), [this](const HttpRequest& request) { return service_.answer(request); },
        [authority](const HttpRequest& request) { return instructionsReply(request, authority); },
        kUploadLimit);
    server_->listen(static_cast<quint16>(settings_.webPort));
    const QString address = QStringLiteral("https://%1:%2/").arg(pc.shown).arg(settings_.webPort);
    const QString instructions = QStringLiteral("http://%1:%2/").arg(pc.shown).arg(settings_.webPort + 1);
    std::cout << "Handheld page: " << address.toStdString() << "\nPairing code: " << code_.toStdString()
              << "\nCertificate for handhelds: " << instructions.toStdString() << std::endl;
    if (windowed) {
        showWindow(where, address, instructions);
    } else {
        reportOnConsole(where);
    }
    emit linked(QStringLiteral("Waiting for a handheld"));
    deadline_.start(settings_.linkUpSeconds * 1000);
    loop_.exec();
    if (!succeeded_) {
        throw scanner::Failure(failure_);
    }
}

void WebSession::showWindow(const QString& where, const QString& address, const QString& instructions) {
    auto window = std::make_unique<TransferWindow>(what_, where);
    window->showHandheldPage(address, code_, qrCodeImage(address.toUtf8(), kQrModuleSize), instructions);
    connect(this, &WebSession::linked, window.get(), &TransferWindow::onNoticed);
    connect(&service_, &HandheldService::progressed, window.get(), &TransferWindow::onProgressed);
    connect(this, &WebSession::ended, window.get(), &TransferWindow::onFinished);
    connect(window.get(), &TransferWindow::cancelRequested, this,
            [this] { end(false, QStringLiteral("the transfer was cancelled")); });
    connect(window.get(), &TransferWindow::closed, &loop_, &QEventLoop::quit);
    window->show();
    view_ = std::move(window);
}

void WebSession::reportOnConsole(const QString& where) {
    auto report = std::make_unique<ConsoleReport>(what_, where);
    connect(this, &WebSession::linked, report.get(), &ConsoleReport::onNoticed);
    connect(&service_, &HandheldService::progressed, report.get(), &ConsoleReport::onProgressed);
    connect(this, &WebSession::ended, report.get(), &ConsoleReport::onFinished);
    connect(this, &WebSession::ended, &loop_, &QEventLoop::quit, Qt::QueuedConnection);
    view_ = std::move(report);
}

void WebSession::onHeard(const QString& handheld) {
    if (over_) {
        return;
    }
    deadline_.start(settings_.linkUpSeconds * 1000);
    if (!heard_.contains(handheld)) {
        heard_ << handheld;
        emit linked(QStringLiteral("%1 is linked up").arg(handheld));
    }
}

QString WebSession::nobodyCalled() const {
    return QStringLiteral(
               "no handheld %1 within %2 s: open the handheld page on it, pair it if it asks, and "
               "try again")
        .arg(sending_ ? QStringLiteral("took the item file") : QStringLiteral("sent the upload"))
        .arg(settings_.linkUpSeconds);
}

void WebSession::end(bool succeeded, const QString& failure) {
    if (over_) {
        return;
    }
    over_ = true;
    succeeded_ = succeeded;
    failure_ = failure;
    deadline_.stop();
    if (!server_ || server_->idle()) {
        tell();
        return;
    }
    server_->stopListening();
    QTimer::singleShot(kDrainMsecs, this, &WebSession::tell);
    connect(server_.get(), &HandheldServer::becameIdle, this, &WebSession::tell);
}

void WebSession::tell() {
    if (!told_) {
        told_ = true;
        emit ended(succeeded_, failure_);
    }
}
