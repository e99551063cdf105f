#include <QElapsedTimer>
#include <QRandomGenerator>

#include "imports/goodsreceivedimport.h"
#include "imports/stocktakeimport.h"
#include "importtest.h"

namespace {

class UploadFileTest : public ImportTest {
protected:
    // Processes `content` as a stocktake file with a loader that records fields 1 and 2 of each
    // record, and fails outside the loader's own error handling on the record "stop".
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
    const QByteArray head =
        "NXSTV100,1\r\n57,a\rb,1\r\nc\nd,2\r\n\r\n   \r\n   NXSTV100,x\r\nnxstv100,y\r\nn" +
        QByteArray(1, '\0') + ",z\r\n";
    // A CR LF that falls across two reads of the file is still one line end.
    const QByteArray padding(64 * 1024 - 1 - head.size() - 2, 'x');
    EXPECT_EQ(process(head + "p," + padding + "\r\nlast,3"), ProcessOutcome::Completed);
    EXPECT_EQ(records,
              QStringList({"57|a", "b|1", "c\nd|2", "nxstv100|y", QStringLiteral("n") + QChar(0) + "|z",
                           "p|" + QString::fromLatin1(padding), "last|3"}));
    EXPECT_EQ(menu.statuses.first(), QStringLiteral("Processing Barcode=57"));
    EXPECT_EQ(menu.statuses.size(), 7);
    EXPECT_EQ(menu.yields, 7);
    EXPECT_TRUE(prompts.shown.isEmpty());
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
    EXPECT_LT(timer.elapsed(), 10000);
    EXPECT_EQ(records, QStringList{"1|a"});
    EXPECT_EQ(prompts.shown,
              QStringList{"Error in process despatch file = 75-Line longer than 1048576 characters"});
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

// The goods-received processing opens its session even without a file, and shows its completion
// text unless an error stopped it.
TEST_F(UploadFileTest, GoodsReceivedStartsASessionAndCompletesUnlessStopped) {
    const struct {
        std::optional<QByteArray> content;  // none: no file
        ProcessOutcome outcome;
        const char* status;
    } cases[] = {{std::nullopt, ProcessOutcome::NoFile, "Completed Processing Barcodes"},
                 {"NXGRV100\r\n", ProcessOutcome::Completed, "Completed Processing Barcodes"},
                 {QByteArray(2'000'000, 'x'), ProcessOutcome::Stopped, ""}};
    for (const auto& c : cases) {
        menu.path = c.content ? writeFile(QStringLiteral("Goods.dat"), *c.content) : dir.filePath("None.dat");
        menu.statuses.clear();
        calls.clear();
        EXPECT_EQ(fProcessGoodsReceivedFile(modMain), c.outcome);
        EXPECT_EQ(calls.first(), QStringLiteral("Start -1 5 2"));
        EXPECT_EQ(menu.status(), QLatin1String(c.status));
    }
}

}  // namespace
