#include "imports/orderdetailsqueries.h"

#include "platform/recordset.h"

QStringList supplierEntries(const QSqlDatabase& connection) {
    QStringList entries;
    platform::Recordset suppliers;
    suppliers.open(QStringLiteral("select * from supplier"), connection);
    for (; !suppliers.eof(); suppliers.moveNext()) {
        entries << suppliers.field(QStringLiteral("Supplier_id")).toString() + QLatin1String(" - ") +
                       suppliers.field(QStringLiteral("Supplier")).toString();
    }
    suppliers.close();
    return entries;
}

QStringList supplierOrders(const QSqlDatabase& connection, qint32 supplierId) {
    QStringList orderIds;
    platform::Recordset orders;
    orders.open(QStringLiteral("select * from orders where supplier_id=") + QString::number(supplierId),
                connection);
    for (; !orders.eof(); orders.moveNext()) {
        orderIds << orders.field(QStringLiteral("order_id")).toString();
    }
    orders.close();
    return orderIds;
}
