#pragma once

#include <QString>
#include <cstdio>

// Writes a listing's line (or lines) to standard output, where the batch's listings and reports
// go; its messages go to standard error.
inline void writeOutputLine(const QString& text) {
    const QByteArray bytes = text.toLocal8Bit() + '\n';
    std::fwrite(bytes.constData(), 1, static_cast<size_t>(bytes.size()), stdout);
}
