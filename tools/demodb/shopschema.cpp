#include "shopschema.h"

namespace demoshop {

// Text columns carry their longest length: the ODBC driver reports it, and readers size their
// buffers by it rather than by the driver's 64 KiB for an unsized text.
// The stock table's last column is the quantity factor: the item export sends "the item record's
// last field" to the scanner, so new columns go before it.
const char* const kShopSchemaSql = R"sql(
create table supplier (
    Supplier_id integer primary key,
    Supplier varchar(50) not null
);
create table stock (
    stock_id integer primary key,
    BarCode varchar(30) not null,
    Description varchar(60) not null,
    Supplier_id integer references supplier (Supplier_id),
    Price real not null default 0,
    QtyOnHand real not null default 0,
    QtyFactor real not null default 1
);
create index stock_barcode on stock (BarCode);
create table orders (
    order_id integer primary key,
    supplier_id integer not null,
    order_date text not null,
    status integer not null default 1,
    from_scanner integer not null default 0
);
create index orders_supplier on orders (supplier_id);
create table order_lines (
    line_id integer primary key,
    order_id integer not null references orders (order_id),
    stock_id integer not null references stock (stock_id),
    quantity real not null
);
create table stocktake_counts (
    count_id integer primary key,
    stock_id integer not null references stock (stock_id),
    quantity real not null,
    counted_at text not null default current_timestamp
);
create table receipts (
    receipt_id integer primary key,
    started_at text not null default current_timestamp,
    post_to_stock integer not null,
    quantity_decimals integer not null,
    order_status integer not null
);
create table goods_received (
    received_id integer primary key,
    receipt_id integer not null references receipts (receipt_id),
    stock_id integer not null references stock (stock_id),
    order_id integer not null,
    supplier_id integer not null,
    reference integer not null,
    quantity real not null,
    barcode text not null
);
create table counters (
    name text primary key,
    value integer not null
);
)sql";

}  // namespace demoshop
