#include "startup/connectionfailure.h"

#include <QRegularExpression>

namespace {

// A kind of failure: the driver's words that show it, what failed, and what to do.
struct Failure {
    const char* pattern;
    const char* what;
    const char* todo;
};

// The first kind whose words the driver's text holds is the one told.
const Failure kFailures[] = {
    {"password authentication failed|no password supplied|fe_sendauth",
     "the server did not take the user's password",
     "put the password in ~/.pgpass (or PGPASSWORD) for that user"},
    {"database \".*\" does not exist", "the server has no database of that name",
     "check the database's name, or make one with rmstockhand-demo-db"},
    {"role \".*\" does not exist", "the server has no user of that name", "check the user's name"},
    {"could not translate host name|name or service not known|connection refused|"
     "could not connect|connection to server|timeout expired|no route to host",
     "the server cannot be reached", "check the server's name and port, and that the server is running"},
    {"the shop's tables", "it is not a shop database",
     "register the shop's own database, or make one with rmstockhand-demo-db"},
    {"readonly|read-only", "the database cannot be written",
     "check the file's permissions and the disk's free space"},
    {"unable to open database|connect failed|no such file",
     "the database file is not there, or cannot be read",
     "check the file's path and permissions, or make a shop database with rmstockhand-demo-db PATH"},
    {"data source name not found|im002", "the data source is not registered",
     "register the shop database with rmstockhand-batch register-shop-db"},
};

const Failure kOtherFailure{"", "the database driver refused the connection",
                            "check the registration with rmstockhand-batch register-shop-db"};

const Failure& failureOf(const QString& driverText) {
    for (const Failure& failure : kFailures) {
        const QRegularExpression words(QLatin1String(failure.pattern),
                                       QRegularExpression::CaseInsensitiveOption);
        if (words.match(driverText).hasMatch()) {
            return failure;
        }
    }
    return kOtherFailure;
}

}  // namespace

QString connectionFailureText(const QString& where, const QString& driverText) {
    const Failure& failure = failureOf(driverText);
    return QStringLiteral("Cannot open %1: %2 (%3). What to do: %4.")
        .arg(where, QLatin1String(failure.what), driverText.simplified(), QLatin1String(failure.todo));
}
