#pragma once

#include <gtest/gtest.h>

#include <QSqlDatabase>
#include <QStringList>
#include <functional>

// The Qt SQL connection that `open` opens: a test of the shop reaches the shop's own connection so,
// where only that connection will do (a setting of the connection, or how it reads), as the shop
// hands its connection to no caller.
inline QSqlDatabase connectionOpenedBy(const std::function<void()>& open) {
    const QStringList before = QSqlDatabase::connectionNames();
    open();
    for (const QString& name : QSqlDatabase::connectionNames()) {
        if (!before.contains(name)) {
            return QSqlDatabase::database(name, false);
        }
    }
    ADD_FAILURE() << "no connection was opened";
    return {};
}
