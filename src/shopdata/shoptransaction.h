#pragma once

#include <QSqlDatabase>

class ShopBackend;

// One transaction on the shop's connection: begun when made, undone when it goes out of scope
// without commit(), so a write that fails halfway leaves nothing behind.
//
// Its first statement must write. An engine that reads from a snapshot (SQLite's write-ahead log)
// cannot let a transaction that has read write after another writer committed: that transaction
// fails however long it waits. One that writes first waits for the other writer, then goes on.
class ShopTransaction {
public:
    ShopTransaction(QSqlDatabase connection, const ShopBackend& backend);
    ~ShopTransaction();
    ShopTransaction(const ShopTransaction&) = delete;
    ShopTransaction& operator=(const ShopTransaction&) = delete;

    // Makes the transaction's writes permanent; raises ProgramError when the database refuses.
    void commit();

private:
    QSqlDatabase connection_;
    const ShopBackend& backend_;
    bool open_ = false;
};
