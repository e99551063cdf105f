#include "batch/batchprompts.h"

#include <cstdio>

bool BatchPrompts::question(const QString& text) {
    writeLine(text);
    return answerYes_;
}

QString BatchPrompts::openFileName(const QString& fileName, const QString& /*filter*/,
                                   const QString& /*title*/) {
    // Nobody can pick a file here: the dialog counts as cancelled.
    return fileName;
}

QString BatchPrompts::saveFileName(const QString& fileName, const QString& /*filter*/,
                                   const QString& /*title*/) {
    return fileName;
}

void BatchPrompts::writeLine(const QString& text) {
    // A message box's line breaks would split one message over several lines of the log.
    QString line = text;
    line.replace(QLatin1String("\r\n"), QLatin1String(" ")).replace(QLatin1Char('\n'), QLatin1Char(' '));
    const QByteArray bytes = line.toLocal8Bit() + '\n';
    std::fwrite(bytes.constData(), 1, static_cast<size_t>(bytes.size()), stderr);
    std::fflush(stderr);
}
