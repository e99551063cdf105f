#pragma once

#include <QString>
#include <cerrno>
#include <cstring>

#include "scannermemory.h"

// Raises scanner::Failure for a system call that failed: `what` and the reason errno gives.
[[noreturn]] inline void failWithSystemError(const QString& what) {
    throw scanner::Failure(QStringLiteral("%1: %2").arg(what, QString::fromLocal8Bit(std::strerror(errno))));
}
