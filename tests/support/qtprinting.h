#pragma once

#include <QByteArray>
#include <QString>
#include <ostream>

// gtest prints Qt strings and bytes readably.
inline void PrintTo(const QString& text, std::ostream* os) {
    *os << '"' << text.toStdString() << '"';
}

inline void PrintTo(const QByteArray& bytes, std::ostream* os) {
    *os << '"' << bytes.toStdString() << '"';
}
