// The transfer utility serving the handheld page on the loopback, with a client in place of the
// handheld's browser: the item file from the send's start to the handheld having taken it, and a
// stocktake upload from its first byte to the file written, each beside the floor of one request
// for the page itself over a new TLS connection to the same server.
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QJsonDocument>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QProcess>
#include <QSslConfiguration>
#include <QTemporaryDir>
#include <cstdio>

#include "benchtools.h"

namespace {

constexpr int kPort = 28443;

[[noreturn]] void fail(const char* what) {
    std::fprintf(stderr, "handheld_page: %s\n", what);
    std::exit(1);
}

// The utility serving one transfer, and a handheld paired with it.
class Page {
public:
    Page(const QTemporaryDir& folder, const QStringList& arguments) {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("RMSTOCKHAND_SCANNER_SETTINGS"), folder.filePath("scanner.ini"));
        utility_.setProcessEnvironment(environment);
        utility_.start(bench::binFolder() + QStringLiteral("/Tsr-tu3a.exe"), arguments);
        QByteArray shown;
        while (!shown.contains("Pairing code: ") || !shown.endsWith('\n')) {
            if (!utility_.waitForReadyRead(20000)) {
                fail("the utility did not show its pairing code");
            }
            shown += utility_.readAllStandardOutput();
        }
        tls_.setCaCertificates(QSslCertificate::fromPath(folder.filePath("web/authority.crt")));
        const QByteArray code = shown.mid(shown.indexOf("Pairing code: ") + 14, 6);
        const QByteArray paired = call("POST", "/api/pair", R"({"code":")" + code + R"(","name":"Bench"})");
        token_ = QJsonDocument::fromJson(paired)[QStringLiteral("token")].toString().toLatin1();
    }

    QByteArray call(const QByteArray& method, const QString& path, const QByteArray& body = {}) {
        QNetworkRequest request(QUrl(QStringLiteral("https://localhost:%1%2").arg(kPort).arg(path)));
        request.setSslConfiguration(tls_);
        request.setHeader(QNetworkRequest::ContentTypeHeader, "text/plain");
        request.setRawHeader("Authorization", "Bearer " + token_);
        QNetworkReply* reply = network_.sendCustomRequest(request, method, body);
        QEventLoop loop;
        QObject::connect(reply, &QNetworkReply::finished, &loop, &QEventLoop::quit);
        loop.exec();
        if (reply->error() != QNetworkReply::NoError) {
            fail(qPrintable(path + QStringLiteral(": ") + reply->errorString()));
        }
        const QByteArray answer = reply->readAll();
        reply->deleteLater();
        return answer;
    }

    void finish() {
        if (!utility_.waitForFinished(20000) || utility_.exitCode() != 0) {
            fail("the transfer did not end well");
        }
    }

private:
    QProcess utility_;
    QSslConfiguration tls_ = QSslConfiguration::defaultConfiguration();
    QNetworkAccessManager network_;
    QByteArray token_;
};

double millisecondsOf(const QElapsedTimer& timer) {
    return static_cast<double>(timer.nsecsElapsed()) / 1e6;
}

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const int items = bench::intOption(app.arguments(), "--items", 200);
    const int lines = bench::intOption(app.arguments(), "--lines", 5000);
    QTemporaryDir folder;
    bench::writeFile(folder.filePath("scanner.ini"),
                     QStringLiteral("[ports]\nCOM1=web\n[web]\nport=%1\n").arg(kPort).toLatin1());
    bench::writeFile(folder.filePath("rmItems.dat"), bench::itemFile(items));

    Page send(folder, {"COM1:9600,n,8,1", "n", 'D' + folder.filePath("rmItems.dat"), "/f5,15,40,9,5"});
    QElapsedTimer timer;
    timer.start();
    send.call("GET", "/");
    const double floor = millisecondsOf(timer);
    timer.start();
    const QByteArray taken = send.call("GET", "/api/items");
    send.call("POST", "/api/items/taken",
              QStringLiteral(R"({"records":%1,"bytes":%2})").arg(items).arg(taken.size()).toLatin1());
    const double itemsMs = millisecondsOf(timer);
    send.finish();
    bench::printFigure("one request for the page (floor)", floor, "ms");
    bench::printFigure("item file taken by the handheld", itemsMs, "ms (target 1000)");
    bench::printFigure("item records", items, "");

    const QByteArray stock = bench::stocktakeUpload(lines);
    Page receive(folder, {"COM1:9600,n,8,1", "n@", folder.filePath("Stock.dat")});
    timer.start();
    receive.call("POST", "/api/upload", stock);
    const double uploadMs = millisecondsOf(timer);
    receive.finish();
    bench::printFigure("stocktake received and written", uploadMs, "ms (target 2000)");
    bench::printFigure("stocktake lines", lines, "");
    return 0;
}
