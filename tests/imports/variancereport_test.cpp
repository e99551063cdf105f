#include "imports/variancereport.h"

#include <gtest/gtest.h>

#include "mocks.h"

// Each value is rounded to the cent, a half cent away from zero however the binary number falls; the
// total is the sum of the printed values, and the spreadsheet's value column sums to it.
TEST(VarianceReport, ValuesRoundHalfCentsAwayFromZeroAndTheTotalIsTheSumOfTheRows) {
    testing::NiceMock<MockImportRuns> runs;
    ON_CALL(runs, Variance(7))
        .WillByDefault(testing::Return(QList<ItemVariance>{{1, "931", "Half up", 5, 2.5, true, 124.67},
                                                           {2, "932", "Just below", 2.5, 0, false, 0.09},
                                                           {3, "933", "Half up too", 1, 2.5, true, 46.71},
                                                           {4, "934", "Exact half", 0, 2.5, true, 4.45}}));
    ImportRun run;
    run.id = 7;
    const VarianceReport report = varianceReport(runs, run);
    QStringList values;
    for (const QString& line : varianceText(report).mid(2)) {
        values << line.section(' ', -1);
    }
    EXPECT_EQ(values, QStringList({"-311.68", "70.07", "11.13", "-0.23", "-230.71"}));
    QList<QByteArray> rows = varianceCsv(report).split('\n');
    EXPECT_EQ(rows.takeLast(), "");
    rows.removeFirst();  // the header
    qint64 cents = 0;
    for (const QByteArray& row : rows) {
        cents += qRound64(row.split(',').at(6).toDouble() * 100);
    }
    EXPECT_EQ(cents, report.valueCents);
}
