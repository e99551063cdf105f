#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QVariant>
#include <cmath>

#include "imports/numerictext.h"
#include "mocks.h"
#include "outside/programerror.h"

namespace {

// A conversion's result as text, or "#" and the number of the error it raises.
template <typename Conversion>
QString outcome(Conversion conversion) {
    try {
        return QVariant::fromValue(conversion()).toString();
    } catch (const ProgramError& error) {
        return QStringLiteral("#%1").arg(error.number());
    }
}

template <typename Input>
struct Row {
    Input input;
    const char* expected;
};

// clang-format off
TEST(NumericTextRule, ReadsTheLeadingNumberOfAField) {
    const Row<const char*> rows[] = {
        {"57", "57"}, {" 1 2\t3\n4", "1234"}, {"-2.5", "-2.5"}, {"+.5", "0.5"}, {"- 7", "-7"}, {"12A", "12"},
        {"1.2.3", "1.2"}, {"1,5", "1"}, {"1\r2", "1"}, {"7.", "7"}, {"1e3", "1000"}, {"2D2", "200"},
        {"1.5E-1x", "0.15"}, {"3e+", "3"}, {"&H1F", "31"}, {"&o17", "15"}, {"&HG", "0"}, {"abc", "0"}, {"", "0"},
        {".", "0"}, {"--5", "0"}, {"1e-400", "0"}, {"0e999999999999", "0"}, {"1e400", "#6"}};
    for (const auto& row : rows) {
        EXPECT_EQ(outcome([&] { return valOf(QString::fromLatin1(row.input)); }), row.expected) << row.input;
    }
}

TEST(NumericTextRule, RoundsHalvesToEvenWithin32Bits) {
    const Row<double> rows[] = {
        {12.5, "12"}, {13.5, "14"}, {-2.5, "-2"}, {12.51, "13"}, {-0.4, "0"}, {2147483647.4, "2147483647"},
        {-2147483648.5, "-2147483648"}, {2147483647.5, "#6"}, {99999999999, "#6"}, {NAN, "#6"}, {-INFINITY, "#6"}};
    for (const auto& row : rows) {
        EXPECT_EQ(outcome([&] { return roundToLong(row.input); }), row.expected) << row.input;
    }
}

TEST(NumericTextRule, StrictConversionTakesOnlyAWholeNumber) {
    const Row<const char*> rows[] = {
        {" 12 ", "12"}, {"-3", "-3"}, {"12.5", "12"}, {"1.5e1", "15"}, {"\t7", "7"}, {"", "#13"}, {"12A", "#13"},
        {"1 2", "#13"}, {"1e", "#13"}, {".", "#13"}, {"99999999999", "#6"}, {"1e999", "#6"}};
    for (const auto& row : rows) {
        EXPECT_EQ(outcome([&] { return strictLong(QString::fromLatin1(row.input)); }), row.expected) << row.input;
    }
}

TEST(NumericTextRule, GeneralNumberForm) {
    const Row<double> rows[] = {
        {3, "3"}, {36, "36"}, {2.5, "2.5"}, {0, "0"}, {-0.0, "0"}, {-1.25, "-1.25"}, {0.1 + 0.2, "0.3"},
        {1e20, "1E+20"}, {1.5e-7, "1.5E-07"}, {123456789012345, "123456789012345"}, {INFINITY, "#6"}};
    for (const auto& row : rows) {
        EXPECT_EQ(outcome([&] { return generalNumber(row.input); }), row.expected) << row.input;
    }
    EXPECT_EQ(outcome([] { return quantityProduct(1e300, 1e300); }), "#6");
}

TEST(BarcodeRule, DropsOneOfTwoLeadingZerosOfA13CharacterCode) {
    const Row<const char*> rows[] = {
        {"0012345678905", "012345678905"}, {"0012345678905  ", "012345678905  "},
        {" 0012345678905", " 0012345678905"}, {"00123", "00123"}, {"00123456789050", "00123456789050"}};
    for (const auto& row : rows) {
        QString field = QString::fromLatin1(row.input);
        applyBarcodeRule(field);
        EXPECT_EQ(field, row.expected) << row.input;
    }
}
// clang-format on

// A scanner never writes such fields, but a damaged file may: they must read in linear time.
TEST(NumericTextRule, HugeFieldsReadQuickly) {
    QElapsedTimer timer;
    timer.start();
    EXPECT_EQ(outcome([] { return valOf(QString(10'000'000, u'9')); }), "#6");
    EXPECT_EQ(valOf(QStringLiteral("0.") + QString(10'000'000, u'0')), 0);
    EXPECT_FALSE(isNumericText(QString(10'000'000, u'1') + u'x'));
    EXPECT_LT(timer.elapsed(), 10000);
}

}  // namespace
