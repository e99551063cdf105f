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

// Starts `name` from the bin folder in the test's environment, with `variables` ("NAME=value")
// set or changed.
inline void startProgram(QProcess& program, const char* name, const QStringList& arguments,
                         const QStringList& variables = {}) {
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const QString& variable : variables) {
        environment.insert(variable.section('=', 0, 0), variable.section('=', 1));
    }
    program.setProcessEnvironment(environment);
    program.start(QStringLiteral(RM_BIN_DIR "/") + QLatin1String(name), arguments);
}

// Runs `name` from the bin folder like startProgram and waits for it to end.
inline ProgramRun runProgram(const char* name, const QStringList& arguments,
                             const QStringList& variables = {}) {
    QProcess program;
    startProgram(program, name, arguments, variables);
    EXPECT_TRUE(program.waitForFinished(120000)) << name << " did not finish";
    return {program.exitCode(), program.readAllStandardOutput(), program.readAllStandardError()};
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
