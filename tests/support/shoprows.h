#pragma once

#include "qtprinting.h"

#include <QSqlDatabase>
#include <QString>

// The shop database registered as "MYOBRM", read and changed over a connection of its own (opened
// at first use), the way the program reaches it, whichever engine holds it. Values are compared as values: a
// whole number as its digits, a real number in its shortest form (36, 2.5), null as "NULL".
class ShopRows {
public:
    // Reaches the shop by a connection string of the program's: the data source "MYOBRM" unless
    // told otherwise.
    explicit ShopRows(QString connectionString = QStringLiteral("dsn=MYOBRM"));
    ~ShopRows();
    ShopRows(const ShopRows&) = delete;
    ShopRows& operator=(const ShopRows&) = delete;

    // Each row's columns joined by ":", the rows by "|"; empty when there are none, and the
    // driver's message after "error: " when the query failed.
    QString rows(const QString& sql);
    // Runs a statement; the driver's message when it failed, else an empty text.
    QString exec(const QString& sql);
    // Runs a statement with one text bound in its "?" place: text that is not ASCII.
    QString exec(const QString& sql, const QString& text);

    QSqlDatabase connection();
    // Every table of the shop the imports write to or read, row by row in key order: what an
    // undone import must leave as it found it.
    QStringList shopTables();

private:
    QString connectionString_;
    QString name_;
    QSqlDatabase connection_;
};
