#pragma once

#include <QSqlDatabase>
#include <QStringList>

// The order details dialog's own queries of the shop database. Failures raise ProgramError.

// Every supplier as the dialog lists it, the supplier id, " - " and the name, in the order the
// database returns them.
QStringList supplierEntries(const QSqlDatabase& connection);

// The order numbers of the existing orders of one supplier, as text.
QStringList supplierOrders(const QSqlDatabase& connection, qint32 supplierId);
