// The batch command line as a scheduler runs it: its exit status, the message lines on standard
// error and what lands in a demo shop when the shop or the disk refuses.
#include <QDir>
#include <QSettings>

#include "batch/batchoptions.h"
#include "batchprogram.h"
#include "shoprows.h"
#include "testengine.h"
#include "testshop.h"

// What the batch does before it reaches a shop database is the same on either engine: such tests
// run once, with the SQLite tests.
bool engineBlindTestOnTheServer() {
    return testEngine() == TestEngine::Postgres;
}

// A wrong command line is refused with the usage; asked for, the usage and the version go to
// standard output, and the command line succeeds; nothing runs before the shop is configured.
TEST(BatchCommandLine, RefusesAWrongOneAndAnswersHelpAndVersion) {
    if (engineBlindTestOnTheServer()) {
        GTEST_SKIP() << "the command line alone: runs with the SQLite tests";
    }
    TestShop shop;
    for (const char* wrong : {"import-stocktake",
                              "import-stocktake a b",
                              "import-orders Orders.dat --order-no 5",
                              "import-goods Goods.dat --supplier two",
                              "import-goods Goods.dat --order-no",
                              "import-goods Goods.dat --order-no 5",
                              "import-goods Goods.dat --supplier 2 --apply-to-all",
                              "register-shop-db",
                              "register-shop-db --server db --database shop",
                              "register-shop-db a.mdb --server db --database shop --user me",
                              "register-shop-db --server db --port x --database shop --user me",
                              "export-items --server db",
                              "import-orders Orders.dat --resume --undo-unfinished",
                              "export-items --again",
                              "runs x",
                              "undo",
                              "variance --run x",
                              "check-orders Orders.dat --csv x.csv",
                              "--help x",
                              "--version extra"}) {
        EXPECT_FALSE(parseBatchOptions(QString(wrong).split(' '))) << wrong;
    }
    EXPECT_EQ(batch({}, 2, batchUsage().toUtf8()).output, "");
    for (const auto& [option, output] :
         {std::pair{"--help", batchUsage().toUtf8()},
          {"--version", QByteArray("rmstockhand-batch " RMSTOCKHAND_VERSION "\n")}}) {
        EXPECT_EQ(batch({option}, 0, "").output, output);
    }
    batch({"import-stocktake", "Stock.dat"}, 1,
          "You have not configured RM Stockhand correctly yet, please Exit and try again\n");
}

// The shop database moves from a file to a server and back; each registration leaves only its own
// settings, and a name that would break the configuration file is refused.
TEST(BatchCommandLine, RegistersTheShopDatabaseAsAFileOrOnAServer) {
    if (engineBlindTestOnTheServer()) {
        GTEST_SKIP() << "registers without opening: runs with the SQLite tests";
    }
    TestShop shop;
    const auto registered = [&shop] {
        QSettings odbcIni(shop.odbcIni(), QSettings::IniFormat);
        odbcIni.beginGroup("MYOBRM");
        QStringList settings;
        for (const QString& key : odbcIni.childKeys()) {
            settings << key + '=' + odbcIni.value(key).toString();
        }
        return settings.join(' ');
    };
    const QString file = shop.folder() + "/shop.mdb";
    const QByteArray notRegistered = "The data source \"MYOBRM\" could not be registered\n";
    batch({"register-shop-db", "shop.mdb"});
    EXPECT_EQ(registered(),
              "Database=" + file +
                  " Driver=SQLite3 JournalMode=WAL NoCreat=1 StepAPI=1 SyncPragma=NORMAL Timeout=5000");
    batch({"register-shop-db", "--server", "db.example", "--port", "5433", "--database", "shop", "--user",
           "till"});
    EXPECT_EQ(registered(),
              "CommLog=0 Database=shop Debug=0 Driver=PostgreSQL Unicode Fetch=1000 Port=5433 "
              "Protocol=7.4-1 Servername=db.example Username=till");
    for (const char* broken : {"shop\n[Other]\nDriver=x.mdb", "shop\t.mdb", "shop\x1b.mdb"}) {
        batch({"register-shop-db", broken}, 1, notRegistered);
    }
    EXPECT_TRUE(registered().contains("Servername=db.example"));
    batch({"register-shop-db", file});
    EXPECT_TRUE(registered().startsWith("Database=" + file + " Driver=SQLite3 "));

    // Where the user's own file cannot be written, nothing is registered for the whole machine.
    const QString machine = writeBytes(qEnvironmentVariable("ODBCSYSINI") + "/odbc.ini", "");
    batch({"register-shop-db", file}, 1, notRegistered, {"ODBCINI=" + shop.folder() + "/missing/odbc.ini"});
    EXPECT_EQ(readBytes(machine), "");
}

bool haveMountNamespace() {
    return runCommand("unshare", {"-rm", "true"}).exitCode == 0;
}

// Runs `script` in a mount namespace of its own with $DISK a fresh file system of `size` and $BIN
// the programs' folder.
ProgramRun onASmallDisk(const char* size, const QString& disk, const QString& script,
                        const QStringList& variables) {
    EXPECT_TRUE(QDir().mkpath(disk));
    return runCommand("unshare",
                      {"-rm", "sh", "-c",
                       QStringLiteral("mount -t tmpfs -o size=%1 tmpfs \"$DISK\" && ").arg(size) + script},
                      variables + QStringList{"DISK=" + disk, "BIN=" RM_BIN_DIR});
}

// The disk fills while the item file is written: the message gives the disk-full number, the old
// item file stays byte for byte, nothing goes to the scanner, and the run says it failed. The disk
// is a small file system of the test's own, in a mount namespace of its own.
TEST(BatchRun, AFullDiskKeepsTheOldItemFileAndSendsNothing) {
    if (!haveMountNamespace()) {
        GTEST_SKIP() << "no mount namespace of the test's own (unshare -rm) on this machine";
    }
    TestShop shop;
    shop.registerDemoShop(20);
    const QString disk = shop.folder() + "/disk";
    const QString scanner = shop.folder() + "/scanner";
    ASSERT_TRUE(QDir().mkpath(scanner));
    const ProgramRun run = onASmallDisk(
        "32m", disk,
        "cp \"$BIN/Tsr-tu3a.exe\" \"$DISK\" && printf 'old item file\\r\\n' > \"$DISK/rmItems.dat\" && "
        "{ dd if=/dev/zero of=\"$DISK/filler\" bs=1k 2>/dev/null; true; } && "
        "\"$BIN/rmstockhand-batch\" export-items --send; echo \"exit $?\"; cat \"$DISK/rmItems.dat\"",
        {"RMSTOCKHAND_HOME=" + disk, "PDT_SIM_DIR=" + scanner});
    EXPECT_EQ(run.errors, "Error in Download Item File = 61-No space left on device\n");
    EXPECT_EQ(run.output, "exit 1\nold item file\r\n");
    EXPECT_TRUE(QDir(scanner).isEmpty());
}

// A write that the shop refuses is the loader's message, and the run goes on to the next record;
// at the end a last line counts the refusals and the exit status (4) tells a schedule. Only the
// program's lines reach standard error; what Qt reports on the way (here, asked to, of the plugins
// it loads) comes with --verbose.
TEST(BatchRun, RefusedWritesAreCountedAndTheRunGoesOn) {
    TestShop shop;
    shop.registerDemoShop(20);
    ShopRows db;
    // The shop's own rule refuses the received lines of item 10, each engine in its own words.
    const QStringList refuse =
        testEngine() == TestEngine::Sqlite
            ? QStringList{"create trigger refuse before insert on goods_received when new.stock_id = 10 begin "
                          "select raise(abort, 'refused by the shop'); end"}
            : QStringList{"create function refuse() returns trigger language plpgsql as "
                          "$$ begin if new.stock_id = 10 then raise exception 'refused by the shop'; end if; "
                          "return new; end $$",
                          "create trigger refuse before insert on goods_received for each row "
                          "execute function refuse()"};
    for (const QString& sql : refuse) {
        ASSERT_EQ(db.exec(sql), "");
    }
    const QString goods = writeBytes(shop.folder() + "/Goods.dat",
                                     "NXGRV100\r\n10,9310000000100,0,102,3\r\n5,9310000000056,0,102,2\r\n");
    const QStringList qtTalks{"QT_DEBUG_PLUGINS=1"};
    const ProgramRun quiet = batch({"import-goods", goods}, 4, std::nullopt, qtTalks);
    const QList<QByteArray> lines = quiet.errors.split('\n');
    ASSERT_EQ(lines.size(), 3) << quiet.errors.data();
    EXPECT_TRUE(lines[0].startsWith("Error in fLoadGoodsRecPDTDetails_Error=-2147467259-"))
        << lines[0].data();
    EXPECT_EQ(lines[1], "The shop database refused 1 of 2 records");
    EXPECT_EQ(db.rows("select stock_id from goods_received"), "5");
    const ProgramRun verbose =
        batch({"import-goods", goods, "--verbose", "--again"}, 4, std::nullopt, qtTalks);
    EXPECT_TRUE(verbose.errors.contains("qt.core.plugin")) << verbose.errors.data();
    EXPECT_TRUE(verbose.errors.contains(quiet.errors.mid(quiet.errors.indexOf("Error in"))))
        << verbose.errors.data();
}

// A shop database that cannot take writes now (here locked by another program beyond the wait)
// stops the run at the first record: the loader's message, then where to start again.
TEST(BatchRun, AShopThatCannotWriteStopsTheRunAndSaysWhereToStartAgain) {
    TestShop shop;
    shop.registerDemoShop(20);
    ShopRows db;
    ASSERT_TRUE(db.connection().transaction());
    ASSERT_EQ(db.exec(testEngine() == TestEngine::Sqlite
                          ? "insert into stocktake_counts (stock_id, quantity) values (1, 1)"
                          : "lock table stocktake_counts in exclusive mode"),
              "");
    const QString stock =
        writeBytes(shop.folder() + "/Stock.dat",
                   "NXSTV100\r\n11,NUXADEL,1\r\n\r\n5,9310000000056,2\r\n6,9310000000063,1\r\n");
    const ProgramRun run = batch({"import-stocktake", stock}, 1);
    ASSERT_TRUE(db.connection().rollback());
    const QList<QByteArray> lines = run.errors.split('\n');
    // A locked file takes no new run: the refusal comes before the first record. A server locks
    // the table of counts alone, and the first count is refused.
    const bool atTheRun = testEngine() == TestEngine::Sqlite;
    ASSERT_EQ(lines.size(), atTheRun ? 3 : 4) << run.errors.data();
    EXPECT_TRUE(lines[atTheRun ? 0 : 1].startsWith(atTheRun ? "Error in process despatch file = -2147467259-"
                                                            : "Error in fLoadPDTDetails_Error=-2147467259-"))
        << run.errors.data();
    EXPECT_EQ(lines[lines.size() - 2], stoppedAt(atTheRun ? 1 : 4, stock, 0));
    EXPECT_EQ(db.rows("select count(*) from stocktake_counts"), "0");
}

// The shop database's disk fills during an import: the run stops at the first record the shop
// cannot write, the counts before it are in the shop, and the last line says where to start again.
TEST(BatchRun, AFullShopDiskStopsTheImportWhereItFilled) {
    if (testEngine() != TestEngine::Sqlite || !haveMountNamespace()) {
        GTEST_SKIP() << "needs the shop database as a file, on a small file system of the test's own";
    }
    TestShop shop;
    shop.makeDemoShop(20);
    QByteArray records = "NXSTV100\r\n";
    for (int record = 0; record < 500; ++record) {
        records += "5,9310000000056," + QByteArray::number(record + 1) + "\r\n";
    }
    const QString stock = writeBytes(shop.folder() + "/Stock.dat", records);
    // About 100 KB stay free: room for a few dozen counts in the write-ahead log, not for 500.
    const ProgramRun run = onASmallDisk(
        "4m", shop.folder() + "/disk",
        "cp \"$SHOP\" \"$DISK/shop.mdb\" && \"$BIN/rmstockhand-batch\" register-shop-db \"$DISK/shop.mdb\" "
        "&& "
        "dd if=/dev/zero of=\"$DISK/room\" bs=1k count=100 2>/dev/null && "
        "{ dd if=/dev/zero of=\"$DISK/filler\" bs=1k 2>/dev/null; true; } && rm \"$DISK/room\" && "
        "\"$BIN/rmstockhand-batch\" import-stocktake \"$STOCK\"; echo \"exit $?\"; rm \"$DISK/filler\"; "
        "sqlite3 \"$DISK/shop.mdb\" 'select count(*) from stocktake_counts'",
        {"SHOP=" + shop.demoShopPlace().first(), "STOCK=" + stock});
    ASSERT_TRUE(run.output.startsWith("exit 1\n")) << run.output.data() << run.errors.data();
    const int loaded = run.output.mid(7).trimmed().toInt();
    EXPECT_GT(loaded, 0);
    EXPECT_LT(loaded, 500);
    EXPECT_TRUE(run.errors.startsWith("Error in fLoadPDTDetails_Error=-2147467259-") &&
                run.errors.count('\n') == 2 &&
                run.errors.endsWith('\n' + stoppedAt(loaded + 2, stock, loaded) + '\n'))
        << run.errors.data();
}
