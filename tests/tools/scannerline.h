#pragma once

#include <QDir>
#include <QProcess>
#include <QTemporaryDir>

#include "programfiles.h"

// A scanner on a serial line for a test: the simulator serving its end of a pseudo-terminal, whose
// other end the user's scanner settings name as both ports, with time-outs of a tenth of a second.
class ScannerLine {
public:
    // `simulatorOptions` go to `pdt-sim serve` (a fault, a pace).
    explicit ScannerLine(const QStringList& simulatorOptions = {}) {
        QDir().mkpath(memory());
        writeBytes(settings(), QStringLiteral("[ports]\nCOM1=%1\nCOM2=%1\n[link]\nretry-interval-ms=100\n"
                                              "link-up-seconds=3\n")
                                   .arg(path("line"))
                                   .toUtf8());
        startProgram(simulator_, "pdt-sim",
                     QStringList{"serve", "--link", path("line"), "--retry-ms", "100"} + simulatorOptions,
                     {"PDT_SIM_DIR=" + memory()});
        EXPECT_TRUE(simulator_.waitForReadyRead(10000)) << "pdt-sim serve did not start";
        started_ = simulator_.readLine();
        EXPECT_TRUE(started_.startsWith("pdt-sim: the scanner is on /dev/pts/")) << started_.data();
    }
    ~ScannerLine() {
        simulator_.terminate();
        simulator_.waitForFinished(10000);
    }

    QString path(const QString& name) const { return folder_.filePath(name); }
    QString memory() const { return path("memory"); }
    QString settings() const { return path("scanner.ini"); }
    // The pseudo-terminal the simulator opened.
    QByteArray device() const { return started_.mid(started_.indexOf("/dev/")).trimmed(); }
    // What a program needs to find the line: the settings, and no simulator folder.
    QStringList environment() const { return {"RMSTOCKHAND_SCANNER_SETTINGS=" + settings(), "PDT_SIM_DIR="}; }
    ProgramRun transfer(const QStringList& arguments) const {
        return runProgram("Tsr-tu3a.exe", arguments, environment());
    }
    // Has the simulator scan an upload of `records` into its memory.
    void scan(const char* command, int records) const {
        const ProgramRun run = runProgram("pdt-sim", {command, "--records", QString::number(records)},
                                          {"PDT_SIM_DIR=" + memory()});
        EXPECT_EQ(run.exitCode, 0) << run.errors.data();
    }

private:
    QTemporaryDir folder_;
    QProcess simulator_;
    QByteArray started_;
};
