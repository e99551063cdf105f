#include "imports/numerictext.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>
#include <string>
#include <string_view>

#include "platform/programerror.h"

namespace {

ProgramError overflow() {
    return ProgramError(errnum::Overflow, QStringLiteral("Overflow"));
}

// ASCII digits only: the scanner writes no other script's digits, and QChar::isDigit would take them.
bool isDigit(QChar c) {
    return c >= u'0' && c <= u'9';
}

bool isSign(QChar c) {
    return c == u'+' || c == u'-';
}

// D is the exponent letter of a double-precision literal and reads the same as E.
bool isExponentLetter(QChar c) {
    return c == u'E' || c == u'e' || c == u'D' || c == u'd';
}

int digitValue(QChar c, int radix) {
    int digit = radix;
    if (isDigit(c)) {
        digit = c.unicode() - u'0';
    } else if (c >= u'a' && c <= u'f') {
        digit = c.unicode() - u'a' + 10;
    } else if (c >= u'A' && c <= u'F') {
        digit = c.unicode() - u'A' + 10;
    }
    return digit < radix ? digit : -1;
}

bool isIgnored(char16_t c) {
    return c == u' ' || c == u'\t' || c == u'\n';
}

// Walks a field the way the numeric text rule reads it: blanks, tabs and line feeds are passed over
// wherever they stand. Runs of digits are gathered in one tight loop over the characters, so that
// even a field of millions of characters reads quickly.
class NumberCursor {
public:
    explicit NumberCursor(const QString& text)
        : pos_(reinterpret_cast<const char16_t*>(text.constData())), end_(pos_ + text.size()) {
        skipIgnored();
    }

    QChar peek() const { return pos_ < end_ ? QChar(*pos_) : QChar(); }
    void next() {
        ++pos_;
        skipIgnored();
    }

    // Appends the digits that follow to `literal` and gives their number.
    qsizetype takeDigits(std::string& literal) {
        const std::size_t start = literal.size();
        literal.resize(start + static_cast<std::size_t>(end_ - pos_));
        char* out = literal.data() + start;
        for (; pos_ < end_; ++pos_) {
            if (*pos_ >= u'0' && *pos_ <= u'9') {
                *out++ = static_cast<char>(*pos_);
            } else if (!isIgnored(*pos_)) {
                break;
            }
        }
        literal.resize(static_cast<std::size_t>(out - literal.data()));
        return static_cast<qsizetype>(literal.size() - start);
    }

private:
    void skipIgnored() {
        while (pos_ < end_ && isIgnored(*pos_)) {
            ++pos_;
        }
    }

    const char16_t* pos_;
    const char16_t* end_;
};

// The whole number after &H or &O.
double radixValue(NumberCursor& cursor, int radix) {
    double value = 0;
    for (int digit = digitValue(cursor.peek(), radix); digit >= 0; digit = digitValue(cursor.peek(), radix)) {
        value = value * radix + digit;
        cursor.next();
    }
    if (std::isinf(value)) {
        throw overflow();
    }
    return value;
}

// Exponent digits are read up to a bound far past any double's range, so that a field of
// millions of digits cannot overflow the count.
qint64 exponentValue(NumberCursor& cursor) {
    constexpr qint64 bound = 1'000'000'000;
    bool negative = false;
    if (isSign(cursor.peek())) {
        negative = cursor.peek() == u'-';
        cursor.next();
    }
    std::string digits;
    cursor.takeDigits(digits);
    qint64 exponent = 0;
    for (const char digit : digits) {
        exponent = std::min(bound, exponent * 10 + (digit - '0'));
    }
    return negative ? -exponent : exponent;
}

// The power of ten of the leading significant digit of integer digits `whole` and fraction digits
// `fraction` (0 when all are zero): it tells a number too large for a double from one too small.
qint64 leadingOrder(std::string_view whole, std::string_view fraction) {
    const std::size_t wholeLead = whole.find_first_not_of('0');
    if (wholeLead != std::string_view::npos) {
        return static_cast<qint64>(whole.size() - wholeLead) - 1;
    }
    const std::size_t fractionLead = fraction.find_first_not_of('0');
    return fractionLead == std::string_view::npos ? 0 : -static_cast<qint64>(fractionLead) - 1;
}

// A decimal number: the digits are gathered into a plain literal that std::from_chars reads the
// same way on every locale.
double decimalValue(NumberCursor& cursor) {
    std::string literal;
    if (isSign(cursor.peek())) {
        literal += cursor.peek() == u'-' ? "-" : "";
        cursor.next();
    }
    literal += '0';  // from_chars wants a digit before the point
    const std::size_t wholeStart = literal.size();
    const qsizetype wholeDigits = cursor.takeDigits(literal);
    qsizetype fractionDigits = 0;
    if (cursor.peek() == u'.') {
        literal += '.';
        cursor.next();
        fractionDigits = cursor.takeDigits(literal);
    }
    if (wholeDigits + fractionDigits == 0) {
        return 0;
    }
    const std::string_view digits(literal);
    const std::string_view fraction =
        fractionDigits > 0 ? digits.substr(wholeStart + wholeDigits + 1) : std::string_view();
    qint64 order = leadingOrder(digits.substr(wholeStart, wholeDigits), fraction);
    if (isExponentLetter(cursor.peek())) {
        cursor.next();
        const qint64 exponent = exponentValue(cursor);
        order += exponent;
        literal += 'e' + std::to_string(exponent);
    }
    double value = 0;
    const auto result = std::from_chars(literal.data(), literal.data() + literal.size(), value);
    if (result.ec == std::errc::result_out_of_range) {
        if (order > 0) {
            throw overflow();
        }
        return 0;
    }
    return value;
}

}  // namespace

double valOf(const QString& text) {
    NumberCursor cursor(text);
    if (cursor.peek() != u'&') {
        return decimalValue(cursor);
    }
    cursor.next();
    const QChar radixLetter = cursor.peek().toUpper();
    if (radixLetter != u'H' && radixLetter != u'O') {
        return 0;
    }
    cursor.next();
    return radixValue(cursor, radixLetter == u'H' ? 16 : 8);
}

qint32 roundToLong(double value) {
    // Also turns away NaN and the infinities, which compare false.
    if (!(std::fabs(value) < 2147483649.0)) {
        throw overflow();
    }
    double whole = std::floor(value);
    const double rest = value - whole;
    if (rest > 0.5 || (rest == 0.5 && std::fmod(whole, 2.0) != 0)) {
        whole += 1;
    }
    if (whole < std::numeric_limits<qint32>::min() || whole > std::numeric_limits<qint32>::max()) {
        throw overflow();
    }
    return static_cast<qint32>(whole);
}

bool isNumericText(const QString& text) {
    const char16_t* pos = reinterpret_cast<const char16_t*>(text.constData());
    const char16_t* const end = pos + text.size();
    const auto skipBlanks = [&] {
        while (pos < end && (*pos == u' ' || *pos == u'\t')) {
            ++pos;
        }
    };
    const auto skipSign = [&] { pos += pos < end && (*pos == u'+' || *pos == u'-') ? 1 : 0; };
    const auto digitRun = [&] {
        const char16_t* const start = pos;
        while (pos < end && *pos >= u'0' && *pos <= u'9') {
            ++pos;
        }
        return pos - start;
    };
    skipBlanks();
    skipSign();
    qsizetype digits = digitRun();
    if (pos < end && *pos == u'.') {
        ++pos;
        digits += digitRun();
    }
    if (digits == 0) {
        return false;
    }
    if (pos < end && isExponentLetter(*pos)) {
        ++pos;
        skipSign();
        if (digitRun() == 0) {
            return false;
        }
    }
    skipBlanks();
    return pos == end;
}

qint32 strictLong(const QString& text) {
    if (!isNumericText(text)) {
        throw ProgramError(errnum::TypeMismatch, QStringLiteral("Type mismatch"));
    }
    return roundToLong(valOf(text));
}

QString generalNumber(double value) {
    char buffer[kGeneralNumberRoom];
    return QString::fromLatin1(buffer, writeGeneralNumber(buffer, value) - buffer);
}

char* writeGeneralNumber(char* out, double value) {
    if (!std::isfinite(value)) {
        throw overflow();
    }
    if (value == 0) {
        *out = '0';  // also for -0, which a zero factor gives for a negative quantity
        return out + 1;
    }
    // A whole number of at most 15 digits is its digits in the general form too; writing them as a
    // whole number is the quick way for the quantity factors of a whole stock table.
    constexpr double kWholeDigitsBelow = 1e15;
    if (std::abs(value) < kWholeDigitsBelow && value == std::trunc(value)) {
        return std::to_chars(out, out + kGeneralNumberRoom, static_cast<long long>(value)).ptr;
    }
    char* const end = std::to_chars(out, out + kGeneralNumberRoom, value, std::chars_format::general, 15).ptr;
    std::replace(out, end, 'e', 'E');
    return end;
}

double quantityProduct(double quantity, double factor) {
    const double product = quantity * factor;
    if (!std::isfinite(product)) {
        throw overflow();
    }
    return product;
}

void applyBarcodeRule(QString& field) {
    if (trimBlanks(field).size() == 13 && field.startsWith(QLatin1String("00"))) {
        field.remove(0, 1);
    }
}
