#include "shopdata/shopschema.h"

#include <vector>

#include "shopdata/shopbackend.h"

namespace {

using Type = ShopBackend::ColumnType;

struct Column {
    const char* name;
    Type type;
    // Text columns carry their longest length where they have one; 0 for none.
    int length;
    const char* constraints;
    // A column of the program's record of its imports, added to a shop that lacks it.
    bool runRecord = false;
};

struct Table {
    const char* name;
    std::vector<Column> columns;
    // The column that lookups find rows by, besides the key; none when empty.
    const char* indexedColumn = "";
    // A table of the program's record of its imports, added to a shop that lacks it.
    bool runRecord = false;
};

// The run that wrote a row, and the line of the upload file it came from.
const Column kRunId{"run_id", Type::Integer, 0, "", true};
const Column kLineNo{"line_no", Type::Integer, 0, "", true};

// The stock table's last column is the quantity factor: the item export sends "the item record's
// last field" to the scanner, so new columns go before it. No table declares a reference to
// another: the program's writes only name rows that exist, and the shop's own software keeps the
// rest consistent, whichever engine holds the tables.
const std::vector<Table>& shopTables() {
    static const std::vector<Table> tables{
        {"supplier",
         {{"Supplier_id", Type::Integer, 0, "primary key"}, {"Supplier", Type::Text, 50, "not null"}}},
        {"stock",
         {{"stock_id", Type::Integer, 0, "primary key"},
          {"BarCode", Type::Text, 30, "not null"},
          {"Description", Type::Text, 60, "not null"},
          {"Supplier_id", Type::Integer, 0, ""},
          {"Price", Type::Real, 0, "not null default 0"},
          {"QtyOnHand", Type::Real, 0, "not null default 0"},
          {"QtyFactor", Type::Real, 0, "not null default 1"}},
         "BarCode"},
        {"orders",
         {{"order_id", Type::Integer, 0, "primary key"},
          {"supplier_id", Type::Integer, 0, "not null"},
          {"order_date", Type::Text, 0, "not null"},
          {"status", Type::Integer, 0, "not null default 1"},
          {"from_scanner", Type::Integer, 0, "not null default 0"},
          kRunId},
         "supplier_id"},
        {"order_lines",
         {{"line_id", Type::AutoKey, 0, ""},
          {"order_id", Type::Integer, 0, "not null"},
          {"stock_id", Type::Integer, 0, "not null"},
          {"quantity", Type::Real, 0, "not null"},
          kRunId,
          kLineNo}},
        {"stocktake_counts",
         {{"count_id", Type::AutoKey, 0, ""},
          {"stock_id", Type::Integer, 0, "not null"},
          {"quantity", Type::Real, 0, "not null"},
          {"counted_at", Type::UtcTime, 0, "not null"},
          kRunId,
          kLineNo}},
        {"receipts",
         {{"receipt_id", Type::AutoKey, 0, ""},
          {"started_at", Type::UtcTime, 0, "not null"},
          {"post_to_stock", Type::Integer, 0, "not null"},
          {"quantity_decimals", Type::Integer, 0, "not null"},
          {"order_status", Type::Integer, 0, "not null"},
          kRunId}},
        {"goods_received",
         {{"received_id", Type::AutoKey, 0, ""},
          {"receipt_id", Type::Integer, 0, "not null"},
          {"stock_id", Type::Integer, 0, "not null"},
          {"order_id", Type::Integer, 0, "not null"},
          {"supplier_id", Type::Integer, 0, "not null"},
          {"reference", Type::Integer, 0, "not null"},
          {"quantity", Type::Real, 0, "not null"},
          {"barcode", Type::Text, 0, "not null"},
          kRunId,
          kLineNo}},
        {"counters", {{"name", Type::Text, 0, "primary key"}, {"value", Type::Integer, 0, "not null"}}},
        {"import_runs",
         {{"run_id", Type::AutoKey, 0, ""},
          {"kind", Type::Text, 0, "not null"},
          {"file_name", Type::Text, 0, "not null"},
          {"checksum", Type::Text, 0, "not null"},
          {"lines_in_file", Type::Integer, 0, "not null"},
          {"started_at", Type::UtcTime, 0, "not null"},
          {"ended_at", Type::Text, 0, ""},
          {"last_line", Type::Integer, 0, ""},
          {"records_written", Type::Integer, 0, ""},
          {"undone_at", Type::Text, 0, ""},
          {"process", Type::Text, 0, "not null"}},
         "",
         true},
        // The status each order had before a run first set it.
        {"import_run_orders",
         {{"run_id", Type::Integer, 0, "not null"},
          {"order_id", Type::Integer, 0, "not null"},
          {"old_status", Type::Integer, 0, "not null"}},
         "",
         true},
    };
    return tables;
}

QString columnDefinition(const Column& column, const ShopBackend& backend) {
    return (QLatin1String(column.name) + QLatin1Char(' ') + backend.columnType(column.type, column.length) +
            QLatin1Char(' ') + QLatin1String(column.constraints))
        .trimmed();
}

QString createTable(const Table& table, const ShopBackend& backend) {
    QStringList columns;
    for (const Column& column : table.columns) {
        columns << columnDefinition(column, backend);
    }
    return QStringLiteral("create table %1 (%2)")
        .arg(QLatin1String(table.name), columns.join(QLatin1String(", ")));
}

}  // namespace

QStringList shopSchemaStatements(const ShopBackend& backend) {
    QStringList statements;
    for (const Table& table : shopTables()) {
        statements << createTable(table, backend);
        if (*table.indexedColumn != '\0') {
            statements << QStringLiteral("create index %1_%2 on %1 (%3)")
                              .arg(QLatin1String(table.name),
                                   QString::fromLatin1(table.indexedColumn).toLower(),
                                   QLatin1String(table.indexedColumn));
        }
    }
    return statements;
}

QStringList runRecordStatements(const ShopBackend& backend) {
    QStringList statements;
    for (const Table& table : shopTables()) {
        if (table.runRecord) {
            statements << createTable(table, backend);
            continue;
        }
        for (const Column& column : table.columns) {
            if (column.runRecord) {
                statements << QStringLiteral("alter table %1 add column %2")
                                  .arg(QLatin1String(table.name), columnDefinition(column, backend));
            }
        }
    }
    return statements;
}

QStringList shopTableNames() {
    QStringList names;
    for (const Table& table : shopTables()) {
        if (!table.runRecord) {
            names << QLatin1String(table.name);
        }
    }
    return names;
}

QStringList dropShopSchemaStatements() {
    QStringList statements;
    for (auto table = shopTables().crbegin(); table != shopTables().crend(); ++table) {
        statements << QStringLiteral("drop table if exists ") + QLatin1String(table->name);
    }
    return statements;
}
