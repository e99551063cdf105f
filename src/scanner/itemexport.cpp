#include "scanner/itemexport.h"

#include <QDir>
#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <cstring>
#include <memory>
#include <string_view>

#include "imports/numerictext.h"
#include "platform/programerror.h"
#include "platform/recordset.h"
#include "platform/scannerfiles.h"
#include "platform/wholefile.h"
#include "scanner/transferpdtfile.h"
#include "startup/program.h"

namespace {

using scannerfiles::kBarcodeWidth;
using scannerfiles::kDescriptionWidth;
using scannerfiles::kLastFieldWidth;
using scannerfiles::kPriceWidth;
using scannerfiles::kStockIdWidth;
// A record and its line end.
constexpr qint32 kLineWidth = scannerfiles::kItemRecordLength + 2;

const QColor kExportColour(255, 128, 128);

// Room for the largest double in fixed notation with two decimals, and so for any number a record
// holds.
constexpr int kPriceRoom = 400;

// A shop's price in whole cents, the quick way, written as "-12.34": nothing (null) where the
// quick way might round otherwise than the exact value does. Below ten million, a price times 100
// is within a millionth of a cent of its exact value, so it rounds the same way unless it lies
// that close to a half cent: those, and larger prices, are left to the exact conversion.
char* writeCents(char* out, double price) {
    constexpr double kQuickBelow = 1e7;
    constexpr double kCloseToHalf = 1e-6;
    const double cents = price * 100;
    if (!(std::abs(price) < kQuickBelow) ||
        std::abs(std::abs(cents - std::trunc(cents)) - 0.5) < kCloseToHalf) {
        return nullptr;
    }
    const long long whole = std::llround(cents);
    const long long magnitude = whole < 0 ? -whole : whole;
    if (whole < 0 || std::signbit(price)) {
        *out++ = '-';
    }
    out = std::to_chars(out, out + kPriceRoom, magnitude / 100).ptr;
    *out++ = '.';
    *out++ = static_cast<char>('0' + magnitude % 100 / 10);
    *out++ = static_cast<char>('0' + magnitude % 10);
    return out;
}

// The price's characters as the pattern "######.00" renders it, written at `out`; gives the end.
char* writePriceText(char* out, double price) {
    char* end = writeCents(out, price);
    if (end == nullptr) {
        end = std::to_chars(out, out + kPriceRoom, price, std::chars_format::fixed, 2).ptr;
    }
    // The pattern shows no integer digit where the value has none: 0.5 is ".50", -0.5 "-.50".
    char* const digits = out[0] == '-' ? out + 1 : out;
    if (digits[0] == '0') {
        end = std::copy(digits + 1, end, digits);
    }
    // Nor a sign for a value that rounds to nothing.
    if (std::string_view(out, end - out) == "-.00") {
        end = std::copy(out + 1, end, out);
    }
    return end;
}

// A character of a field as the item file holds it. A control character (a line break above all)
// becomes a space, so every record keeps its width and its one line.
constexpr char16_t fieldCharacter(char16_t c) {
    return c < 0x20 || (c >= 0x7F && c < 0xA0) ? u' ' : c;
}

// The byte that the item file holds for each character of Latin-1.
constexpr std::array<char, 256> kFileBytes = [] {
    std::array<char, 256> bytes{};
    for (char16_t c = 0; c < bytes.size(); ++c) {
        bytes[c] = static_cast<char>(fieldCharacter(c));
    }
    return bytes;
}();

// The same rule for a record in the file's bytes, written at `out`, which holds `width` spaces;
// a character beyond Latin-1 is a "?".
void putPadded(char* out, QStringView text, qsizetype width) {
    const char16_t* const characters = text.utf16();
    const qsizetype kept = std::min(text.size(), width);
    for (qsizetype at = 0; at < kept; ++at) {
        const char16_t c = characters[at];
        out[at] = c < kFileBytes.size() ? kFileBytes[c] : '?';
    }
}

// The same rule for a number's characters, which are all ASCII.
void putPadded(char* out, const char* begin, const char* end, qsizetype width) {
    std::copy(begin, begin + std::min<qsizetype>(end - begin, width), out);
}

// The records go to the file a block at a time.
constexpr qsizetype kBlockBytes = 64 * 1024;

// One record per stock row, in stock id order. The two lookup numbers are kept across rows, as the
// lookup fills both for every item. Each record is made from the values where the driver left them.
void writeRecords(Program& program, platform::WholeFile& file) {
    const std::unique_ptr<StockRows> stock = program.shop.openStockRows();
    const QString processing = QStringLiteral("Processing BarCode=");
    QString status = processing;
    QByteArray block;
    block.reserve(kBlockBytes + kLineWidth);
    double lastField = 0;
    double price = 0;
    while (!stock->atEnd()) {
        // A null column is written as an empty field (a null stock id as 0), so one incomplete item
        // never stops the scanner getting the others.
        const qint32 stockId = stock->stockId();
        const QStringView barcode = stock->barcode();
        stock->LookupItemPrice(stockId, lastField, price);
        appendItemLine(block, stockId, barcode, stock->description(), price, lastField);
        if (block.size() >= kBlockBytes) {
            file.write(block);
            block.resize(0);
        }
        program.progress->yield();
        // The status text is made again in place: a headless menu keeps no copy of it.
        status.truncate(processing.size());
        status.append(barcode);
        program.progress->setStatus(status);
        stock->moveNext();
    }
    file.write(block);
    program.progress->setStatus(QStringLiteral("Finished Processing"));
}

}  // namespace

QString itemFilePath(const Program& program) {
    return QDir::toNativeSeparators(program.appPath + QLatin1Char('/') +
                                    QLatin1String(scannerfiles::kItemFile));
}

QString priceText(double price) {
    char digits[kPriceRoom];
    return QString::fromLatin1(digits, writePriceText(digits, price) - digits);
}

void appendItemLine(QByteArray& file, qint32 stockId, QStringView barcode, QStringView description,
                    double price, double lastField) {
    const qsizetype start = file.size();
    file.resize(start + kLineWidth);
    char* out = file.data() + start;
    std::memset(out, ' ', scannerfiles::kItemRecordLength);
    std::memcpy(out + scannerfiles::kItemRecordLength, "\r\n", 2);
    char number[kPriceRoom];
    putPadded(out, number, std::to_chars(number, number + sizeof number, stockId).ptr, kStockIdWidth);
    out += kStockIdWidth;
    putPadded(out, barcode, kBarcodeWidth);
    out += kBarcodeWidth;
    putPadded(out, description, kDescriptionWidth);
    out += kDescriptionWidth;
    putPadded(out, number, writePriceText(number, price), kPriceWidth);
    out += kPriceWidth;
    putPadded(out, number, writeGeneralNumber(number, lastField), kLastFieldWidth);
}

bool writeItemFile(Program& program) {
    program.progress->setBackColour(kExportColour);
    program.modMain.bDownloadItemFile = true;
    program.progress->setBusyPointer(true);
    try {
        platform::WholeFile file(itemFilePath(program), program.files);
        writeRecords(program, file);
        file.commit();
    } catch (const ProgramError& error) {
        program.progress->setBusyPointer(false);
        program.progress->restoreIdleColour();
        program.prompts.notice(errorText(QStringLiteral("Error in Download Item File = "), error));
        return false;
    }
    program.progress->setBusyPointer(false);
    return true;
}

void downloadItemFile(Program& program, const QString& downloadPath, const ScannerPort& port) {
    if (!program.prompts.question(
            QStringLiteral("Do you want to download your RetailManager stock file into your BHT now?"))) {
        return;
    }
    if (writeItemFile(program)) {
        fTransferPDTFile(program, QStringLiteral(" PriceCheck "),
                         {program.modMain.bDownloadItemFile, downloadPath, port});
        program.progress->restoreIdleColour();
    }
}
