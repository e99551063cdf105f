#include "platform/serveroptions.h"

namespace platform {

bool readServerOption(const QStringList& arguments, qsizetype& index, ServerAddress& server) {
    const QString& option = arguments[index];
    if (index + 1 >= arguments.size()) {
        return false;
    }
    const QString& value = arguments[index + 1];
    if (option == QLatin1String("--server")) {
        server.host = value;
    } else if (option == QLatin1String("--database")) {
        server.database = value;
    } else if (option == QLatin1String("--user")) {
        server.user = value;
    } else if (option == QLatin1String("--port")) {
        bool ok = false;
        server.port = value.toInt(&ok);
        if (!ok || server.port < 1 || server.port > 65535) {
            return false;
        }
    } else {
        return false;
    }
    ++index;
    return !value.isEmpty();
}

bool namesServer(const ServerAddress& server) {
    return !server.host.isEmpty() && !server.database.isEmpty() && !server.user.isEmpty();
}

}  // namespace platform
