#include "shopdata/shoptransaction.h"

#include <QSqlError>

#include "platform/programerror.h"
#include "shopdata/shopbackend.h"

namespace {

[[noreturn]] void fail(const QSqlDatabase& connection, const ShopBackend& backend) {
    throw ProgramError(errnum::DatabaseError, connection.lastError().text(),
                       backend.cannotTakeWrites(platform::lastDiagnosis(connection)));
}

}  // namespace

ShopTransaction::ShopTransaction(QSqlDatabase connection, const ShopBackend& backend)
    : connection_(std::move(connection)), backend_(backend) {
    if (!connection_.transaction()) {
        fail(connection_, backend_);
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
        fail(connection_, backend_);
    }
    open_ = false;
}
