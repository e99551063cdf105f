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
    // Each wrong line, and the mistake its one line names.
    const QList<std::pair<QString, QString>> wrong{
        {"import-stoktake Stock.dat", "\"import-stoktake\" is not a command"},
        {"import-stocktake Stock.dat --agian", "\"--agian\" is not an option of import-stocktake"},
        {"import-stocktake", "import-stocktake needs the upload file"},
        {"import-stocktake a b", "\"b\" is one argument too many for import-stocktake"},
        {"import-goods G.dat --order-no 5",
         "--order-no needs --supplier: the order number is typed once a "
         "supplier is confirmed"},
        {"import-goods G.dat --order-no", "--order-no needs a value"},
        {"import-goods G.dat --supplier two", "--supplier takes a supplier's number, not \"two\""},
        {"import-goods G.dat --supplier 2 --apply-to-all", "--apply-to-all needs --order-no"},
        {"undo abc", "undo takes a run's number, not \"abc\""},
        {"undo", "undo needs the number of the run to undo"},
        {"variance --run x", "--run takes a run's number, not \"x\""},
        {"import-orders O.dat --resume --undo-unfinished",
         "--undo-unfinished and --resume cannot go together"},
        {"import-orders O.dat --again --if-new", "--again and --if-new cannot go together"},
        {"register-shop-db --server db --database shop",
         "register-shop-db --server needs --server, --database "
         "and --user"},
        {"register-shop-db a.mdb --server db --database shop --user me",
         "register-shop-db takes a database file or --server, not both"},
        {"register-shop-db --server db --port x --database shop --user me",
         "--port takes a port number from 1 to 65535, not \"x\""},
        {"export-items --again", "\"--again\" is not an option of export-items"},
        {"check-orders O.dat --csv x.csv", "\"--csv\" is not an option of check-orders"},
        {"runs x", "\"x\" is one argument too many for runs"},
        {"scanner-devices x", "\"x\" is one argument too many for scanner-devices"},
        {"forget till x", "\"x\" is one argument too many for forget"},
        {"--version extra", "\"extra\" is one argument too many for --version"},
    };
    for (const auto& [line, mistake] : wrong) {
        const auto parsed = parseBatchOptions(line.split(' '));
        EXPECT_EQ(std::holds_alternative<QString>(parsed) ? std::get<QString>(parsed) : QString(), mistake);
    }
    batch({"import-stoktake", "Stock.dat"}, 2,
          "rmstockhand-batch: \"import-stoktake\" is not a command\n"
          "rmstockhand-batch --help shows how to use it\n");
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
    // Registration reaches the database first: a file that is not there, then one without the
    // shop's tables, is refused in a shop's words; --no-check registers it all the same.
    const QString noFile = batch({"register-shop-db", "shop.mdb"}, 1).errors;
    EXPECT_TRUE(
        noFile.startsWith("Cannot open the database file " + file + ": the database file is not there"))
        << noFile.toStdString();
    writeBytes(file, "");
    const QString noShop = batch({"register-shop-db", "shop.mdb"}, 1).errors;
    EXPECT_TRUE(
        noShop.contains(": it is not a shop database (the database lacks the shop's tables \"supplier\"") &&
        noShop.endsWith(". Nothing was registered; --no-check registers it all the same\n"))
        << noShop.toStdString();
    EXPECT_EQ(registered(), "");
    batch({"register-shop-db", "shop.mdb", "--no-check"});
    const QString asFile = registered();
    EXPECT_EQ(asFile,
              "Database=" + file +
                  " Driver=SQLite3 JournalMode=WAL NoCreat=1 StepAPI=1 SyncPragma=NORMAL Timeout=5000");
    // The window's wording, on one line and without the driver's error number.
    const QString notShop = batch({"runs"}, 1).errors;
    EXPECT_TRUE(notShop.startsWith("Cannot open the shop database \"MYOBRM\": it is not a shop database") &&
                notShop.count('\n') == 1 && !notShop.contains("2147467259"))
        << notShop.toStdString();
    batch({"register-shop-db", "--server", "db.example", "--port", "5433", "--database", "shop", "--user",
           "till", "--no-check"});
    EXPECT_EQ(registered(),
              "CommLog=0 Database=shop Debug=0 Driver=PostgreSQL Unicode Fetch=1000 Port=5433 "
              "Protocol=7.4-1 Servername=db.example Username=till");
    for (const char* broken : {"shop\n[Other]\nDriver=x.mdb", "shop\t.mdb", "shop\x1b.mdb"}) {
        batch({"register-shop-db", broken, "--no-check"}, 1, notRegistered);
    }
    EXPECT_TRUE(registered().contains("Servername=db.example"));
    batch({"register-shop-db", file, "--no-check"});
    EXPECT_EQ(registered(), asFile);
    // Where the user's own file cannot be written, nothing is registered for the whole machine.
    const QString machine = writeBytes(qEnvironmentVariable("ODBCSYSINI") + "/odbc.ini", "");
    batch({"register-shop-db", file, "--no-check"}, 1, notRegistered,
          {"ODBCINI=" + shop.folder() + "/missing/odbc.ini"});
    EXPECT_EQ(readBytes(machine), "");
}

// A database on a server is reached before it is registered: each way of getting it wrong is said
// in a shop's words, and registers nothing; the shop's own database registers.
TEST(BatchCommandLine, AServerIsReachedBeforeItIsRegistered) {
    if (testEngine() != TestEngine::Postgres) {
        GTEST_SKIP() << "needs the database server";
    }
    TestShop shop;
    shop.registerDemoShop(5);
    const platform::DataSource demo = shop.dataSource();
    QString database;
    for (const auto& [key, value] : demo.attributes) {
        database = key == "Database" ? value : database;
    }
    const platform::ServerAddress server = *testServer();
    const auto registration = [&](const QString& name, const QString& user, int port) {
        return QStringList{"register-shop-db", "--server", server.host, "--port", QString::number(port),
                           "--database",       name,       "--user",    user};
    };
    const QList<std::pair<QStringList, QString>> wrong{
        {registration("retial", server.user, server.port), "the server has no database of that name"},
        {registration(database, "nobody", server.port), "the server has no user of that name"},
        {registration(database, server.user, 1), "the server cannot be reached"},
        {registration(server.database, server.user, server.port), "it is not a shop database"},
    };
    for (const auto& [arguments, what] : wrong) {
        const QString said = batch(arguments, 1).errors;
        EXPECT_TRUE(said.contains(": " + what + " (") && said.contains("). What to do: ") &&
                    said.endsWith(". Nothing was registered; --no-check registers it all the same\n"))
            << said.toStdString();
    }
    EXPECT_TRUE(batch({"runs"}).output.startsWith("run "));
    batch(registration(database, server.user, server.port));
}

// The last line of a run the shop stopped taking writes in.
QByteArray stoppedAt(int line, const QString& file, int loaded) {
    return QStringLiteral(
               "The shop database \"MYOBRM\" cannot take writes now: stopped at line %1 of %2, after %3 "
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
// item file stays byte for byte, nothing goes to the scanner, and the run says it failed, naming
// the file. An import's audit lines that cannot be written there are counted, with the report's
// path, and the exit status (4) tells a schedule.
TEST(BatchRun, AFullDiskKeepsTheOldItemFileAndSendsNothing) {
    TestShop shop;
    shop.registerDemoShop(20);
    const QString scanner = shop.folder() + "/scanner";
    ASSERT_TRUE(QDir().mkpath(scanner));
    const QString disk = shop.folder() + "/disk";
    const QString stock =
        writeBytes(shop.folder() + "/Stock.dat", "NXSTV100\r\n11,NUXADEL,1\r\n5,9310000000056,2\r\n");
    const std::optional<ProgramRun> run = onASmallDisk(
        "32m", disk,
        "cp \"$BIN/Tsr-tu3a.exe\" \"$DISK\" && printf 'old item file\\r\\n' > \"$DISK/rmItems.dat\" && "
        "{ dd if=/dev/zero of=\"$DISK/filler\" bs=1k 2>/dev/null; true; } && "
        "\"$BIN/rmstockhand-batch\" export-items --send; echo \"exit $?\"; cat \"$DISK/rmItems.dat\"; "
        "\"$BIN/rmstockhand-batch\" import-stocktake \"$STOCK\"; echo \"exit $?\"",
        {"RMSTOCKHAND_HOME=" + disk, "PDT_SIM_DIR=" + scanner, "STOCK=" + stock});
    if (!run) {
        GTEST_SKIP() << "no mount namespace of the test's own (unshare -rm) on this machine";
    }
    EXPECT_EQ(run->errors,
              "Error in Download Item File = 61-No space left on device\n"
              "Error in writing audit report = 61 - No space left on device\n");
    const QString report = disk + "/StockTakeAuditFile.rep";
    EXPECT_EQ(run->output,
              "the item file: " + disk + "/rmItems.dat\nexit 1\nold item file\r\n" + stock +
                  ": 2 records, 1 written, 1 audited in " + report +
                  ", 0 with an error, 0 refused by the shop\n1 audit lines could not be written to " +
                  report + ": those records are in no report\nexit 4\n");
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
                quiet.errors.count('\n') == 1 &&
                quiet.output.endsWith(", 0 with an error, 1 refused by the shop\n"))
        << quiet.errors.data() << quiet.output.data();
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
    ASSERT_EQ(lines.size(), sqlite ? 2 : 3) << stopped.errors.data();
    EXPECT_TRUE(lines[lines.size() - 2].startsWith(sqlite ? "Error in process despatch file = -2147467259-"
                                                          : "Error in fLoadPDTDetails_Error=-2147467259-"))
        << stopped.errors.data();
    EXPECT_TRUE(stopped.output.endsWith(stoppedAt(sqlite ? 1 : 4, stock, 0) + '\n')) << stopped.output.data();
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
    const qsizetype exit = run->output.indexOf("\nexit 1\n");
    ASSERT_GT(exit, 0) << run->output.data() << run->errors.data();
    const int loaded = run->output.mid(exit + 8).trimmed().toInt();
    EXPECT_GT(loaded, 0);
    EXPECT_LT(loaded, 500);
    EXPECT_TRUE(run->errors.startsWith("Error in fLoadPDTDetails_Error=-2147467259-") &&
                run->errors.count('\n') == 1 &&
                run->output.left(exit).endsWith(stoppedAt(loaded + 2, stock, loaded)))
        << run->errors.data() << run->output.data();
}
