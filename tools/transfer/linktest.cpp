#include "linktest.h"

#include <QDir>
#include <QEventLoop>
#include <QFileInfo>
#include <QTimer>
#include <iostream>

#include "scannermemory.h"
#include "seriallink.h"

namespace {

constexpr int kTries = 3;

void testFolder(const ScannerLink& link) {
    const QString folder = QDir::toNativeSeparators(link.device);
    if (!QFileInfo(link.device).isDir()) {
        throw scanner::Failure(
            QStringLiteral("%1 is the folder %2, which does not exist").arg(link.portName, folder));
    }
    std::cout << QStringLiteral("%1 is the folder %2: nothing to test on a line")
                     .arg(link.portName, folder)
                     .toStdString()
              << std::endl;
}

// True when the scanner answered one of the ENQs with ACK.
bool answers(SerialLink& line, fileprotocol::Millis retryInterval) {
    QEventLoop loop;
    QTimer nextTry;
    nextTry.setSingleShot(true);
    nextTry.setTimerType(Qt::PreciseTimer);
    int tries = 0;
    bool answered = false;
    QString broken;
    const auto ask = [&] {
        if (tries == kTries) {
            loop.quit();
            return;
        }
        ++tries;
        line.send(QByteArray(1, fileprotocol::kEnq));
        nextTry.start(static_cast<int>(retryInterval.count()));
    };
    QObject::connect(&nextTry, &QTimer::timeout, &loop, ask);
    QObject::connect(&line, &SerialLink::arrived, &loop, [&](const QByteArray& bytes) {
        if (bytes.contains(fileprotocol::kAck)) {
            answered = true;
            loop.quit();
        }
    });
    QObject::connect(&line, &SerialLink::broken, &loop, [&](const QString& reason) {
        broken = reason;
        loop.quit();
    });
    ask();
    loop.exec();
    if (!broken.isEmpty()) {
        throw scanner::Failure(broken);
    }
    return answered;
}

}  // namespace

void testLink(const ScannerLink& link, fileprotocol::Millis retryInterval) {
    if (link.isFolder) {
        testFolder(link);
        return;
    }
    if (link.isWeb) {
        std::cout << QStringLiteral(
                         "%1 is a handheld's browser: the handheld page is served while a transfer "
                         "runs, so there is no line to test")
                         .arg(link.portName)
                         .toStdString()
                  << std::endl;
        return;
    }
    SerialLink line(link);
    if (!answers(line, retryInterval)) {
        throw scanner::Failure(QStringLiteral("the scanner on %1 did not answer: put it into its transfer "
                                              "mode and check the cable")
                                   .arg(link.described()));
    }
    line.send(QByteArray(1, fileprotocol::kEot));
    line.drain();
    std::cout << QStringLiteral("The scanner on %1 answered.").arg(link.described()).toStdString()
              << std::endl;
}
