#include "importtest.h"

#include <QFile>

using testing::_;

void FakeOrderDetails::openOrderDetails(ModMain& modMain) {
    calls_ << QStringLiteral("Dialog ") + modMain.sCurrentBarcode;
    modMain.lSupplierID = 7;
    if (orderNo) {
        modMain.sChosenOrderNo = *orderNo;
        modMain.bApplyOrderNoToAll = applyToAll;
    }
}

ImportTest::ImportTest() {
    modMain.menu = &menu;
    modMain.orderDetails = &orderDetails;
    modMain.now = [] { return QDateTime(QDate(2026, 12, 4), QTime(14, 45)); };
    const auto record = [this](const QString& call) { calls << call; };
    ON_CALL(shop, LookupStockItem(_, _, _)).WillByDefault([this, record](qint32 id, qint32& key, double& f) {
        record(QStringLiteral("Lookup %1").arg(key = id));
        f = factor;
    });
    ON_CALL(shop, WriteStocktakeQty(_, _)).WillByDefault([this, record](qint32 key, double quantity) {
        record(QStringLiteral("Count %1 %2").arg(key).arg(quantity));
        return writes;
    });
    ON_CALL(shop, WriteOrderQty(_, _)).WillByDefault([this, record](qint32 key, double quantity) {
        record(QStringLiteral("Order %1 %2").arg(key).arg(quantity));
        return writes;
    });
    ON_CALL(shop, MatchItemBarcode(_, _)).WillByDefault([this, record](qint32& key, const QString& barcode) {
        record(QStringLiteral("Match %1 %2").arg(key).arg(barcode));
        return matches;
    });
    ON_CALL(shop, FindBarcode(_)).WillByDefault([this, record](const QString& barcode) {
        record(QStringLiteral("Find ") + barcode);
        return found;
    });
    ON_CALL(shop, WriteGoodsReceived(_, _, _, _, _, _))
        .WillByDefault([record](qint32 key, qint32 orderNo, qint32 three, const QString& quantity,
                                qint32 supplier, const QString& barcode) {
            record(QStringLiteral("Goods %1 %2 %3 %4 %5 %6")
                       .arg(key)
                       .arg(orderNo)
                       .arg(three)
                       .arg(quantity)
                       .arg(supplier)
                       .arg(barcode));
        });
    ON_CALL(shop, StartGoodsReceived(_, _, _)).WillByDefault([record](qint16 a, qint16 b, qint16 c) {
        record(QStringLiteral("Start %1 %2 %3").arg(a).arg(b).arg(c));
    });
}

QString ImportTest::writeFile(const QString& name, const QByteArray& content) const {
    QFile file(dir.filePath(name));
    EXPECT_TRUE(file.open(QIODevice::WriteOnly) && file.write(content) == content.size());
    return file.fileName();
}

QByteArray ImportTest::readFile(const QString& name) const {
    QFile file(dir.filePath(name));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void ImportTest::load(void (*loader)(ModMain&, TextArray&), const char* line) {
    TextArray fields = tools.Split(QString::fromLatin1(line), QLatin1Char(','));
    loader(modMain, fields);
}

void ImportTest::expectResult(const char* expectedCalls, const QString& report, const char* audit,
                              const QString& error) {
    EXPECT_EQ(calls.join(QStringLiteral("; ")), QLatin1String(expectedCalls));
    EXPECT_EQ(readFile(report),
              audit ? "\"04/12/2026 02:45 pm-" + QByteArray(audit) + "\"\r\n" : QByteArray());
    QStringList shown(audit ? 1 : 0, QLatin1String(kWarning));
    if (!error.isEmpty()) {
        shown << error;
    }
    EXPECT_EQ(prompts.shown, shown);
}
