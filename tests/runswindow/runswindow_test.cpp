// The runs window over a shop with a stocktake, an orders run and a goods run built on it, beside
// what the batch says of the same shop: the runs, the undo and its refusals, the check of an upload.
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QTimer>

#include "batchprogram.h"
#include "fakeprogress.h"
#include "imports/runlisting.h"
#include "platform/stringtools.h"
#include "runswindow/checkwindow.h"
#include "runswindow/frmruns.h"
#include "runswindow/variancewindow.h"
#include "scriptedprompts.h"
#include "shopdata/shopdatabase.h"
#include "shoprows.h"
#include "startup/program.h"
#include "testshop.h"

namespace {

// The cells of a table's row.
QStringList rowCells(const QTableWidget* table, int row) {
    QStringList cells;
    for (int column = 0; column < table->columnCount(); ++column) {
        cells << table->item(row, column)->text();
    }
    return cells;
}

// The runs as the window lists them, in the batch's lines.
QStringList shownRuns(const frmRuns& window) {
    QStringList lines{runLine(runHeadings())};
    for (int row = 0; row < window.runsTable()->rowCount(); ++row) {
        lines << runLine(rowCells(window.runsTable(), row));
    }
    return lines;
}

TEST(RunsWindow, ListsUndoesAndChecksAsTheBatchDoes) {
    TestShop shop;
    shop.registerDemoShop(5);
    batch(
        {"import-stocktake", writeBytes(shop.folder() + "/Stock.dat", "NXSTV100\r\n1,9310000000018,2\r\n")});
    batch({"import-orders", writeBytes(shop.folder() + "/Orders.dat", "NXORV100\r\n1,9310000000018,2\r\n")});
    ShopRows db;
    const QStringList ordered = db.shopTables();
    batch({"import-goods",
           writeBytes(shop.folder() + "/Goods.dat", "NXGRV100\r\n1,9310000000018,4,1001,3\r\n")});
    ScriptedPrompts prompts;
    StringTools tools;
    ShopDatabase data;
    data.Connect();
    Program program{prompts, tools, data, shop.folder()};
    program.runs = &data;
    FakeProgress menu;
    program.progress = &menu;
    frmRuns window(program);

    // The newest first, each in the batch's columns.
    QStringList listed = QString::fromUtf8(batch({"runs"}).output).split('\n', Qt::SkipEmptyParts);
    std::reverse(listed.begin() + 1, listed.end());
    EXPECT_EQ(shownRuns(window), listed);

    // Only a stocktake run has a variance to show.
    auto* variance = window.findChild<QPushButton*>("cmdVariance");
    window.runsTable()->selectRow(0);
    EXPECT_FALSE(variance->isEnabled());
    window.runsTable()->selectRow(2);
    bool opened = false;
    QTimer::singleShot(0, &window, [&] {
        auto* report = window.findChild<VarianceWindow*>();
        ASSERT_NE(report, nullptr);
        opened = true;
        report->reject();
    });
    variance->click();
    EXPECT_TRUE(opened);

    // The orders run cannot be undone under the goods run: the batch's reason. The goods run is
    // undone only on Yes, to the tables the batch's undo leaves.
    const QByteArray refusal = batch({"undo", "2"}, 1).errors;
    window.runsTable()->selectRow(1);
    prompts.answerNext(true);
    window.cmdUndo_Click();
    EXPECT_EQ(prompts.cautious.last(), "Run 2 wrote 1 order line. Take them back?");
    EXPECT_EQ(prompts.shown.last() + '\n', refusal);
    window.runsTable()->selectRow(0);
    prompts.answerNext(false);
    window.cmdUndo_Click();
    EXPECT_NE(db.shopTables(), ordered);
    prompts.answerNext(true);
    window.cmdUndo_Click();
    EXPECT_EQ(prompts.cautious.last(),
              "Run 3 wrote 1 received line, with their receipts and the quantities on hand they raised. Take "
              "them back?");
    EXPECT_EQ(prompts.shown.last(), "Run 3 was undone");
    EXPECT_EQ(db.shopTables(), ordered);
    EXPECT_TRUE(window.runsTable()->item(0, 3)->text().startsWith("undone "));

    // The check's table holds the batch check's lines, a flagged row standing out, and writes nothing.
    const QString upload = writeBytes(shop.folder() + "/Upload.dat",
                                      "NXSTV100\r\n5,9310000000025,500\r\n9,931,1\r\n2,9310000000025,1\r\n");
    const QStringList checked = QString::fromUtf8(batch({"check-stocktake", upload}, 3).output).split('\n');
    prompts.chooseNextFile(upload);
    bool shown = false;
    QTimer::singleShot(0, &window, [&] {
        auto* check = window.findChild<CheckWindow*>();
        ASSERT_NE(check, nullptr);
        shown = true;
        QStringList lines;
        for (int row = 0; row < check->table()->rowCount(); ++row) {
            QStringList cells = rowCells(check->table(), row);
            lines << "line " + cells[0] + ": " + cells[1] +
                         (cells[2].isEmpty() ? QString()
                                             : "\n  look at: " + cells[2].replace('\n', "\n  look at: "));
        }
        EXPECT_EQ(lines.join('\n') + '\n' + check->summary()->text() + '\n', checked.join('\n'));
        EXPECT_NE(check->table()->item(0, 0)->background().style(), Qt::NoBrush);
        EXPECT_EQ(check->table()->item(2, 0)->background().style(), Qt::NoBrush);
        check->reject();
    });
    const QStringList before = db.shopTables();
    window.cmdCheck_Click();
    EXPECT_TRUE(shown);
    EXPECT_EQ(db.shopTables(), before);
}

}  // namespace
