#include "platform/screen.h"

namespace platform {

bool hasScreen(const QString& qpaPlatform, const QString& display, const QString& waylandDisplay) {
    return !qpaPlatform.isEmpty() || !display.isEmpty() || !waylandDisplay.isEmpty();
}

bool hasScreen(const QStringList& arguments) {
    QString qpaPlatform = qEnvironmentVariable("QT_QPA_PLATFORM");
    for (qsizetype i = 0; i + 1 < arguments.size(); ++i) {
        if (arguments[i] == QLatin1String("-platform") || arguments[i] == QLatin1String("--platform")) {
            qpaPlatform = arguments[i + 1];
        }
    }
    return hasScreen(qpaPlatform, qEnvironmentVariable("DISPLAY"), qEnvironmentVariable("WAYLAND_DISPLAY"));
}

}  // namespace platform
