#include "demoshop.h"

#include <sqlite3.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>
#include <stdexcept>

#include "shopschema.h"

namespace demoshop {

namespace {

struct Supplier {
    int id;
    const char* name;
};

struct Order {
    int id;
    int supplierId;
    const char* date;
};

constexpr Supplier kSuppliers[] = {{1, "Alpha Wholesale"}, {2, "Beta Distributors"}, {3, "Gamma Foods"}};
constexpr Order kOrders[] = {
    {101, 3, "2024-03-04"}, {102, 3, "2024-03-11"}, {103, 3, "2024-03-18"}, {201, 2, "2024-03-06"}};
constexpr long kNextOrderNo = 1001;

using Connection = std::unique_ptr<sqlite3, decltype(&sqlite3_close)>;
using Statement = std::unique_ptr<sqlite3_stmt, decltype(&sqlite3_finalize)>;

// The helpers below give SQLite's own reason; writeDemoShop adds which file it was.
[[noreturn]] void fail(sqlite3* db) {
    throw std::runtime_error(sqlite3_errmsg(db));
}

void exec(sqlite3* db, const char* sql) {
    if (sqlite3_exec(db, sql, nullptr, nullptr, nullptr) != SQLITE_OK) {
        fail(db);
    }
}

Statement prepare(sqlite3* db, const char* sql) {
    sqlite3_stmt* statement = nullptr;
    if (sqlite3_prepare_v2(db, sql, -1, &statement, nullptr) != SQLITE_OK) {
        fail(db);
    }
    return Statement(statement, &sqlite3_finalize);
}

// Runs a prepared insert whose values are already bound, and makes it ready for the next row.
void step(sqlite3* db, sqlite3_stmt* statement) {
    if (sqlite3_step(statement) != SQLITE_DONE) {
        fail(db);
    }
    sqlite3_reset(statement);
}

void insertSuppliers(sqlite3* db) {
    const Statement insert = prepare(db, "insert into supplier (Supplier_id, Supplier) values (?, ?)");
    for (const Supplier& supplier : kSuppliers) {
        sqlite3_bind_int(insert.get(), 1, supplier.id);
        sqlite3_bind_text(insert.get(), 2, supplier.name, -1, SQLITE_STATIC);
        step(db, insert.get());
    }
}

void insertItems(sqlite3* db, long items) {
    const Statement insert = prepare(db,
                                     "insert into stock (stock_id, BarCode, Description, Supplier_id, Price, "
                                     "QtyOnHand, QtyFactor) values (?, ?, ?, ?, ?, ?, ?)");
    char description[32];
    for (long item = 1; item <= items; ++item) {
        const std::string barcode = demoBarcode(item);
        std::snprintf(description, sizeof description, "Demo item %ld", item);
        sqlite3_bind_int64(insert.get(), 1, item);
        sqlite3_bind_text(insert.get(), 2, barcode.c_str(), -1, SQLITE_TRANSIENT);
        sqlite3_bind_text(insert.get(), 3, description, -1, SQLITE_TRANSIENT);
        sqlite3_bind_int(insert.get(), 4, static_cast<int>(1 + item % 3));
        sqlite3_bind_double(insert.get(), 5, static_cast<double>(item % 100) + 0.95);
        sqlite3_bind_int(insert.get(), 6, static_cast<int>(item % 20));
        sqlite3_bind_int(insert.get(), 7, item % 10 == 0 ? 12 : 1);
        step(db, insert.get());
    }
}

void insertOrders(sqlite3* db) {
    const Statement insert =
        prepare(db,
                "insert into orders (order_id, supplier_id, order_date, status, from_scanner) "
                "values (?, ?, ?, 1, 0)");
    for (const Order& order : kOrders) {
        sqlite3_bind_int(insert.get(), 1, order.id);
        sqlite3_bind_int(insert.get(), 2, order.supplierId);
        sqlite3_bind_text(insert.get(), 3, order.date, -1, SQLITE_STATIC);
        step(db, insert.get());
    }
    const Statement counter = prepare(db, "insert into counters (name, value) values ('next_order_no', ?)");
    sqlite3_bind_int64(counter.get(), 1, kNextOrderNo);
    step(db, counter.get());
}

// The file is built whole under a temporary name and only then takes the place of the old one,
// so an interrupted run never leaves half a shop behind.
void writeFile(const std::string& path, long items) {
    sqlite3* raw = nullptr;
    const int opened =
        sqlite3_open_v2(path.c_str(), &raw, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr);
    Connection db(raw, &sqlite3_close);
    if (opened != SQLITE_OK) {
        fail(db.get());
    }
    // Nothing needs undoing in a file that is thrown away on failure, so no rollback journal.
    exec(db.get(), "pragma journal_mode=off; pragma synchronous=off; begin");
    exec(db.get(), kShopSchemaSql);
    insertSuppliers(db.get());
    insertItems(db.get(), items);
    insertOrders(db.get());
    exec(db.get(), "commit");
    // The program writes one count at a time while the shop's own software reads: write-ahead log.
    exec(db.get(), "pragma journal_mode=wal");
}

void removeIfThere(const std::string& path) {
    if (std::remove(path.c_str()) != 0 && errno != ENOENT) {
        throw std::runtime_error("cannot replace " + path + ": " + std::strerror(errno));
    }
}

}  // namespace

char eanCheckDigit(const std::string& twelveDigits) {
    int sum = 0;
    for (std::size_t i = 0; i < twelveDigits.size(); ++i) {
        sum += (twelveDigits[i] - '0') * (i % 2 == 0 ? 1 : 3);
    }
    return static_cast<char>('0' + (10 - sum % 10) % 10);
}

std::string demoBarcode(long item) {
    char digits[16];
    std::snprintf(digits, sizeof digits, "931%09ld", item);
    std::string barcode(digits);
    barcode += eanCheckDigit(barcode);
    return barcode;
}

void writeDemoShop(const std::string& path, long items) {
    const std::string building = path + ".new";
    removeIfThere(building);
    try {
        writeFile(building, items);
    } catch (const std::runtime_error& error) {
        std::remove(building.c_str());
        throw std::runtime_error("cannot write " + path + ": " + error.what());
    }
    // A log or shared-memory file left by the old database must not be read against the new one.
    removeIfThere(path + "-wal");
    removeIfThere(path + "-shm");
    if (std::rename(building.c_str(), path.c_str()) != 0) {
        const std::string reason = std::strerror(errno);
        std::remove(building.c_str());
        throw std::runtime_error("cannot replace " + path + ": " + reason);
    }
}

}  // namespace demoshop
