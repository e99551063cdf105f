#pragma once

#include <QFile>
#include <QString>

// Writes a shell script under `name` in `folder` to stand in for the transfer utility.
inline void writeStandIn(const QString& folder, const QString& name, const QByteArray& body,
                         bool executable = true) {
    QFile script(folder + QLatin1Char('/') + name);
    ASSERT_TRUE(script.open(QIODevice::WriteOnly));
    script.write("#!/bin/sh\n" + body + "\n");
    script.close();
    const auto readWrite = QFileDevice::ReadOwner | QFileDevice::WriteOwner;
    script.setPermissions(executable ? readWrite | QFileDevice::ExeOwner : readWrite);
}
