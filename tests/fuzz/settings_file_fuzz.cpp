#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "fuzzshop.h"
#include "platform/stringtools.h"
#include "startup/program.h"
#include "startup/settings.h"

namespace {

// The settings file is opened by its bare name, so the target works in a folder of its own.
const QString& settingsFile() {
    static const QTemporaryDir dir;
    static const bool entered = QDir::setCurrent(dir.path());
    static const QString name = QStringLiteral("fuzz.config.ini");
    fuzzCheck(entered, "the target's own folder is entered");
    return name;
}

}  // namespace

// Whatever the file holds, setting one key reads back as set and leaves the others as they read.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    QFile file(settingsFile());
    if (!file.open(QIODevice::WriteOnly) ||
        file.write(reinterpret_cast<const char*>(data), static_cast<qint64>(size)) !=
            static_cast<qint64>(size)) {
        return 0;
    }
    file.close();

    CountingPrompts prompts;
    StringTools tools;
    FuzzShop shop(false);
    Program program(prompts, tools, shop, QDir::currentPath());
    const auto manage = [&](const QString& operation, const QString& key, QString value) {
        ManageDefaults(program, QStringLiteral("fuzz"), operation, key, value);
        return value;
    };
    const QString port = manage(QStringLiteral("GET"), QStringLiteral("COMPORT"), QString());
    const QString path = QStringLiteral("/shop/uploads/Stock.dat");
    manage(QStringLiteral("PUT"), QStringLiteral("DESPATCHPATH"), path);
    if (prompts.shown == 0) {
        fuzzCheck(manage(QStringLiteral("GET"), QStringLiteral("DESPATCHPATH"), QString()) == path,
                  "a setting reads back as it was put");
        fuzzCheck(manage(QStringLiteral("GET"), QStringLiteral("COMPORT"), QString()) == port,
                  "putting one setting keeps the others");
    }
    return 0;
}
