#pragma once

#include <QDateTime>
#include <QString>
#include <functional>

namespace platform {

// What the program stamps its times with: the audit report's lines, the runs, the counts, the
// orders and the receipts. A test hands in a clock that it sets.
using Clock = std::function<QDateTime()>;

// The system's clock, in UTC: a count by the thousand a second reads it, and UTC needs no look-up
// of the local zone's rules.
inline QDateTime systemTime() {
    return QDateTime::currentDateTimeUtc();
}

// A time as the shop database keeps it: UTC, "YYYY-MM-DD HH:MM:SS".
inline QString utcStamp(const QDateTime& time) {
    return time.toUTC().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
}

}  // namespace platform
