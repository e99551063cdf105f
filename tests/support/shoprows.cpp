#include "shoprows.h"

#include <gtest/gtest.h>

#include <QLocale>
#include <QRegularExpression>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QStringList>

#include "platform/connection.h"
#include "platform/programerror.h"

namespace {

// A driver may give a computed column (a sum, say) as the engine's text for it: a decimal written
// so is read as the number it is.
bool isDecimalText(const QVariant& value) {
    static const QRegularExpression decimal(QStringLiteral("^-?[0-9]+\\.[0-9]+(e[-+]?[0-9]+)?$"));
    return value.metaType() == QMetaType::fromType<QString>() && decimal.match(value.toString()).hasMatch();
}

QString valueText(const QVariant& value) {
    if (value.isNull()) {
        return QStringLiteral("NULL");
    }
    if (value.metaType() == QMetaType::fromType<double>() ||
        value.metaType() == QMetaType::fromType<float>() || isDecimalText(value)) {
        return QString::number(value.toDouble(), 'g', QLocale::FloatingPointShortest);
    }
    return value.toString();
}

}  // namespace

ShopRows::ShopRows(QString connectionString) : connectionString_(std::move(connectionString)) {
    static int count = 0;
    name_ = QStringLiteral("shop rows %1").arg(++count);
}

ShopRows::~ShopRows() {
    if (connection_.isValid()) {
        connection_ = QSqlDatabase();
        platform::closeConnection(name_);
    }
}

QSqlDatabase ShopRows::connection() {
    if (!connection_.isValid()) {
        try {
            connection_ = platform::openConnection(connectionString_, name_);
        } catch (const ProgramError& error) {
            ADD_FAILURE() << "cannot open the shop database: " << error.description().toStdString();
        }
    }
    return connection_;
}

QString ShopRows::rows(const QString& sql) {
    QSqlQuery query(connection());
    query.setForwardOnly(true);
    if (!query.exec(sql)) {
        return QStringLiteral("error: ") + query.lastError().text();
    }
    QStringList rows;
    while (query.next()) {
        QStringList columns;
        for (int column = 0; column < query.record().count(); ++column) {
            columns << valueText(query.value(column));
        }
        rows << columns.join(QLatin1Char(':'));
    }
    return rows.join(QLatin1Char('|'));
}

QString ShopRows::exec(const QString& sql) {
    QSqlQuery query(connection());
    return query.exec(sql) ? QString() : query.lastError().text();
}

QString ShopRows::exec(const QString& sql, const QString& text) {
    QSqlQuery query(connection());
    query.prepare(sql);
    query.addBindValue(text);
    return query.exec() ? QString() : query.lastError().text();
}

QStringList ShopRows::shopTables() {
    QStringList tables;
    for (const char* table : {"supplier", "stock", "orders", "order_lines", "stocktake_counts", "receipts",
                              "goods_received", "counters"}) {
        tables << QLatin1String(table) + QLatin1Char('=') +
                      rows(QStringLiteral("select * from %1 order by 1").arg(QLatin1String(table)));
    }
    return tables;
}
