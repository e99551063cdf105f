#include <QApplication>
#include <QCoreApplication>
#include <iostream>
#include <memory>

#include "platform/screen.h"
#include "scannermemory.h"
#include "stopsignals.h"
#include "transfercommand.h"
#include "transferrun.h"

namespace {

// A window only on a screen someone looks at: tests and headless runs use the offscreen platform
// and get the lines on standard error instead.
bool wantsWindow(int argc, char** argv) {
    QStringList arguments;
    for (int i = 0; i < argc; ++i) {
        arguments << QString::fromLocal8Bit(argv[i]);
    }
    return platform::hasScreen(arguments) &&
           qEnvironmentVariable("QT_QPA_PLATFORM") != QLatin1String("offscreen");
}

}  // namespace

// The scanner's transfer utility: moves the item file to the scanner or an upload from it.
int main(int argc, char** argv) {
    // Held back before any thread starts, so that a stop signal reaches the transfer and not the
    // default action in a thread of the toolkit's.
    StopSignals stops;
    const bool windowed = wantsWindow(argc, argv);
    const std::unique_ptr<QCoreApplication> app = windowed ? std::make_unique<QApplication>(argc, argv)
                                                           : std::make_unique<QCoreApplication>(argc, argv);
    try {
        runTransfer(parseTransferCommand(QCoreApplication::arguments().mid(1)), windowed, stops);
        return 0;
    } catch (const scanner::Failure& failure) {
        std::cerr << "Tsr-tu3a.exe: " << failure.what() << std::endl;
        return 1;
    }
}
