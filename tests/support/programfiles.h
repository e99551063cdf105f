#pragma once

#include "qtprinting.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QProcess>

// What a program of the bin folder did: its exit code, standard output and standard error.
struct ProgramRun {
    int exitCode;
    QByteArray output, errors;
};

// Starts the program at `path` in the test's environment, with `variables` ("NAME=value") set or
// changed; a bare name is looked for on the PATH.
inline void startCommand(QProcess& program, const QString& path, const QStringList& arguments,
                         const QStringList& variables = {}) {
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const QString& variable : variables) {
        environment.insert(variable.section('=', 0, 0), variable.section('=', 1));
    }
    program.setProcessEnvironment(environment);
    program.start(path, arguments);
}

// Starts `name` from the bin folder like startCommand.
inline void startProgram(QProcess& program, const char* name, const QStringList& arguments,
                         const QStringList& variables = {}) {
    startCommand(program, QStringLiteral(RM_BIN_DIR "/") + QLatin1String(name), arguments, variables);
}

// Runs the program at `path` like startCommand and waits for it to end.
inline ProgramRun runCommand(const QString& path, const QStringList& arguments,
                             const QStringList& variables = {}) {
    QProcess program;
    startCommand(program, path, arguments, variables);
    EXPECT_TRUE(program.waitForFinished(120000)) << path.toStdString() << " did not finish";
    return {program.exitCode(), program.readAllStandardOutput(), program.readAllStandardError()};
}

// Runs `name` from the bin folder like runCommand.
inline ProgramRun runProgram(const char* name, const QStringList& arguments,
                             const QStringList& variables = {}) {
    return runCommand(QStringLiteral(RM_BIN_DIR "/") + QLatin1String(name), arguments, variables);
}

// Writes `bytes` as the whole file at `path` and gives back the path.
inline QString writeBytes(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size()) << path.toStdString();
    return path;
}

// The whole file at `path`, or "<none>" when there is none to read.
inline QByteArray readBytes(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<none>");
}
