// The batch command line as a scheduler runs it: its exit status, the message lines on standard
// error and what lands in a demo shop when the shop or the disk refuses.
#include <QDir>
#include <QSettings>

#include "batch/batchoptions.h"
#include "batchprogram.h"
#include "shoprows.h"
#include "testengine.h"
#include "testshop.h"

// A wrong command line is refused with the usage; --help and --version answer on standard output;
// nothing runs before the shop is configured. The shop database moves from a file to a server and
// back; each registration leaves only its own settings, and a name that would break the
// configuration file is refused. None of this reaches a shop database: it runs with the SQLite tests.
TEST(BatchCommandLine, RefusesAWrongOneAnswersHelpAndRegistersTheShopDatabase) {
    if (testEngine() == TestEngine::Postgres) {
        GTEST_SKIP() << "engine blind: runs with the SQLite tests";
    }
    TestShop shop;
    const QString wrong =
        "import-stocktake|import-stocktake a b|import-orders O.dat --order-no 5|runs x|undo|undo "
        "abc|register-shop-db|"
        "import-goods G.dat --order-no|import-goods G.dat --supplier two|import-goods G.dat --order-no 5|"
        "import-goods G.dat --supplier 2 --apply-to-all|register-shop-db --server db --database shop|"
        "register-shop-db a.mdb --server db --database shop --user me|export-items --server db|"
        "register-shop-db --server db --port x --database shop --user me|export-items --again|"
        "import-orders O.dat --resume --undo-unfinished|variance --run x|check-orders O.dat --csv x.csv|"
        "--help x|--version extra";
    for (const QString& line : wrong.split('|')) {
        EXPECT_FALSE(parseBatchOptions(line.split(' '))) << line.toStdString();
    }
    EXPECT_EQ(batch({}, 2, batchUsage().toUtf8()).output, "");
    EXPECT_EQ(batch({"--help"}, 0, "").output, batchUsage().toUtf8());
    EXPECT_EQ(batch({"--version"}, 0, "").output, "rmstockhand-batch " RMSTOCKHAND_VERSION "\n");
    batch({"import-stocktake", "Stock.dat"}, 1,
          "You have not configured RM Stockhand correctly yet, please Exit and try again\n");
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
    const QString asFile = registered();
    EXPECT_EQ(asFile,
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
    EXPECT_EQ(registered(), asFile);
    // A registered shop file that is not there: the run-time error, on one line.
    const QByteArray gone = batch({"runs"}, 1).errors;
    EXPECT_TRUE(gone.startsWith("Run-time error '-2147467259':  ") && gone.count('\n') == 1) << gone.data();
    // Where the user's own file cannot be written, nothing is registered for the whole machine.
    const QString machine = writeBytes(qEnvironmentVariable("ODBCSYSINI") + "/odbc.ini", "");
    batch({"register-shop-db", file}, 1, notRegistered, {"ODBCINI=" + shop.folder() + "/missing/odbc.ini"});
    EXPECT_EQ(readBytes(machine), "");
}

// The last line of a run the shop stopped taking writes in.
QByteArray stoppedAt(int line, const QString& file, int loaded) {
    return QStringLiteral(
               "The shop database cannot take writes now: stopped at line %1 of %2, after %3 "
               "records loaded; start again from line %1")
        .arg(QString::number(line), file, QString::number(loaded))
        .toUtf8();
}

// Runs `script` in a mount namespace of its own, with $DISK a fresh file system of `size` and $BIN
// the programs' folder; gives nothing when this machine has no such namespaces for the test.
std::optional<ProgramRun> onASmallDisk(const char* size, const QString& disk, const QString& script,
                                       const QStringList& variables) {
    if (runCommand("unshare", {"-rm", "true"}).exitCode != 0) {
        return std::nullopt;
    }
    EXPECT_TRUE(QDir().mkpath(disk));
    return runCommand("unshare",
                      {"-rm", "sh", "-c",
                       QStringLiteral("mount -t tmpfs -o size=%1 tmpfs \"$DISK\" && ").arg(size) + script},
                      variables + QStringList{"DISK=" + disk, "BIN=" RM_BIN_DIR});
}

// The disk fills while the item file is written: the message gives the disk-full number, the old
// item file stays byte for byte, nothing goes to the scanner, and the run says it failed.
TEST(BatchRun, AFullDiskKeepsTheOldItemFileAndSendsNothing) {
    TestShop shop;
    shop.registerDemoShop(20);
    const QString scanner = shop.folder() + "/scanner";
    ASSERT_TRUE(QDir().mkpath(scanner));
    const std::optional<ProgramRun> run = onASmallDisk(
        "32m", shop.folder() + "/disk",
        "cp \"$BIN/Tsr-tu3a.exe\" \"$DISK\" && printf 'old item file\\r\\n' > \"$DISK/rmItems.dat\" && "
        "{ dd if=/dev/zero of=\"$DISK/filler\" bs=1k 2>/dev/null; true; } && "
        "\"$BIN/rmstockhand-batch\" export-items --send; echo \"exit $?\"; cat \"$DISK/rmItems.dat\"",
        {"RMSTOCKHAND_HOME=" + shop.folder() + "/disk", "PDT_SIM_DIR=" + scanner});
    if (!run) {
        GTEST_SKIP() << "no mount namespace of the test's own (unshare -rm) on this machine";
    }
    EXPECT_EQ(run->errors, "Error in Download Item File = 61-No space left on device\n");
    EXPECT_EQ(run->output, "exit 1\nold item file\r\n");
    EXPECT_TRUE(QDir(scanner).isEmpty());
}

// A write that the shop refuses is the loader's message and the run goes on; a last line counts
// the refusals and the exit status (4) tells a schedule. Only the program's lines reach standard
// error; what Qt reports on the way comes with --verbose. A shop that cannot take writes now (here
// locked by another program beyond the wait) stops the run and says where to start again.
TEST(BatchRun, RefusedWritesAreCountedAndTheRunGoesOn) {
    TestShop shop;
    shop.registerDemoShop(20);
    ShopRows db;
    const bool sqlite = testEngine() == TestEngine::Sqlite;
    // The shop's own rule refuses the received lines of item 10, each engine in its own words.
    const QStringList refuse =
        sqlite ? QStringList{"create trigger refuse before insert on goods_received when new.stock_id = 10 "
                             "begin select raise(abort, 'refused by the shop'); end"}
               : QStringList{"create function refuse() returns trigger language plpgsql as $$ begin if "
                             "new.stock_id = 10 then raise exception 'refused by the shop'; end if; "
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
    EXPECT_TRUE(quiet.errors.startsWith("Error in fLoadGoodsRecPDTDetails_Error=-2147467259-") &&
                quiet.errors.count('\n') == 2 &&
                quiet.errors.endsWith("\nThe shop database refused 1 of 2 records\n"))
        << quiet.errors.data();
    EXPECT_EQ(db.rows("select stock_id from goods_received"), "5");
    const ProgramRun verbose =
        batch({"import-goods", goods, "--verbose", "--again"}, 4, std::nullopt, qtTalks);
    EXPECT_TRUE(verbose.errors.contains("qt.core.plugin") && verbose.errors.contains(quiet.errors))
        << verbose.errors.data();

    ASSERT_TRUE(db.connection().transaction());
    ASSERT_EQ(db.exec(sqlite ? "insert into stocktake_counts (stock_id, quantity) values (1, 1)"
                             : "lock table stocktake_counts in exclusive mode"),
              "");
    const QString stock =
        writeBytes(shop.folder() + "/Stock.dat",
                   "NXSTV100\r\n11,NUXADEL,1\r\n\r\n5,9310000000056,2\r\n6,9310000000063,1\r\n");
    const ProgramRun stopped = batch({"import-stocktake", stock}, 1);
    ASSERT_TRUE(db.connection().rollback());
    // A locked file takes no new run: the refusal comes before the first record. A server locks
    // the table of counts alone, and the first count (line 4, after a deleted record) is refused.
    const QList<QByteArray> lines = stopped.errors.split('\n');
    ASSERT_EQ(lines.size(), sqlite ? 3 : 4) << stopped.errors.data();
    EXPECT_TRUE(lines[lines.size() - 3].startsWith(sqlite ? "Error in process despatch file = -2147467259-"
                                                          : "Error in fLoadPDTDetails_Error=-2147467259-"))
        << stopped.errors.data();
    EXPECT_EQ(lines[lines.size() - 2], stoppedAt(sqlite ? 1 : 4, stock, 0));
    EXPECT_EQ(db.rows("select count(*) from stocktake_counts"), "0");
}

// The shop database's disk fills during an import: the run stops at the first record the shop
// cannot write, the counts before it are in the shop, and the last line says where to start again.
TEST(BatchRun, AFullShopDiskStopsTheImportWhereItFilled) {
    if (testEngine() != TestEngine::Sqlite) {
        GTEST_SKIP() << "needs the shop database as a file";
    }
    TestShop shop;
    shop.makeDemoShop(20);
    QByteArray records = "NXSTV100\r\n";
    for (int record = 1; record <= 500; ++record) {
        records += "5,9310000000056," + QByteArray::number(record) + "\r\n";
    }
    const QString stock = writeBytes(shop.folder() + "/Stock.dat", records);
    // About 100 KB stay free: room for a few dozen counts in the write-ahead log, not for 500.
    const std::optional<ProgramRun> run = onASmallDisk(
        "4m", shop.folder() + "/disk",
        "cp \"$SHOP\" \"$DISK/shop.mdb\" && \"$BIN/rmstockhand-batch\" register-shop-db \"$DISK/shop.mdb\" "
        "&& dd if=/dev/zero of=\"$DISK/room\" bs=1k count=100 2>/dev/null && "
        "{ dd if=/dev/zero of=\"$DISK/filler\" bs=1k 2>/dev/null; true; } && rm \"$DISK/room\" && "
        "\"$BIN/rmstockhand-batch\" import-stocktake \"$STOCK\"; echo \"exit $?\"; rm \"$DISK/filler\"; "
        "sqlite3 \"$DISK/shop.mdb\" 'select count(*) from stocktake_counts'",
        {"SHOP=" + shop.demoShopPlace().first(), "STOCK=" + stock});
    if (!run) {
        GTEST_SKIP() << "no mount namespace of the test's own (unshare -rm) on this machine";
    }
    ASSERT_TRUE(run->output.startsWith("exit 1\n")) << run->output.data() << run->errors.data();
    const int loaded = run->output.mid(7).trimmed().toInt();
    EXPECT_GT(loaded, 0);
    EXPECT_LT(loaded, 500);
    EXPECT_TRUE(run->errors.startsWith("Error in fLoadPDTDetails_Error=-2147467259-") &&
                run->errors.count('\n') == 2 &&
                run->errors.endsWith('\n' + stoppedAt(loaded + 2, stock, loaded) + '\n'))
        << run->errors.data();
}
