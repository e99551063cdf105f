#include "imports/variancereport.h"

#include <gtest/gtest.h>

#include "mocks.h"

// Each value is rounded to the cent, a half cent away from zero however the binary number falls; the
// total is the sum of the printed values.
TEST(VarianceReport, ValuesRoundHalfCentsAwayFromZeroAndTheTotalIsTheSumOfTheRows) {
    testing::NiceMock<MockImportRuns> runs;
    ON_CALL(runs, Variance(7, testing::_))
        .WillByDefault([](qint64, const std::function<void(const ItemVariance&)>& each) {
            for (const ItemVariance& item :
                 QList<ItemVariance>{{1, "931", "Half up", 5, 2.5, true, 124.67},
                                     {3, "933", "Half up too", 1, 2.5, true, 46.71},
                                     {4, "934", "Exact half", 0, 2.5, true, 4.45},
                                     {2, "932", "Just below", 2.5, 0, false, 0.09}}) {
                each(item);
            }
        });
    ImportRun run;
    run.id = 7;
    QStringList values;
    writeVarianceReport(runs, run,
                        {[&values](const QString& line) { values << line.section(' ', -1); }, {}, {}, {}});
    EXPECT_EQ(values.mid(2), QStringList({"-311.68", "70.07", "11.13", "-0.23", "-230.71"}));
}
