#include "linetransfer.h"

#include <QEventLoop>
#include <QFileInfo>
#include <QSocketNotifier>
#include <QTimer>
#include <memory>

#include "consolereport.h"
#include "filetransfer.h"
#include "outgoingfile.h"
#include "receivedupload.h"
#include "receivingstation.h"
#include "scannermemory.h"
#include "sendingstation.h"
#include "seriallink.h"
#include "transferwindow.h"

namespace {

// Lets `view`, the window or the console report, follow what `transfer` tells.
template <typename View>
void follow(FileTransfer& transfer, View& view) {
    QObject::connect(&transfer, &FileTransfer::linkedUp, &view, &View::onLinkedUp);
    QObject::connect(&transfer, &FileTransfer::progressed, &view, &View::onProgressed);
    QObject::connect(&transfer, &FileTransfer::noticed, &view, &View::onNoticed);
    QObject::connect(&transfer, &FileTransfer::finished, &view, &View::onFinished);
}

// Shows `transfer` in a window; `loop` ends when the window closes.
std::unique_ptr<QObject> showInWindow(FileTransfer& transfer, QEventLoop& loop, const QString& what,
                                      const QString& where) {
    auto window = std::make_unique<TransferWindow>(what, where);
    follow(transfer, *window);
    QObject::connect(window.get(), &TransferWindow::cancelRequested, &transfer, &FileTransfer::cancel);
    QObject::connect(window.get(), &TransferWindow::closed, &loop, &QEventLoop::quit);
    window->show();
    return window;
}

// Tells how `transfer` goes on standard error; `loop` ends when the transfer does.
std::unique_ptr<QObject> reportOnConsole(FileTransfer& transfer, QEventLoop& loop, const QString& what,
                                         const QString& where) {
    auto report = std::make_unique<ConsoleReport>(what, where);
    follow(transfer, *report);
    QObject::connect(&transfer, &FileTransfer::finished, &loop, &QEventLoop::quit);
    report->onStarted();
    return report;
}

// Runs `station` over `line` until the transfer ends and, in a window, the window is closed; a
// stop signal cancels the transfer and ends at once.
void drive(SerialLink& line, Station& station, const QString& what, const QString& where,
           const TransferFace& face) {
    FileTransfer transfer(line, station);
    QEventLoop loop;
    const std::unique_ptr<QObject> watcher = face.windowed ? showInWindow(transfer, loop, what, where)
                                                           : reportOnConsole(transfer, loop, what, where);
    QSocketNotifier stop(face.stops.descriptor(), QSocketNotifier::Read);
    QObject::connect(&stop, &QSocketNotifier::activated, &loop, [&] {
        face.stops.collect();
        transfer.cancel();
        loop.quit();
    });
    QTimer::singleShot(0, &transfer, &FileTransfer::start);
    loop.exec();
    line.drain();
    if (!transfer.succeeded()) {
        throw scanner::Failure(transfer.failure());
    }
}

}  // namespace

void sendOverLine(const TransferCommand& command, const ScannerLink& link,
                  const fileprotocol::LinkRules& rules, const TransferFace& face) {
    OutgoingFile file = readOutgoingFile(command.path, command.fieldWidths);
    SerialLink line(link);
    SendingStation station(std::move(file), rules);
    drive(line, station, QStringLiteral("Sending %1").arg(QFileInfo(command.path).fileName()),
          link.described(), face);
}

void receiveOverLine(const TransferCommand& command, const ScannerLink& link,
                     const fileprotocol::LinkRules& rules, const TransferFace& face) {
    const QByteArray wantedName = wantedUploadName(command.path);
    SerialLink line(link);
    ReceivingStation station(rules, wantedName);
    drive(line, station, QStringLiteral("Receiving %1").arg(QFileInfo(command.path).fileName()),
          link.described(), face);
    writeUpload(command.path, station.heading().value(), station.records());
}
