// An import as a run of the shop's record, with the window's questions.
#include "imports/importrun.h"
#include "imports/promptedrunquestions.h"
#include "imports/stocktakeimport.h"
#include "importtest.h"
#include "mocks.h"
#include "platform/processtag.h"

using testing::_;
using testing::Return;

namespace {

constexpr const char* kFile = "NXSTV100\r\n57,931,1\r\n58,932,2\r\n59,933,3\r\n";

// The window over a shop that keeps a record of runs: a stopped run of 2 of 4 lines, by a process
// that runs no more, and an earlier ended run of the same file when the test says.
class ImportRunTest : public ImportTest {
protected:
    ImportRunTest() {
        modMain.runs = &runs;
        modMain.runQuestions = &questions;
        menu.path = writeFile("Stock.dat", kFile);
        stopped.id = 4;
        stopped.fileName = QStringLiteral("/old/Stock.dat");
        stopped.lastLine = 2;
        stopped.linesInFile = 4;
        stopped.process = QStringLiteral("no-such-machine:1:1");
        ON_CALL(runs, UnfinishedRuns(_)).WillByDefault(Return(QList<ImportRun>()));
        ON_CALL(runs, EndedRunOfFile(_, _)).WillByDefault(Return(std::nullopt));
    }

    QStringList counts() const { return calls.filter(QStringLiteral("Count")); }

    testing::NiceMock<MockImportRuns> runs;
    PromptedRunQuestions questions{prompts};
    ImportRun stopped;
};

TEST(UploadFacts, CountLinesAsTheReaderReadsThemAndHashTheBytes) {
    QTemporaryDir dir;
    for (const auto& [bytes, lines] :
         {std::pair{"", 0}, {"a", 1}, {"a\r\n", 1}, {"a\r\nb", 2}, {"a\rb\nc\r\n\r\n", 4}}) {
        const QString path = writeBytes(dir.filePath("f"), bytes);
        EXPECT_EQ(uploadFacts(path).lines, lines) << bytes;
    }
    EXPECT_EQ(uploadFacts(writeBytes(dir.filePath("f"), "abc")).checksum,
              "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad");
}

// Yes undoes the stopped run and then loads the whole file as a new run, each count carrying its
// line; No loads nothing and begins no run.
TEST_F(ImportRunTest, AStoppedImportIsUndoneOnYesAndNothingIsLoadedOnNo) {
    EXPECT_CALL(runs, UnfinishedRuns(QString("stocktake"))).WillRepeatedly(Return(QList<ImportRun>{stopped}));
    prompts.answerNext(false);
    EXPECT_CALL(runs, BeginRun(_, _, _, _, _)).Times(0);
    EXPECT_EQ(fProcessStocktakeFile(modMain), ProcessOutcome::Stopped);
    EXPECT_TRUE(counts().isEmpty());
    testing::Mock::VerifyAndClearExpectations(&runs);

    prompts.answerNext(true);
    EXPECT_CALL(runs, UnfinishedRuns(QString("stocktake"))).WillOnce(Return(QList<ImportRun>{stopped}));
    EXPECT_CALL(runs, UndoRun(4)).WillOnce(Return(QString()));
    EXPECT_CALL(runs, BeginRun(QString("stocktake"), menu.path, _, 4, _)).WillOnce(Return(5));
    for (const qint64 line : {2, 3, 4}) {
        EXPECT_CALL(runs, SetRunLine(line));
    }
    EXPECT_CALL(runs, EndRun(4));
    EXPECT_EQ(fProcessStocktakeFile(modMain), ProcessOutcome::Completed);
    EXPECT_EQ(counts(), QStringList({"Count 57 1", "Count 58 2", "Count 59 3"}));
    const QString question =
        "The last import of /old/Stock.dat stopped at line 2 of 4. Undo what it wrote "
        "before loading again?";
    EXPECT_EQ(prompts.shown, QStringList({question, question}));
}

// An undo that the shop refuses is said, and nothing is loaded.
TEST_F(ImportRunTest, AnUndoThatIsRefusedLoadsNothing) {
    EXPECT_CALL(runs, UnfinishedRuns(_)).WillOnce(Return(QList<ImportRun>{stopped}));
    EXPECT_CALL(runs, UndoRun(4))
        .WillOnce(Return(QString("Run 4 cannot be undone: run 5 wrote to order 1001, "
                                 "which run 4 made")));
    EXPECT_CALL(runs, BeginRun(_, _, _, _, _)).Times(0);
    prompts.answerNext(true);
    EXPECT_EQ(fProcessStocktakeFile(modMain), ProcessOutcome::Stopped);
    EXPECT_EQ(prompts.shown.last(), "Run 4 cannot be undone: run 5 wrote to order 1001, which run 4 made");
    EXPECT_TRUE(counts().isEmpty());
}

// A stopped run whose process still runs is an import going on beside this one: nobody is asked.
TEST_F(ImportRunTest, AnImportStillRunningIsNoStoppedOne) {
    stopped.process = platform::thisProcessTag();
    EXPECT_CALL(runs, UnfinishedRuns(_)).WillOnce(Return(QList<ImportRun>{stopped}));
    EXPECT_CALL(runs, BeginRun(_, _, _, _, _)).WillOnce(Return(5));
    EXPECT_EQ(fProcessStocktakeFile(modMain), ProcessOutcome::Completed);
    EXPECT_TRUE(prompts.shown.isEmpty());
    EXPECT_EQ(counts().size(), 3);
}

// A file loaded before: Yes loads it again, No loads nothing.
TEST_F(ImportRunTest, AFileLoadedBeforeIsLoadedAgainOnlyOnYes) {
    ImportRun earlier;
    earlier.endedAt = QStringLiteral("2026-12-01 01:30:00");
    EXPECT_CALL(runs, EndedRunOfFile(QString("stocktake"), uploadFacts(menu.path).checksum))
        .WillRepeatedly(Return(earlier));
    EXPECT_CALL(runs, BeginRun(_, _, _, _, _)).WillOnce(Return(5));
    prompts.answerNext(false);
    EXPECT_EQ(fProcessStocktakeFile(modMain), ProcessOutcome::Stopped);
    EXPECT_TRUE(counts().isEmpty());
    prompts.answerNext(true);
    EXPECT_EQ(fProcessStocktakeFile(modMain), ProcessOutcome::Completed);
    EXPECT_EQ(counts().size(), 3);
    EXPECT_EQ(
        prompts.shown.first(),
        "This file was already loaded on " +
            QDateTime(QDate(2026, 12, 1), QTime(1, 30), Qt::UTC).toLocalTime().toString("dd/MM/yyyy HH:mm") +
            ". Load it again?");
}

}  // namespace
