#include "shopdata/shoptransaction.h"

#include <QSqlError>

#include "outside/programerror.h"

namespace {

[[noreturn]] void fail(const QSqlDatabase& connection) {
    throw ProgramError(errnum::DatabaseError, connection.lastError().text());
}

}  // namespace

ShopTransaction::ShopTransaction(QSqlDatabase connection) : connection_(std::move(connection)) {
    if (!connection_.transaction()) {
        fail(connection_);
    }
    open_ = true;
}

ShopTransaction::~ShopTransaction() {
    if (open_) {
        connection_.rollback();
    }
}

void ShopTransaction::commit() {
    if (!connection_.commit()) {
        fail(connection_);
    }
    open_ = false;
}
