#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <cmath>

#include "imports/numerictext.h"
#include "mocks.h"

namespace {

// The error number a conversion raises, 0 when it raises none.
template <typename Conversion>
int errorOf(Conversion conversion) {
    try {
        conversion();
    } catch (const ProgramError& error) {
        return error.number();
    }
    return 0;
}

TEST(NumericTextRule, ReadsTheLeadingNumberOfAField) {
    const struct {
        const char* text;
        double value;
    } cases[] = {
        {"57", 57},        {" 1 2\t3\n4", 1234},
        {"-2.5", -2.5},    {"+.5", 0.5},
        {"- 7", -7},       {"12A", 12},
        {"1.2.3", 1.2},    {"1,5", 1},
        {"1e3", 1000},     {"2D2", 200},
        {"1.5E-1x", 0.15}, {"3e", 3},
        {"3e+", 3},        {"&H1F", 31},
        {"&o17", 15},      {"&HG", 0},
        {"&", 0},          {"abc", 0},
        {"", 0},           {".", 0},
        {"-", 0},          {"7.", 7},
        {"--5", 0},        {"1\r2", 1},
        {"1e-400", 0},     {"0e999999999999", 0},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(valOf(QString::fromLatin1(c.text)), c.value) << c.text;
    }
    EXPECT_EQ(errorOf([] { valOf(QStringLiteral("1e400")); }), errnum::Overflow);
    EXPECT_EQ(errorOf([] { valOf(QStringLiteral("&H") + QString(300, u'F')); }), errnum::Overflow);
}

TEST(NumericTextRule, RoundsHalvesToEvenWithin32Bits) {
    const struct {
        double value;
        qint32 whole;
        int error;
    } cases[] = {
        {12.5, 12, 0},
        {13.5, 14, 0},
        {-2.5, -2, 0},
        {12.51, 13, 0},
        {-0.4, 0, 0},
        {2147483647.4, 2147483647, 0},
        {-2147483648.5, -2147483648, 0},
        {2147483647.5, 0, errnum::Overflow},
        {99999999999, 0, errnum::Overflow},
        {NAN, 0, errnum::Overflow},
        {INFINITY, 0, errnum::Overflow},
    };
    for (const auto& c : cases) {
        qint32 whole = 0;
        EXPECT_EQ(errorOf([&] { whole = roundToLong(c.value); }), c.error) << c.value;
        EXPECT_EQ(whole, c.whole) << c.value;
    }
}

TEST(NumericTextRule, StrictConversionTakesOnlyAWholeNumber) {
    const struct {
        const char* text;
        qint32 whole;
        int error;
    } cases[] = {
        {" 12 ", 12, 0},
        {"-3", -3, 0},
        {"12.5", 12, 0},
        {"1.5e1", 15, 0},
        {"\t7", 7, 0},
        {"", 0, errnum::TypeMismatch},
        {"12A", 0, errnum::TypeMismatch},
        {"1 2", 0, errnum::TypeMismatch},
        {"1e", 0, errnum::TypeMismatch},
        {".", 0, errnum::TypeMismatch},
        {"99999999999", 0, errnum::Overflow},
        {"1e999", 0, errnum::Overflow},
    };
    for (const auto& c : cases) {
        qint32 whole = 0;
        EXPECT_EQ(errorOf([&] { whole = strictLong(QString::fromLatin1(c.text)); }), c.error) << c.text;
        EXPECT_EQ(whole, c.whole) << c.text;
    }
}

TEST(NumericTextRule, GeneralNumberForm) {
    const struct {
        double value;
        const char* text;
    } cases[] = {
        {3, "3"},
        {36, "36"},
        {2.5, "2.5"},
        {0, "0"},
        {-0.0, "0"},
        {-1.25, "-1.25"},
        {0.1 + 0.2, "0.3"},
        {1e20, "1E+20"},
        {1.5e-7, "1.5E-07"},
        {123456789012345, "123456789012345"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(generalNumber(c.value), QLatin1String(c.text)) << c.text;
    }
    EXPECT_EQ(errorOf([] { generalNumber(INFINITY); }), errnum::Overflow);
    EXPECT_EQ(errorOf([] { quantityProduct(1e300, 1e300); }), errnum::Overflow);
}

TEST(BarcodeRule, DropsOneOfTwoLeadingZerosOfA13CharacterCode) {
    const struct {
        const char* field;
        const char* result;
    } cases[] = {
        {"0012345678905", "012345678905"},    {"0012345678905  ", "012345678905  "},
        {" 0012345678905", " 0012345678905"}, {"00123", "00123"},
        {"9310012345678", "9310012345678"},   {"00123456789050", "00123456789050"},
    };
    for (const auto& c : cases) {
        QString field = QString::fromLatin1(c.field);
        applyBarcodeRule(field);
        EXPECT_EQ(field, QLatin1String(c.result)) << c.field;
    }
}

// A scanner never writes such fields, but a damaged file may: they must read in linear time.
TEST(NumericTextRule, HugeFieldsReadQuickly) {
    QElapsedTimer timer;
    timer.start();
    EXPECT_EQ(errorOf([] { valOf(QString(10'000'000, u'9')); }), errnum::Overflow);
    EXPECT_EQ(valOf(QStringLiteral("0.") + QString(10'000'000, u'0')), 0);
    EXPECT_FALSE(isNumericText(QString(10'000'000, u'1') + u'x'));
    EXPECT_LT(timer.elapsed(), 5000);
}

}  // namespace
