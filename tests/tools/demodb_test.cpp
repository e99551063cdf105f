#include <gtest/gtest.h>

#include <QFile>
#include <QProcess>

#include "demoshop.h"
#include "sqlitefile.h"
#include "testshop.h"

namespace {

struct MakerRun {
    int exitCode;
    QByteArray errors;
};

MakerRun runMaker(const QStringList& arguments) {
    QProcess maker;
    maker.start(QStringLiteral(RM_BIN_DIR "/rmstockhand-demo-db"), arguments);
    EXPECT_TRUE(maker.waitForFinished(60000));
    return {maker.exitCode(), maker.readAllStandardError()};
}

TEST(DemoShopMaker, ItemsFollowTheirNumber) {
    TestShop shop;
    SqliteFile file(shop.makeDemoDatabase().toStdString());
    const auto item = [&file](int id) {
        return file.rows(
            "select BarCode || ' ' || Description || ' ' || Price || ' ' || QtyFactor || ' ' || "
            "Supplier_id from stock where stock_id = " +
            std::to_string(id));
    };
    EXPECT_EQ(item(57), "9310000000575 Demo item 57 57.95 1.0 1");
    EXPECT_EQ(item(1), "9310000000018 Demo item 1 1.95 1.0 2");
    EXPECT_EQ(item(10), "9310000000100 Demo item 10 10.95 12.0 2");
    EXPECT_EQ(item(200), "9310000002005 Demo item 200 0.95 12.0 3");
    EXPECT_EQ(file.rows("select count(*) || ' ' || max(stock_id) from stock"), "200 200");
    EXPECT_EQ(file.rows("select name from pragma_table_info('stock') order by cid desc limit 1"),
              "QtyFactor");
}

TEST(DemoShopMaker, SuppliersOrdersAndTheNextOrderNumber) {
    TestShop shop;
    SqliteFile file(shop.makeDemoDatabase(5).toStdString());
    EXPECT_EQ(file.rows("select Supplier_id || ' ' || Supplier from supplier"),
              "1 Alpha Wholesale|2 Beta Distributors|3 Gamma Foods");
    EXPECT_EQ(file.rows("select order_id || ' ' || supplier_id from orders order by order_id"),
              "101 3|102 3|103 3|201 2");
    EXPECT_EQ(file.rows("select value from counters where name = 'next_order_no'"), "1001");
    EXPECT_EQ(file.rows("pragma journal_mode"), "wal");
    EXPECT_EQ(file.rows("select name from pragma_index_list('stock')"), "stock_barcode");
}

TEST(DemoShopMaker, ReplacesAnOldFileWithTheSameContentEachTime) {
    TestShop shop;
    const QString path = shop.folder() + QStringLiteral("/shop.mdb");
    for (const QString& stale : {path, path + QStringLiteral("-wal")}) {
        QFile junk(stale);
        ASSERT_TRUE(junk.open(QIODevice::WriteOnly) && junk.write("not a database") > 0);
    }
    ASSERT_EQ(runMaker({path}).exitCode, 0);  // 200 items unless told
    EXPECT_FALSE(QFile::exists(path + QStringLiteral("-wal")));
    QFile first(path), second(shop.makeDemoDatabase(200, QStringLiteral("again.mdb")));
    ASSERT_TRUE(first.open(QIODevice::ReadOnly) && second.open(QIODevice::ReadOnly));
    EXPECT_TRUE(first.readAll() == second.readAll());
}

TEST(DemoShopMaker, BarcodesCarryTheEanCheckDigit) {
    EXPECT_EQ(demoshop::eanCheckDigit("400638133393"), '1');
    EXPECT_EQ(demoshop::demoBarcode(123456789), "9311234567896");
}

TEST(DemoShopMaker, WrongCommandLinesAndUnwritablePaths) {
    TestShop shop;
    const QString path = shop.folder() + QStringLiteral("/shop.mdb");
    const std::vector<QStringList> wrong{{},
                                         {path, QStringLiteral("--items")},
                                         {path, QStringLiteral("--items"), QStringLiteral("x")},
                                         {path, QStringLiteral("--items"), QStringLiteral("-1")},
                                         {path, path},
                                         {QStringLiteral("--size"), path}};
    for (const QStringList& arguments : wrong) {
        const MakerRun run = runMaker(arguments);
        EXPECT_EQ(run.exitCode, 2) << arguments.join(QLatin1Char(' ')).toStdString();
        EXPECT_TRUE(run.errors.startsWith("usage: rmstockhand-demo-db PATH [--items N]"));
    }
    EXPECT_FALSE(QFile::exists(path));
    const MakerRun unwritable = runMaker({shop.folder() + QStringLiteral("/missing/shop.mdb")});
    EXPECT_EQ(unwritable.exitCode, 1);
    EXPECT_EQ(unwritable.errors.count('\n'), 1) << unwritable.errors.toStdString();
}

}  // namespace
