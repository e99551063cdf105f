#include <QMap>
#include <QTemporaryDir>

#include "programfiles.h"

// Each upload holds its magic and then records as a shop assistant scans them: mostly items of the
// held item file (a 12-digit code with a leading 0 scanned in its 13-digit form), some deleted and
// some unknown; the goods records carry order number 102, or none.
TEST(ScannerSimulator, MakesEachUploadFromTheHeldItems) {
    QTemporaryDir memory;
    qputenv("PDT_SIM_DIR", memory.path().toLocal8Bit());
    const ProgramRun empty = runProgram("pdt-sim", {"stocktake"});
    EXPECT_EQ(empty.exitCode, 1);
    EXPECT_EQ(empty.errors,
              "pdt-sim: the scanner holds no item file; send rmItems.dat to it with Tsr-tu3a.exe first\n");

    const QMap<QByteArray, QByteArray> items{
        {"57", "9310012345678"}, {"58", "012345678905"}, {"102", "9300000000017"}, {"7", "ABC-1"}};
    QByteArray itemFile;
    for (auto item = items.begin(); item != items.end(); ++item) {
        itemFile += item.key().leftJustified(5) + item.value().leftJustified(69) + "\r\n";
    }
    writeBytes(memory.filePath("rmItems.dat"), itemFile);
    const std::tuple<const char*, const char*, QByteArray, qsizetype> modes[] = {
        {"stocktake", "Stock.dat", "NXSTV100", 3},
        {"orders", "Orders.dat", "NXORV100", 3},
        {"goods", "Goods.dat", "NXGRV100", 5}};
    for (const auto& [command, fileName, magic, fieldCount] : modes) {
        ASSERT_EQ(runProgram("pdt-sim", {command, "--records", "30"}).exitCode, 0) << command;
        QList<QByteArray> lines = readBytes(memory.filePath(fileName)).split('\n');
        ASSERT_EQ(lines.takeLast(), "");  // every line ends with CR LF
        EXPECT_EQ(lines.takeFirst(), magic + '\r');
        ASSERT_EQ(lines.size(), 30);
        QMap<QByteArray, int> kinds;
        for (const QByteArray& line : lines) {
            const QList<QByteArray> fields = line.chopped(1).split(',');
            ASSERT_TRUE(line.endsWith('\r') && fields.size() == fieldCount) << line.data();
            EXPECT_GT(fields.last().toDouble(), 0) << line.data();
            const QByteArray item = items.value(fields.at(0), "<none>");
            const bool known = fields.at(1) == item || fields.at(1) == "0" + item;
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
    qunsetenv("PDT_SIM_DIR");
}
