#include "startup/settings.h"

#include <QFile>
#include <QFileInfo>

#include "platform/fileerror.h"
#include "platform/programerror.h"
#include "platform/wholefile.h"
#include "startup/blanks.h"
#include "startup/program.h"

namespace {

const QString kGet = QStringLiteral("GET");
constexpr qint64 kLargestSettingsFile = 64 * 1024;
const QString kPut = QStringLiteral("PUT");

QString settingsFileName(const QString& fileBase) {
    return fileBase + QStringLiteral(".config.ini");
}

// The error the file system's refusal amounts to, in the numbering of the program's messages.
ProgramError openError(const QString& fileName) {
    const QFileInfo info(fileName);
    if (info.exists() && !info.isDir() && !(info.isReadable() && info.isWritable())) {
        return ProgramError(errnum::PermissionDenied, QStringLiteral("Permission denied"));
    }
    return ProgramError(errnum::PathFileAccessError, QStringLiteral("Path/File access error"));
}

// The lines of the file: each ends at a carriage return, optionally followed by a line feed; a
// line feed on its own is part of the line.
QStringList splitLines(const QString& text) {
    QStringList lines;
    qsizetype start = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text.at(i) != QLatin1Char('\r')) {
            continue;
        }
        lines << text.mid(start, i - start);
        if (i + 1 < text.size() && text.at(i + 1) == QLatin1Char('\n')) {
            ++i;
        }
        start = i + 1;
    }
    if (start < text.size()) {
        lines << text.mid(start);
    }
    return lines;
}

// The values list must hold an entry for every key; a shorter one is out of range.
void checkEntry(const QStringList& values, qsizetype index) {
    if (index >= values.size()) {
        throw ProgramError(errnum::SubscriptOutOfRange, QStringLiteral("Subscript out of range"));
    }
}

void readEntries(Program& program, const QString& fileName, QStringList& keys, QStringList& values) {
    platform::refuseSpecialFile(fileName);
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly)) {
        throw openError(fileName);
    }
    // Two settings take a few dozen bytes: a file beyond this is not the program's settings file.
    const QByteArray text = file.read(kLargestSettingsFile + 1);
    if (text.size() > kLargestSettingsFile) {
        throw ProgramError(errnum::OutOfMemory, QStringLiteral("Out of memory"));
    }
    const QStringList lines = splitLines(QString::fromLocal8Bit(text));
    for (const QString& line : lines) {
        const TextArray pieces = program.tools.Split(line, QLatin1Char('='));
        if (pieces.upperBound() >= 2) {
            keys << trimBlanks(pieces.at(1));
            values << trimBlanks(pieces.at(2));
        }
    }
}

void writeEntries(const platform::FileDevices& devices, const QString& fileName, const QStringList& keys,
                  const QStringList& values) {
    QByteArray text;
    for (qsizetype i = 1; i < keys.size(); ++i) {
        checkEntry(values, i);
        text += (keys.at(i) + QLatin1Char('=') + values.at(i) + QStringLiteral("\r\n")).toLocal8Bit();
    }
    // The old file stays whole until the new one is complete on disk.
    platform::WholeFile file(fileName, devices);
    file.write(text);
    file.commit();
}

}  // namespace

void ManageDefaults(Program& program, const QString& fileBase, const QString& operation, const QString& key,
                    QString& value) {
    try {
        QStringList keys{QString()};
        QStringList values{QString()};
        if (operation == kGet) {
            fGetConfig(program, fileBase, keys, values);
            value = GetKeyValue(program, key, keys, values);
        } else if (operation == kPut) {
            fGetConfig(program, fileBase, keys, values);
            PutKey(program, fileBase, key, value, keys, values);
        } else {
            program.prompts.notice(QStringLiteral("Invalid type for manage defaults"));
        }
    } catch (const ProgramError& error) {
        program.prompts.notice(errorText(QStringLiteral("Error in Manage defaults file="), error));
    }
}

void fGetConfig(Program& program, const QString& fileBase, QStringList& keys, QStringList& values) {
    const QString fileName = settingsFileName(fileBase);
    if (!QFile::exists(fileName)) {
        return;
    }
    try {
        readEntries(program, fileName, keys, values);
    } catch (const ProgramError& error) {
        program.prompts.notice(errorText(QStringLiteral("Error in fGetConfig = "), error));
    }
}

QString GetKeyValue(Program& program, const QString& key, const QStringList& keys,
                    const QStringList& values) {
    try {
        for (qsizetype i = 1; i < keys.size(); ++i) {
            if (keys.at(i) == key) {
                checkEntry(values, i);
                return values.at(i);
            }
        }
    } catch (const ProgramError& error) {
        program.prompts.notice(errorText(QStringLiteral("Error in get key value="), error));
    }
    return QString();
}

void PutKey(Program& program, const QString& fileBase, const QString& key, const QString& value,
            QStringList& keys, QStringList& values) {
    try {
        bool found = false;
        for (qsizetype i = 1; i < keys.size(); ++i) {
            if (keys.at(i) == key) {
                checkEntry(values, i);
                values[i] = value;
                found = true;
            }
        }
        if (!found) {
            keys << key;
            values << value;
        }
        writeEntries(program.files, settingsFileName(fileBase), keys, values);
    } catch (const ProgramError& error) {
        program.prompts.notice(errorText(QStringLiteral("Error in putkey="), error));
    }
}
