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
        program.runs = &runs;
        program.runQuestions = &questions;
        upload = writeFile("Stock.dat", kFile);
        stopped.id = 4;
        stopped.fileName = QStringLiteral("/old/Stock.dat");
        stopped.lastLine = 2;
        stopped.linesInFile = 4;
        stopped.process = QStringLiteral("no-such-machine:1:1");
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

// No loads nothing and begins no run; Yes asks the shop to undo the stopped run, and when it
// refuses, that is said and nothing is loaded; otherwise the whole file loads as a new run, each
// count carrying the run and its line. A run whose process still runs has not stopped.
TEST_F(ImportRunTest, AStoppedImportIsUndoneOnYesAndNothingIsLoadedOnNoOrARefusal) {
    EXPECT_CALL(runs, UnfinishedRuns(QString("stocktake"))).WillRepeatedly(Return(QList<ImportRun>{stopped}));
    const QString refusal = "Run 4 cannot be undone: run 5 wrote to order 1001, which run 4 made";
    EXPECT_CALL(runs, UndoRun(4)).WillOnce(Return(refusal));
    EXPECT_CALL(runs, BeginRun(_, _, _, _, _)).Times(0);
    for (const bool yes : {false, true}) {
        prompts.answerNext(yes);
        EXPECT_EQ(fProcessStocktakeFile(program, upload), ProcessOutcome::Stopped);
    }
    EXPECT_TRUE(counts().isEmpty());
    testing::Mock::VerifyAndClearExpectations(&runs);

    prompts.answerNext(true);
    ImportRun running = stopped;  // an import going on beside this one, which nobody is asked about
    running.id = 6;
    running.process = platform::thisProcessTag();
    EXPECT_CALL(runs, UnfinishedRuns(QString("stocktake")))
        .WillOnce(Return(QList<ImportRun>{running, stopped}));
    EXPECT_CALL(runs, UndoRun(4)).WillOnce(Return(QString()));
    EXPECT_CALL(runs, BeginRun(QString("stocktake"), upload, _, 4, _)).WillOnce(Return(5));
    EXPECT_CALL(runs, EndRun(5, 4));
    EXPECT_EQ(fProcessStocktakeFile(program, upload), ProcessOutcome::Completed);
    EXPECT_EQ(counts(), QStringList({"Count 57 1 @5:2", "Count 58 2 @5:3", "Count 59 3 @5:4"}));
    const QString question =
        "The last import of /old/Stock.dat stopped at line 2 of 4. Undo what it wrote "
        "before loading again?";
    EXPECT_EQ(prompts.shown, QStringList({question, question, refusal, question}));
}

// A file loaded before: Yes loads it again, No loads nothing.
TEST_F(ImportRunTest, AFileLoadedBeforeIsLoadedAgainOnlyOnYes) {
    ImportRun earlier;
    earlier.endedAt = QStringLiteral("2026-12-01 01:30:00");
    EXPECT_CALL(runs, EndedRunOfFile(QString("stocktake"), uploadFacts(upload).checksum))
        .WillRepeatedly(Return(earlier));
    EXPECT_CALL(runs, BeginRun(_, _, _, _, _)).WillOnce(Return(5));
    prompts.answerNext(false);
    EXPECT_EQ(fProcessStocktakeFile(program, upload), ProcessOutcome::Stopped);
    EXPECT_TRUE(counts().isEmpty());
    prompts.answerNext(true);
    EXPECT_EQ(fProcessStocktakeFile(program, upload), ProcessOutcome::Completed);
    EXPECT_EQ(counts().size(), 3);
    EXPECT_EQ(prompts.shown.first(), "This file was already loaded on 01/12/2026 01:30. Load it again?");
    EXPECT_EQ(prompts.cautious.size(), 2);
}

}  // namespace
