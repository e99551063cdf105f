#include "platform/processtag.h"

#include <unistd.h>
#include <QFile>
#include <QSysInfo>

namespace platform {

namespace {

// The process's start time in clock ticks after boot: the 22nd field of /proc/PID/stat, counted
// after the command name, which may itself hold spaces and brackets.
QString startTime(qint64 pid) {
    QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
    if (!stat.open(QIODevice::ReadOnly)) {
        return QString();
    }
    const QByteArray text = stat.readAll();
    const QList<QByteArray> fields = text.mid(text.lastIndexOf(')') + 2).split(' ');
    return fields.size() > 19 ? QString::fromLatin1(fields[19]) : QString();
}

}  // namespace

QString thisProcessTag() {
    const qint64 pid = ::getpid();
    return QStringLiteral("%1:%2:%3").arg(QSysInfo::machineHostName()).arg(pid).arg(startTime(pid));
}

bool processRunning(const QString& tag) {
    const QStringList parts = tag.split(QLatin1Char(':'));
    if (parts.size() < 3 ||
        parts.mid(0, parts.size() - 2).join(QLatin1Char(':')) != QSysInfo::machineHostName()) {
        return false;
    }
    const QString started = startTime(parts[parts.size() - 2].toLongLong());
    return !started.isEmpty() && started == parts.last();
}

}  // namespace platform
