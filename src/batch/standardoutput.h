#pragma once

#include <QString>
#include <cstdio>

// Writes a line (or lines) of the batch's own to standard output, where its listings, reports and
// summaries go, and sends it on at once, so that it keeps its place among the messages that go to
// standard error.
inline void writeOutputLine(const QString& text) {
    const QByteArray bytes = text.toLocal8Bit() + '\n';
    std::fwrite(bytes.constData(), 1, static_cast<size_t>(bytes.size()), stdout);
    std::fflush(stdout);
}
