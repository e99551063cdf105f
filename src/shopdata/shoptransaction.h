#pragma once

#include <QSqlDatabase>

// One transaction on the shop's connection: begun when made, undone when it goes out of scope
// without commit(), so a write that fails halfway leaves nothing behind.
class ShopTransaction {
public:
    explicit ShopTransaction(QSqlDatabase connection);
    ~ShopTransaction();
    ShopTransaction(const ShopTransaction&) = delete;
    ShopTransaction& operator=(const ShopTransaction&) = delete;

    // Makes the transaction's writes permanent; raises ProgramError when the database refuses.
    void commit();

private:
    QSqlDatabase connection_;
    bool open_ = false;
};
