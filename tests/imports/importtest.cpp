#include "importtest.h"

#include <QFile>

using testing::_;

void FakeOrderDetails::openOrderDetails(ModMain& modMain) {
    calls_ << QStringLiteral("OrderDetails ") + modMain.sCurrentBarcode;
    modMain.lSupplierID = supplierId;
    if (orderNo) {
        modMain.sChosenOrderNo = *orderNo;
        modMain.bApplyOrderNoToAll = applyToAll;
    }
}

ImportTest::ImportTest() {
    modMain.menu = &menu;
    modMain.orderDetails = &orderDetails;
    modMain.now = [] { return QDateTime(QDate(2026, 12, 4), QTime(14, 45)); };
    ON_CALL(shop, LookupStockItem(_, _, _)).WillByDefault([this](qint32 stockId, qint32& key, double& f) {
        calls << QStringLiteral("LookupStockItem %1").arg(stockId);
        key = stockId;
        f = factor;
    });
    ON_CALL(shop, WriteStocktakeQty(_, _)).WillByDefault([this](qint32 key, double quantity) {
        calls << QStringLiteral("WriteStocktakeQty %1 %2").arg(key).arg(quantity);
        return writes;
    });
    ON_CALL(shop, MatchItemBarcode(_, _)).WillByDefault([this](qint32& key, const QString& barcode) {
        calls << QStringLiteral("MatchItemBarcode %1 ").arg(key) + barcode;
        return matches;
    });
    ON_CALL(shop, WriteOrderQty(_, _)).WillByDefault([this](qint32 key, double quantity) {
        calls << QStringLiteral("WriteOrderQty %1 %2").arg(key).arg(quantity);
        return writes;
    });
    ON_CALL(shop, FindBarcode(_)).WillByDefault([this](const QString& barcode) {
        calls << QStringLiteral("FindBarcode ") + barcode;
        return found;
    });
    ON_CALL(shop, WriteGoodsReceived(_, _, _, _, _, _))
        .WillByDefault([this](qint32 key, qint32 orderNo, qint32 three, const QString& qty, qint32 supplier,
                              const QString& barcode) {
            calls << (QStringLiteral("WriteGoodsReceived %1 %2 %3 %4 %5 %6")
                          .arg(key)
                          .arg(orderNo)
                          .arg(three)
                          .arg(qty)
                          .arg(supplier)
                          .arg(barcode));
        });
    ON_CALL(shop, StartGoodsReceived(_, _, _)).WillByDefault([this](qint16 a, qint16 b, qint16 c) {
        calls << QStringLiteral("StartGoodsReceived %1 %2 %3").arg(a).arg(b).arg(c);
    });
}

QString ImportTest::writeFile(const QString& name, const QByteArray& content) const {
    QFile file(dir.filePath(name));
    EXPECT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(content);
    return file.fileName();
}

QByteArray ImportTest::readFile(const QString& name) const {
    QFile file(dir.filePath(name));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QByteArray ImportTest::auditLine(const QString& message) {
    return "\"04/12/2026 02:45 pm-" + message.toLatin1() + "\"\r\n";
}

void ImportTest::load(void (*loader)(ModMain&, TextArray&), const QString& line) {
    TextArray fields = tools.Split(line, QLatin1Char(','));
    loader(modMain, fields);
}

void ImportTest::expectResult(const QStringList& expectedCalls, const QString& report, const char* audit,
                              const char* error) {
    EXPECT_EQ(calls, expectedCalls);
    EXPECT_EQ(readFile(report), audit ? auditLine(QLatin1String(audit)) : QByteArray());
    QStringList shown;
    if (audit) {
        shown << QLatin1String(kWarning);
    }
    if (error) {
        shown << QLatin1String(error);
    }
    EXPECT_EQ(prompts.shown, shown);
}
