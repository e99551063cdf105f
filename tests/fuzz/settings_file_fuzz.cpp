#include "fuzzharness.h"
#include "startup/settings.h"

// Whatever the file holds, setting one key reads back as set and leaves the others as they read.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (writeInput(QStringLiteral("fuzz.config.ini"), data, size).isEmpty()) {
        return 0;
    }
    FuzzProgram fuzz(false);
    const auto manage = [&](const QString& operation, const QString& key, QString value) {
        ManageDefaults(fuzz.program, QStringLiteral("fuzz"), operation, key, value);
        return value;
    };
    const QString port = manage(QStringLiteral("GET"), QStringLiteral("COMPORT"), QString());
    const QString path = QStringLiteral("/shop/uploads/Stock.dat");
    manage(QStringLiteral("PUT"), QStringLiteral("DESPATCHPATH"), path);
    if (fuzz.prompts.shown == 0) {
        fuzzCheck(manage(QStringLiteral("GET"), QStringLiteral("DESPATCHPATH"), QString()) == path,
                  "a setting reads back as it was put");
        fuzzCheck(manage(QStringLiteral("GET"), QStringLiteral("COMPORT"), QString()) == port,
                  "putting one setting keeps the others");
    }
    return 0;
}
