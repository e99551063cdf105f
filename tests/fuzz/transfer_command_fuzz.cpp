#include <QStringList>
#include <cstring>

#include "fuzzharness.h"
#include "scannermemory.h"
#include "transfercommand.h"

// The transfer utility's arguments, one per line of the input: each is taken as a command or
// refused with the utility's own failure, and a command taken names a file.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QString text = QString::fromUtf8(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    try {
        const TransferCommand command = parseTransferCommand(text.split(QLatin1Char('\n')));
        fuzzCheck(!command.path.isEmpty(), "a command names its file");
    } catch (const scanner::Failure& failure) {
        fuzzCheck(std::strlen(failure.what()) > 0, "a refusal says what is wrong");
    }
    return 0;
}
