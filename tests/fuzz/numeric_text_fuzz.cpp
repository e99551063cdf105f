#include <cmath>
#include <optional>

#include "fuzzcheck.h"
#include "imports/numerictext.h"
#include "platform/programerror.h"

namespace {

// valOf gives a number or raises Overflow, never an infinity or NaN.
std::optional<double> readNumber(const QString& text) {
    try {
        const double value = valOf(text);
        fuzzCheck(std::isfinite(value), "the numeric text rule gives a finite number");
        return value;
    } catch (const ProgramError& error) {
        fuzzCheck(error.number() == errnum::Overflow, "the numeric text rule raises only Overflow");
        return std::nullopt;
    }
}

// strictLong takes exactly the texts that are numeric, and raises Overflow for those too large.
void checkStrictConversion(const QString& text) {
    const bool numeric = isNumericText(text);
    try {
        strictLong(text);
        fuzzCheck(numeric, "the strict conversion takes only numeric text");
    } catch (const ProgramError& error) {
        fuzzCheck(
            error.number() == (numeric ? errnum::Overflow : errnum::TypeMismatch),
            "the strict conversion refuses other text as a type mismatch, too large a number as overflow");
    }
}

// The general number form reads back as the same number to its 15 significant digits; only the
// very largest doubles round up past the range.
void checkGeneralNumber(double value) {
    const std::optional<double> back = readNumber(generalNumber(value));
    if (!back) {
        fuzzCheck(std::fabs(value) > 1.79769313486231e308, "the general number form reads back");
        return;
    }
    fuzzCheck(std::fabs(*back - value) <= 1e-14 * std::fabs(value) + 1e-300,
              "the general number form reads back as its number");
}

void checkRounding(double value) {
    try {
        const qint32 whole = roundToLong(value);
        fuzzCheck(std::fabs(whole - value) <= 0.5, "rounding moves a number by at most a half");
    } catch (const ProgramError& error) {
        fuzzCheck(error.number() == errnum::Overflow && std::fabs(value) >= 2147483647.5,
                  "rounding raises Overflow only beyond 32 bits");
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QString text = QString::fromUtf8(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    checkStrictConversion(text);
    const std::optional<double> value = readNumber(text);
    if (!value) {
        return 0;
    }
    checkGeneralNumber(*value);
    checkRounding(*value);
    try {
        fuzzCheck(std::isfinite(quantityProduct(*value, *value)), "a product is a number or Overflow");
    } catch (const ProgramError& error) {
        fuzzCheck(error.number() == errnum::Overflow, "a product too large raises Overflow");
    }
    return 0;
}
