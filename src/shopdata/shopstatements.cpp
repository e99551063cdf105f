#include "shopdata/shopstatements.h"

#include "shopdata/shopbackend.h"

namespace {

ShopStatement prepare(const QSqlDatabase& connection, const QString& sql, const ShopBackend& backend) {
    return ShopStatement(connection, sql, backend);
}

ShopStatement prepare(const QSqlDatabase& connection, const char* sql, const ShopBackend& backend) {
    return ShopStatement(connection, QString::fromLatin1(sql), backend);
}

}  // namespace

// The next order number is never one that an order already has, even when the shop entered an
// order by hand without moving the counter on.
ShopStatements::ShopStatements(const QSqlDatabase& c, const ShopBackend& backend)
    : item(prepare(c, "select stock_id, Supplier_id, Price, QtyFactor from stock where stock_id = ?",
                   backend)),
      // Each column read costs the file's driver a conversion to text and back: a record's lookup
      // reads only the two it uses.
      stockItem(prepare(c, "select stock_id, QtyFactor from stock where stock_id = ?", backend)),
      // Ordered by an expression, the lowest-numbered item of a barcode is found through the barcode's
      // index: a server's plan for a prepared statement would otherwise walk the key's index in
      // order, reading half the stock table for a barcode that no item has.
      itemByBarcode(
          prepare(c, "select * from stock where BarCode = ? order by stock_id + 0 limit 1", backend)),
      itemHasBarcode(prepare(c, "select stock_id from stock where stock_id = ? and BarCode = ?", backend)),
      addCount(prepare(c,
                       "insert into stocktake_counts (stock_id, quantity, run_id, line_no, counted_at) "
                       "select stock_id, ?, ?, ?, ? from stock where stock_id = ?",
                       backend)),
      scannerOrder(prepare(c,
                           "select max(order_id) from orders "
                           "where supplier_id = ? and status = 1 and from_scanner = 1",
                           backend)),
      nextOrderNo(prepare(
          c,
          QStringLiteral("select ") +
              backend.greatest(QStringLiteral("value"), QStringLiteral("coalesce((select max(order_id) + 1 "
                                                                       "from orders), 0)")) +
              QStringLiteral(" from counters where name = 'next_order_no'"),
          backend)),
      lockOrderNumbers(prepare(c, "update counters set value = value where name = 'next_order_no'", backend)),
      addOrder(prepare(c,
                       "insert into orders (order_id, supplier_id, order_date, status, from_scanner, run_id) "
                       "values (?, ?, ?, 1, 1, ?)",
                       backend)),
      advanceOrderNo(prepare(c, "update counters set value = ? where name = 'next_order_no'", backend)),
      addOrderLine(prepare(c,
                           "insert into order_lines (order_id, stock_id, quantity, run_id, line_no) "
                           "values (?, ?, ?, ?, ?)",
                           backend)),
      addReceipt(prepare(c,
                         "insert into receipts (post_to_stock, quantity_decimals, order_status, run_id, "
                         "started_at) values (?, ?, ?, ?, ?)",
                         backend)),
      lastRowId(prepare(c, backend.lastInsertedKey(), backend)),
      addReceived(prepare(
          c,
          "insert into goods_received (receipt_id, order_id, supplier_id, reference, "
          "quantity, barcode, run_id, line_no, stock_id) select ?, ?, ?, ?, ?, coalesce(?, ''), ?, ?, "
          "stock_id from stock where stock_id = ?",
          backend)),
      onHand(prepare(c, "select QtyOnHand from stock where stock_id = ?", backend)),
      raiseOnHand(prepare(c, "update stock set QtyOnHand = QtyOnHand + ? where stock_id = ?", backend)),
      markOrder(prepare(c, "update orders set status = ? where order_id = ?", backend)),
      noteOrderStatus(prepare(c,
                              "insert into import_run_orders (run_id, order_id, old_status) "
                              "select ?, order_id, status from orders where order_id = ? and not exists "
                              "(select 1 from import_run_orders m where m.run_id = ? and m.order_id = ?)",
                              backend)) {}
