#include <QElapsedTimer>
#include <QRandomGenerator>

#include "imports/goodsreceivedimport.h"
#include "imports/stocktakeimport.h"
#include "importtest.h"

namespace {

class UploadFileTest : public ImportTest {
protected:
    // Processes `content` as a stocktake file with a loader that records each record's fields.
    ProcessOutcome process(const QByteArray& content) {
        const QString path = writeFile(QStringLiteral("Stock.dat"), content);
        return processUploadFile(modMain, path, QStringLiteral("NXST"), [this](ModMain&, TextArray& fields) {
            records << fields.at(1) + u'|' + fields.at(2);
            if (fields.at(1) == QLatin1String("stop")) {
                throw ProgramError(errnum::DeviceIoError, QStringLiteral("Device I/O error"));
            }
        });
    }

    QStringList records;
};

TEST_F(UploadFileTest, SplitsLinesAtCrLfOrLoneCrAndSkipsHeadersAndBlankLines) {
    const QByteArray content =
        "NXSTV100,1\r\n57,a\rb,1\r\nc\nd,2\r\n\r\n   \r\n   NXSTV100,x\r\nnxstv100,y\r\n \t ,z\r\nlast,3";
    EXPECT_EQ(process(content), ProcessOutcome::Completed);
    EXPECT_EQ(records, QStringList({"57|a", "b|1", "c\nd|2", "nxstv100|y", " \t |z", "last|3"}));
    EXPECT_EQ(menu.statuses.first(), QStringLiteral("Processing Barcode=57"));
    EXPECT_EQ(menu.statuses.size(), 6);
    EXPECT_EQ(menu.yields, 6);
    EXPECT_TRUE(prompts.shown.isEmpty());
}

TEST_F(UploadFileTest, CrLfSplitAcrossReadChunksIsOneLineEnd) {
    const QByteArray first = "1," + QByteArray(64 * 1024 - 3, 'x');
    EXPECT_EQ(process(first + "\r\n2,y\r\n"), ProcessOutcome::Completed);
    EXPECT_EQ(records, QStringList({"1|" + QString(64 * 1024 - 3, u'x'), "2|y"}));
}

TEST_F(UploadFileTest, AnErrorOutsideTheLoaderStopsTheFile) {
    EXPECT_EQ(process("1,a\r\nstop,b\r\n2,c\r\n"), ProcessOutcome::Stopped);
    EXPECT_EQ(records, QStringList({"1|a", "stop|b"}));
    EXPECT_EQ(prompts.shown, QStringList{"Error in process despatch file = 57-Device I/O error"});
}

TEST_F(UploadFileTest, ALineLongerThanAnyScannerWritesStopsTheFileQuickly) {
    QElapsedTimer timer;
    timer.start();
    EXPECT_EQ(process("1,a\r\n" + QByteArray(10'000'000, '7') + "\r\n2,b\r\n"), ProcessOutcome::Stopped);
    EXPECT_LT(timer.elapsed(), 5000);
    EXPECT_EQ(records, QStringList{"1|a"});
    EXPECT_EQ(prompts.shown,
              QStringList{"Error in process despatch file = 75-Line longer than 1048576 characters"});
}

TEST_F(UploadFileTest, NulBytesReachTheLoaderAsCharacters) {
    EXPECT_EQ(fProcessStocktakeFile(modMain), ProcessOutcome::NoFile);
    menu.path = writeFile(QStringLiteral("Stock.dat"), QByteArray("57\0,9310012345678,3\r\n", 21));
    EXPECT_EQ(fProcessStocktakeFile(modMain), ProcessOutcome::Completed);
    EXPECT_EQ(menu.statuses, QStringList{QStringLiteral("Processing Barcode=57") + QChar(0)});
    EXPECT_EQ(calls, QStringList({"LookupStockItem 57", "WriteStocktakeQty 57 3"}));
}

TEST_F(UploadFileTest, RandomBytesEndWithTheProgramsOwnMessages) {
    QRandomGenerator random(20261204);
    QByteArray content(256 * 1024, '\0');
    for (char& byte : content) {
        byte = static_cast<char>(random.bounded(256));
    }
    menu.path = writeFile(QStringLiteral("Stock.dat"), content);
    EXPECT_EQ(fProcessStocktakeFile(modMain), ProcessOutcome::Completed);
    EXPECT_FALSE(prompts.shown.isEmpty());
    for (const QString& text : prompts.shown) {
        EXPECT_TRUE(text == QLatin1String(kWarning) ||
                    text.startsWith(QLatin1String("Error in fLoadPDTDetails_Error=")))
            << text.toStdString();
    }
}

// The goods-received processing opens its session and shows its completion text itself.
TEST_F(UploadFileTest, GoodsReceivedStartsASessionAndCompletesUnlessStopped) {
    const struct {
        const char* content;  // nullptr: no file
        ProcessOutcome outcome;
    } cases[] = {{nullptr, ProcessOutcome::NoFile}, {"NXGRV100\r\n", ProcessOutcome::Completed}};
    for (const auto& c : cases) {
        menu.path = c.content ? writeFile(QStringLiteral("Goods.dat"), c.content) : dir.filePath("None.dat");
        calls.clear();
        EXPECT_EQ(fProcessGoodsReceivedFile(modMain), c.outcome);
        EXPECT_EQ(calls, QStringList{"StartGoodsReceived -1 5 2"});
        EXPECT_EQ(menu.status(), QStringLiteral("Completed Processing Barcodes"));
    }
    menu.path = writeFile(QStringLiteral("Goods.dat"), QByteArray(2'000'000, 'x'));
    menu.statuses.clear();
    EXPECT_EQ(fProcessGoodsReceivedFile(modMain), ProcessOutcome::Stopped);
    EXPECT_TRUE(menu.statuses.isEmpty());
}

}  // namespace
