#pragma once

#include <QString>
#include <QStringList>

struct Program;

// The settings file: key=value lines in "<exe name>.config.ini", opened by its bare name in the
// current directory. Nothing is cached; every call reads the file afresh.

// The two settings: the scanner's port digit, and the last download path.
inline const QString kComPortKey = QStringLiteral("COMPORT");
inline const QString kDespatchPathKey = QStringLiteral("DESPATCHPATH");

// Reads ("GET") a key's value into `value`, or sets ("PUT") the key to `value`.
void ManageDefaults(Program& program, const QString& fileBase, const QString& operation, const QString& key,
                    QString& value);

// Reads the whole file into two parallel lists of entries (slot 0 unused).
void fGetConfig(Program& program, const QString& fileBase, QStringList& keys, QStringList& values);

// The value of the first entry whose key equals `key` exactly, or an empty text.
QString GetKeyValue(Program& program, const QString& key, const QStringList& keys, const QStringList& values);

// Sets every entry with this key (or appends one) and rewrites the whole file atomically.
void PutKey(Program& program, const QString& fileBase, const QString& key, const QString& value,
            QStringList& keys, QStringList& values);
