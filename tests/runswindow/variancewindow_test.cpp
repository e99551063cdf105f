// The variance window over a stocktake run shows, charts, saves and prints what the batch reports.
#include "runswindow/variancewindow.h"

#include <QBarCategoryAxis>
#include <QBarSet>
#include <QChartView>
#include <QHorizontalStackedBarSeries>
#include <QProcess>
#include <QPushButton>
#include <QTableView>

#include "batchprogram.h"
#include "demoshop.h"
#include "scriptedprompts.h"
#include "shopdata/shopdatabase.h"
#include "testshop.h"

namespace {

// A stocktake of a 30-item demo shop (item n: n on hand at n.95): odd items counted at twice their
// stock, even ones at half, item 3 on two shelves, items 29 and 30 not counted.
QByteArray stocktake() {
    QByteArray file = "NXSTV100\r\n";
    for (int item = 1; item <= 28; ++item) {
        const int counted = item % 2 ? 2 * item : item / 2;
        for (int shelf = 0; shelf < (item == 3 ? 2 : 1); ++shelf) {
            file += QByteArray::number(item) + ',' + demoshop::demoBarcode(item).c_str() + ',' +
                    QByteArray::number(item == 3 ? counted / 2 : counted) + "\r\n";
        }
    }
    return file;
}

// A spreadsheet row as the window's table shows it: the fields unquoted, the status folded into the
// counted column for an item not counted.
QStringList tableRow(const QByteArray& csvRow) {
    QStringList fields = QString::fromUtf8(csvRow).remove('"').split(',');
    if (fields.takeLast() == "not counted") {
        fields[4] = "not counted";
    }
    return fields;
}

QStringList shownRow(const QAbstractItemModel& model, int row) {
    QStringList cells;
    for (int column = 0; column < model.columnCount(); ++column) {
        cells << model.index(row, column).data().toString();
    }
    return cells;
}

}  // namespace

TEST(VarianceWindow, ShowsChartsSavesAndPrintsTheBatchReport) {
    TestShop shop;
    shop.registerDemoShop(30);
    batch({"import-stocktake", writeBytes(shop.folder() + "/Stock.dat", stocktake())});
    const QString batchCsv = shop.folder() + "/batch.csv";
    const QList<QByteArray> text = batch({"variance", "--csv", batchCsv}).output.trimmed().split('\n');
    QList<QByteArray> csv = readBytes(batchCsv).trimmed().split('\n');
    csv.removeFirst();
    ASSERT_EQ(csv.size(), 30);
    const QString totalsLine = QString::fromUtf8(text.last()).simplified();

    ShopDatabase database;
    database.Connect();
    ScriptedPrompts prompts;
    VarianceWindow window(prompts, database, database.Runs().last());

    // The table: the spreadsheet's rows in its order, then the text report's totals.
    const QAbstractItemModel& table = *window.findChild<QTableView*>()->model();
    ASSERT_EQ(table.rowCount(), 31);
    for (int row = 0; row < 30; ++row) {
        EXPECT_EQ(shownRow(table, row), tableRow(csv[row].trimmed())) << row;
    }
    EXPECT_EQ(shownRow(table, 30).join(' ').simplified(), totalsLine);

    // The chart: the first 20 rows' values, each in the bar set of its sign.
    auto* series = qobject_cast<QHorizontalStackedBarSeries*>(
        window.findChild<QChartView*>()->chart()->series().value(0));
    ASSERT_TRUE(series);
    const QList<QBarSet*> sets = series->barSets();
    ASSERT_EQ(sets.size(), 2);
    EXPECT_EQ(sets[0]->color(), QColor(Qt::red));
    EXPECT_EQ(sets[1]->color(), QColor(Qt::darkGreen));
    const QStringList labels = qobject_cast<QBarCategoryAxis*>(series->attachedAxes().value(0))->categories();
    ASSERT_EQ(labels.size(), 20);
    int below = 0;
    for (int bar = 0; bar < 20; ++bar) {
        const QStringList row = tableRow(csv[bar].trimmed());
        const double value = row[6].toDouble();
        const qsizetype at = labels.indexOf(row[0]);
        ASSERT_GE(at, 0) << row[0].toStdString();
        EXPECT_EQ(sets[0]->at(at), qMin(value, 0.0)) << row[0].toStdString();
        EXPECT_EQ(sets[1]->at(at), qMax(value, 0.0)) << row[0].toStdString();
        below += value < 0;
    }
    EXPECT_TRUE(below > 0 && below < 20);

    // The spreadsheet saved is the batch's; the PDF's last page ends in the totals.
    const QString savedCsv = shop.folder() + "/saved.csv", pdf = shop.folder() + "/saved.pdf";
    prompts.chooseNextFile(savedCsv);
    window.findChild<QPushButton*>("saveCsv")->click();
    EXPECT_EQ(readBytes(savedCsv), readBytes(batchCsv));
    prompts.chooseNextFile(pdf);
    window.findChild<QPushButton*>("savePdf")->click();
    QProcess pdftotext;
    pdftotext.start("pdftotext", {"-layout", pdf, "-"});
    ASSERT_TRUE(pdftotext.waitForFinished());
    const QStringList pages =
        QString::fromUtf8(pdftotext.readAllStandardOutput()).split('\f', Qt::SkipEmptyParts);
    ASSERT_FALSE(pages.isEmpty());
    EXPECT_TRUE(pages.first().contains("Shop: MYOBRM")) << pages.first().toStdString();
    EXPECT_TRUE(pages.last().simplified().contains(totalsLine)) << pages.last().toStdString();
    EXPECT_TRUE(prompts.shown.isEmpty()) << prompts.shown.join('\n').toStdString();
    // A folder that is not there: the file is named, and nothing is left behind.
    prompts.chooseNextFile(shop.folder() + "/gone/saved.csv");
    window.findChild<QPushButton*>("saveCsv")->click();
    ASSERT_EQ(prompts.shown.size(), 1);
    EXPECT_TRUE(prompts.shown[0].startsWith("Error in writing " + shop.folder() + "/gone/saved.csv = "));
    EXPECT_TRUE(prompts.allAnswersUsed());
}
