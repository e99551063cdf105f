#pragma once

#include <QString>
#include <ostream>

// gtest prints Qt strings readably.
inline void PrintTo(const QString& text, std::ostream* os) {
    *os << '"' << text.toStdString() << '"';
}
