#include <gtest/gtest.h>

#include <QFile>
#include <QMap>
#include <QProcess>
#include <QTemporaryDir>

namespace {

// The held items by stock id; a 12-digit code with a leading 0 is scanned in its 13-digit form.
const QMap<QByteArray, QByteArray> kItems{
    {"57", "9310012345678"}, {"58", "012345678905"}, {"102", "9300000000017"}, {"7", "ABC-1"}};

class ScannerSimulatorTest : public testing::Test {
protected:
    ScannerSimulatorTest() { qputenv("PDT_SIM_DIR", folder.path().toLocal8Bit()); }
    ~ScannerSimulatorTest() override { qunsetenv("PDT_SIM_DIR"); }

    int run(const QStringList& arguments) {
        QProcess simulator;
        simulator.start(RM_BIN_DIR "/pdt-sim", arguments);
        EXPECT_TRUE(simulator.waitForFinished(30000));
        output = QString::fromLocal8Bit(simulator.readAllStandardOutput() + simulator.readAllStandardError());
        return simulator.exitCode();
    }
    void holdItems() const {
        QFile file(folder.filePath("rmItems.dat"));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        for (auto item = kItems.begin(); item != kItems.end(); ++item) {
            file.write(item.key().leftJustified(5) + item.value().leftJustified(69) + "\r\n");
        }
    }
    QByteArray held(const QString& name) const {
        QFile file(folder.filePath(name));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    QTemporaryDir folder;
    QString output;
};

TEST_F(ScannerSimulatorTest, WithoutAnItemFileThereIsNothingToScan) {
    EXPECT_EQ(run({"stocktake"}), 1);
    EXPECT_EQ(output,
              "pdt-sim: the scanner holds no item file; send rmItems.dat to it with Tsr-tu3a.exe first\n");
}

TEST_F(ScannerSimulatorTest, MakesEachUploadAsAShopAssistantWould) {
    const struct {
        const char* command;
        const char* file;
        QByteArray magic;
        qsizetype fields;
    } modes[] = {{"stocktake", "Stock.dat", "NXSTV100", 3},
                 {"orders", "Orders.dat", "NXORV100", 3},
                 {"goods", "Goods.dat", "NXGRV100", 5}};
    holdItems();
    for (const auto& mode : modes) {
        ASSERT_EQ(run({mode.command, "--records", "30"}), 0) << output.toStdString();
        QList<QByteArray> lines = held(mode.file).split('\n');
        ASSERT_EQ(lines.takeLast(), "");  // every line ends with CR LF
        EXPECT_EQ(lines.takeFirst(), mode.magic + '\r');
        ASSERT_EQ(lines.size(), 30);
        QMap<QByteArray, int> kinds;
        for (const QByteArray& line : lines) {
            ASSERT_TRUE(line.endsWith('\r')) << line.constData();
            const QList<QByteArray> fields = line.chopped(1).split(',');
            ASSERT_EQ(fields.size(), mode.fields) << line.constData();
            EXPECT_GT(fields.last().toDouble(), 0) << line.constData();
            const QByteArray item = kItems.value(fields.at(0), "<none>");
            const bool known = fields.at(1) == item || fields.at(1) == "0" + item;
            ++kinds[fields.at(1) == "NUXADEL" ? "deleted" : known ? "known" : "unknown"];
            EXPECT_TRUE(known || !kItems.values().contains(fields.at(1))) << line.constData();
            if (mode.fields == 5) {
                EXPECT_EQ(fields.at(2), "0");
                ++kinds["order " + fields.at(3)];
            }
        }
        EXPECT_GT(kinds["known"], 10) << mode.command;
        EXPECT_GT(kinds["deleted"], 0) << mode.command;
        EXPECT_GT(kinds["unknown"], 0) << mode.command;
        if (mode.fields == 5) {
            EXPECT_GT(kinds["order 102"], 0);
            EXPECT_GT(kinds["order "], 0);
        }
    }
}

}  // namespace
