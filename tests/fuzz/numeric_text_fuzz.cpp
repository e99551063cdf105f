#include <optional>

#include "fuzzharness.h"
#include "imports/numerictext.h"

namespace {

// Runs `step`; a ProgramError it raises must be Overflow, or `expected` when given. Gives whether
// it returned.
template <typename Step>
bool returns(Step step, const char* property, int expected = errnum::Overflow) {
    try {
        step();
        return true;
    } catch (const ProgramError& error) {
        fuzzCheck(error.number() == expected, property);
        return false;
    }
}

// valOf gives a number or raises Overflow, never an infinity or NaN.
std::optional<double> readNumber(const QString& text) {
    double value = 0;
    if (!returns([&] { value = valOf(text); }, "the numeric text rule raises only Overflow")) {
        return std::nullopt;
    }
    fuzzCheck(std::isfinite(value), "the numeric text rule gives a finite number");
    return value;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QString text = QString::fromUtf8(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    // strictLong takes exactly the texts that are numeric, and raises Overflow for those too large.
    const bool numeric = isNumericText(text);
    const bool taken = returns([&] { strictLong(text); },
                               "the strict conversion refuses other text as a type mismatch, "
                               "too large a number as overflow",
                               numeric ? errnum::Overflow : errnum::TypeMismatch);
    fuzzCheck(numeric || !taken, "the strict conversion takes only numeric text");
    const std::optional<double> value = readNumber(text);
    if (!value) {
        return 0;
    }
    // The general number form reads back as the same number to its 15 significant digits; only the
    // very largest doubles round up past the range.
    const std::optional<double> back = readNumber(generalNumber(*value));
    fuzzCheck(back ? std::fabs(*back - *value) <= 1e-14 * std::fabs(*value) + 1e-300
                   : std::fabs(*value) > 1.79769313486231e308,
              "the general number form reads back as its number");
    qint32 whole = 0;
    if (returns([&] { whole = roundToLong(*value); }, "rounding raises only Overflow")) {
        fuzzCheck(std::fabs(whole - *value) <= 0.5, "rounding moves a number by at most a half");
    } else {
        fuzzCheck(std::fabs(*value) >= 2147483647.5, "rounding raises Overflow only beyond 32 bits");
    }
    double product = 0;
    if (returns([&] { product = quantityProduct(*value, *value); }, "a product too large raises Overflow")) {
        fuzzCheck(std::isfinite(product), "a product is a number or Overflow");
    }
    return 0;
}
