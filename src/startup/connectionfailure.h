#pragma once

#include <QString>

// What a person is told when a shop database cannot be opened, the same in the window and in the
// batch: where it is, what failed in a shop's words with the driver's own reason, and what to do
// about it. `where` names the database: "the shop database \"MYOBRM\"".
QString connectionFailureText(const QString& where, const QString& driverText);
