#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QVariant>
#include <cmath>

#include "imports/numerictext.h"
#include "platform/programerror.h"

// Checks each input's result as text, or "#" and the number of the error that it raises.
template <typename Input, typename Conversion>
void expectOutcomes(Conversion convert, std::initializer_list<std::pair<Input, const char*>> rows) {
    for (const auto& [input, expected] : rows) {
        QString outcome;
        try {
            outcome = QVariant::fromValue(convert(input)).toString();
        } catch (const ProgramError& error) {
            outcome = QStringLiteral("#%1").arg(error.number());
        }
        EXPECT_EQ(outcome, expected) << testing::PrintToString(input);
    }
}

// clang-format off
TEST(FieldRules, ReadRoundAndWriteNumbersAndShortenBarcodes) {
    expectOutcomes<const char*>([](const char* text) { return valOf(QLatin1String(text)); }, {
        {"57", "57"}, {" 1 2\t3\n4", "1234"}, {"-2.5", "-2.5"}, {"+.5", "0.5"}, {"- 7", "-7"}, {"12A", "12"},
        {"1.2.3", "1.2"}, {"1,5", "1"}, {"1\r2", "1"}, {"7.", "7"}, {"1e3", "1000"}, {"2D2", "200"},
        {"1.5E-1x", "0.15"}, {"3e+", "3"}, {"&H1F", "31"}, {"&o17", "15"}, {"&HG", "0"}, {"abc", "0"}, {"", "0"},
        {".", "0"}, {"--5", "0"}, {"1e-400", "0"}, {"0e999999999999", "0"}, {"1e400", "#6"}});
    // Halves go to the even neighbour; a whole number must fit in 32 bits signed.
    expectOutcomes<double>(roundToLong, {
        {12.5, "12"}, {13.5, "14"}, {-2.5, "-2"}, {12.51, "13"}, {-0.4, "0"}, {2147483647.4, "2147483647"},
        {-2147483648.5, "-2147483648"}, {2147483647.5, "#6"}, {99999999999, "#6"}, {NAN, "#6"}, {-INFINITY, "#6"}});
    // The strict conversion takes only a whole number, blanks around it allowed.
    expectOutcomes<const char*>([](const char* text) { return strictLong(QLatin1String(text)); }, {
        {" 12 ", "12"}, {"-3", "-3"}, {"12.5", "12"}, {"1.5e1", "15"}, {"\t7", "7"}, {"", "#13"}, {"12A", "#13"},
        {"1 2", "#13"}, {"1e", "#13"}, {".", "#13"}, {"99999999999", "#6"}, {"1e999", "#6"}});
    expectOutcomes<double>(generalNumber, {
        {3, "3"}, {36, "36"}, {2.5, "2.5"}, {0, "0"}, {-0.0, "0"}, {-1.25, "-1.25"}, {0.1 + 0.2, "0.3"},
        {1e20, "1E+20"}, {1.5e-7, "1.5E-07"}, {123456789012345, "123456789012345"}, {-7, "-7"},
        {1e15, "1E+15"}, {-1e15, "-1E+15"}, {INFINITY, "#6"}});
    expectOutcomes<double>([](double value) { return quantityProduct(value, value); }, {{1e300, "#6"}, {-3, "9"}});
    // The barcode rule drops one of two leading zeros of a 13-character code.
    expectOutcomes<QString>([](QString field) { applyBarcodeRule(field); return field; }, {
        {"0012345678905", "012345678905"}, {"0012345678905  ", "012345678905  "},
        {" 0012345678905", " 0012345678905"}, {"00123", "00123"}, {"00123456789050", "00123456789050"}});
    // clang-format on
    // A scanner never writes such fields, but a damaged file may: they must read in linear time.
    QElapsedTimer timer;
    timer.start();
    expectOutcomes<QString>(valOf,
                            {{QString(10'000'000, u'9'), "#6"}, {"0." + QString(10'000'000, u'0'), "0"}});
    EXPECT_FALSE(isNumericText(QString(10'000'000, u'1') + u'x'));
    EXPECT_LT(timer.elapsed(), 10000);
}
