// The scanner's side of a transfer: the transfer utility and the scanner simulator, with the
// scanner's memory in the test's own folder.
#include <QMap>
#include <QTemporaryDir>

#include "programfiles.h"

const QByteArray kRecord = QByteArray("57   9310012345678  Milk 2L").leftJustified(74, ' ') + "\r\n";
const QString kPort = "COM2:9600,n,8,1";  // COM1, the menu's default, is sent end to end

QStringList send(const QString& file, const QString& widths = "/f5,15,40,9,5") {
    return {kPort, "n", 'D' + file, widths};
}

class ScannerTest : public testing::Test {
protected:
    ScannerTest() { qputenv("PDT_SIM_DIR", memory.toLocal8Bit()); }
    ~ScannerTest() override { qunsetenv("PDT_SIM_DIR"); }

    QString in(const QString& name) const { return folder.filePath(name); }

    QTemporaryDir folder;
    const QString memory = folder.filePath("memory");
};

// What the scanner could not take the utility refuses with a one-line reason, moving nothing.
TEST_F(ScannerTest, TheUtilitySendsOnlyAWellFormedItemFile) {
    const QString good = writeBytes(in("good.dat"), kRecord);
    const std::pair<QStringList, const char*> refused[] = {
        {send(writeBytes(in("short.dat"), kRecord + kRecord.mid(1))), "record 2 is 73 characters long"},
        {send(writeBytes(in("lf.dat"), kRecord.left(74) + "\n")), "record 1 does not end with CR LF"},
        {send(in("missing.dat")), "cannot read"},
        {send(good, "/f5,15,40,9"), "do not match the scanner's item layout"},
        {{"COM3:9600,n,8,1", "n@", good}, "is not a port"},
        {{kPort, "n", "D/My", "Shop/rmItems.dat", "/f5,15,40,9,5"}, "got 5 argument(s)"},
        {{kPort, "n", good, "/f5,15,40,9,5"}, "is not D followed by the file"},
        {{kPort, "n@", in("Orders.dat")}, "holds no Orders.dat"},
        {{kPort, "n@", in("rmItems.dat")}, "no upload called 'rmItems.dat'"},
    };
    for (const auto& [arguments, reason] : refused) {
        const ProgramRun run = runProgram("Tsr-tu3a.exe", arguments);
        EXPECT_NE(run.exitCode, 0) << reason;
        EXPECT_TRUE(run.errors.startsWith("Tsr-tu3a.exe: ") && run.errors.contains(reason))
            << run.errors.data();
        EXPECT_EQ(run.errors.count('\n'), 1) << run.errors.data();
        EXPECT_FALSE(QFile::exists(memory + "/rmItems.dat") || QFile::exists(in("rmItems.dat")));
    }
    const ProgramRun empty = runProgram("Tsr-tu3a.exe", send(writeBytes(in("rmItems.dat"), "")));
    EXPECT_EQ(empty.exitCode, 0) << empty.errors.data();
    EXPECT_EQ(readBytes(memory + "/rmItems.dat"), "");
}

// Each upload holds its magic and then records as a shop assistant scans them: mostly items of the
// sent item file (a 12-digit code with a leading 0 scanned in its 13-digit form), some deleted and
// some unknown; the goods records carry order number 102, or none.
TEST_F(ScannerTest, TheSimulatorScansUploadsFromTheSentItemsForTheUtilityToReceive) {
    const ProgramRun nothingHeld = runProgram("pdt-sim", {"stocktake"});
    EXPECT_EQ(nothingHeld.exitCode, 1);
    EXPECT_EQ(nothingHeld.errors,
              "pdt-sim: the scanner holds no item file; send rmItems.dat to it with Tsr-tu3a.exe first\n");
    const QMap<QByteArray, QByteArray> items{
        {"57", "9310012345678"}, {"58", "012345678905"}, {"102", "9300000000017"}, {"7", "ABC-1"}};
    QByteArray itemFile;
    for (auto item = items.begin(); item != items.end(); ++item) {
        itemFile += item.key().leftJustified(5) + item.value().leftJustified(69) + "\r\n";
    }
    ASSERT_EQ(runProgram("Tsr-tu3a.exe", send(writeBytes(in("rmItems.dat"), itemFile))).exitCode, 0);
    EXPECT_EQ(readBytes(memory + "/rmItems.dat"), itemFile);
    const std::tuple<const char*, const char*, QByteArray, qsizetype> modes[] = {
        {"stocktake", "Stock.dat", "NXSTV100", 3},
        {"orders", "Orders.dat", "NXORV100", 3},
        {"goods", "Goods.dat", "NXGRV100", 5}};
    for (const auto& [command, fileName, magic, fieldCount] : modes) {
        ASSERT_EQ(runProgram("pdt-sim", {command, "--records", "30"}).exitCode, 0) << command;
        ASSERT_EQ(runProgram("Tsr-tu3a.exe", {kPort, "n@", in(fileName)}).exitCode, 0) << command;
        QList<QByteArray> lines = readBytes(in(fileName)).split('\n');
        ASSERT_EQ(lines.takeLast(), "");  // every line ends with CR LF
        EXPECT_EQ(lines.takeFirst(), magic + '\r');
        ASSERT_EQ(lines.size(), 30);
        QMap<QByteArray, int> kinds;
        for (const QByteArray& line : lines) {
            const QList<QByteArray> fields = line.chopped(1).split(',');
            ASSERT_TRUE(line.endsWith('\r') && fields.size() == fieldCount) << line.data();
            EXPECT_GT(fields.last().toDouble(), 0) << line.data();
            const QByteArray item = items.value(fields.at(0), "<none>");
            // The 12-digit code scans in its 13-digit form, with a leading 0.
            const bool known = fields.at(1) == (item == "012345678905" ? "0" + item : item);
            // A barcode of the item file is only ever scanned under its own stock id.
            EXPECT_TRUE(known || !items.values().contains(fields.at(1))) << line.data();
            ++kinds[fields.at(1) == "NUXADEL" ? "deleted" : known ? "known" : "unknown"];
            if (fieldCount == 5) {
                EXPECT_EQ(fields.at(2), "0") << line.data();
                ++kinds["order " + fields.at(3)];
            }
        }
        EXPECT_GT(kinds["known"], 10) << command;
        EXPECT_GT(kinds["deleted"] * kinds["unknown"], 0) << command;
        EXPECT_EQ(kinds["order 102"] > 0 && kinds["order "] > 0, fieldCount == 5) << command;
    }
}
