#include "menu/itemexport.h"

#include <QDir>
#include <charconv>

#include "imports/numerictext.h"
#include "outside/programerror.h"
#include "platform/recordset.h"
#include "platform/wholefile.h"
#include "scanner/scannerfiles.h"
#include "scanner/transferpdtfile.h"
#include "startup/modmain.h"

namespace {

// The field widths of a record; the transfer utility's "/f5,15,40,9,5" list must agree.
constexpr qint32 kStockIdWidth = 5;
constexpr qint32 kBarcodeWidth = 15;
constexpr qint32 kDescriptionWidth = 40;
constexpr qint32 kPriceWidth = 9;
constexpr qint32 kLastFieldWidth = 5;
constexpr qint32 kRecordWidth =
    kStockIdWidth + kBarcodeWidth + kDescriptionWidth + kPriceWidth + kLastFieldWidth;

const QColor kExportColour(255, 128, 128);

// Appends the text followed by spaces to `width` characters, cut to its first `width` characters:
// the one rule of a field's width, which fPadItem gives as a text of its own. A control character
// (a line break above all) becomes a space, so every record keeps its width and its one line.
void appendPadded(QString& record, QStringView text, qsizetype width) {
    const QStringView kept = text.left(width);
    const qsizetype start = record.size();
    record.append(kept);
    for (qsizetype at = start; at < record.size(); ++at) {
        const char16_t c = record.at(at).unicode();
        if (c < 0x20 || (c >= 0x7F && c < 0xA0)) {
            record[at] = QLatin1Char(' ');
        }
    }
    record.resize(start + width, QLatin1Char(' '));
}

QString itemFilePath(const ModMain& modMain) {
    return QDir::toNativeSeparators(modMain.appPath + QLatin1Char('/') +
                                    QLatin1String(scannerfiles::kItemFile));
}

void writeLine(platform::WholeFile& file, const QString& record) {
    file.write(record.toLatin1() + "\r\n");
}

// One record per stock row, in stock_id order. The two lookup numbers are kept across rows, as the
// lookup fills both for every item.
void writeRecords(ModMain& modMain, platform::WholeFile& file) {
    platform::Recordset stock;
    stock.open(QStringLiteral("select * from stock order by stock_id"), modMain.shop.GetConnection());
    double lastField = 0;
    double price = 0;
    while (!stock.eof()) {
        // A null column is written as an empty field (a null stock id as 0), so one incomplete item
        // never stops the scanner getting the others.
        const qint32 stockId = stock.field(QStringLiteral("stock_id")).toInt();
        const QString barcode = stock.field(QStringLiteral("BarCode")).toString();
        const QString description = stock.field(QStringLiteral("Description")).toString();
        modMain.shop.LookupItemPrice(stockId, lastField, price);
        writeLine(file, itemRecord(QString::number(stockId), barcode, description, price, lastField));
        modMain.menu->yield();
        modMain.menu->setStatus(QStringLiteral("Processing BarCode=") + barcode);
        stock.moveNext();
    }
    stock.close();
    modMain.menu->setStatus(QStringLiteral("Finished Processing"));
}

}  // namespace

QString fPadItem(ModMain& modMain, const QString& text, qint32 width) {
    if (width < 0) {
        modMain.prompts.notice(
            errorText(QStringLiteral("Error in Padding sItems ="),
                      ProgramError(5, QStringLiteral("Invalid procedure call or argument"))));
        return QString();
    }
    QString padded;
    appendPadded(padded, text, width);
    return padded;
}

QString priceText(double price) {
    char digits[400];  // room for the largest double in fixed notation
    const auto end = std::to_chars(digits, digits + sizeof digits, price, std::chars_format::fixed, 2).ptr;
    QString text = QString::fromLatin1(digits, end - digits);
    // The pattern shows no integer digit where the value has none: 0.5 is ".50", -0.5 "-.50".
    if (text.startsWith(QLatin1String("0."))) {
        text.remove(0, 1);
    } else if (text.startsWith(QLatin1String("-0."))) {
        text.remove(1, 1);
    }
    return text == QLatin1String("-.00") ? QStringLiteral(".00") : text;
}

// The widths are the record's own, never negative, so each field is padded in place.
QString itemRecord(const QString& stockId, const QString& barcode, const QString& description, double price,
                   double lastField) {
    QString record;
    record.reserve(kRecordWidth);
    appendPadded(record, stockId, kStockIdWidth);
    appendPadded(record, barcode, kBarcodeWidth);
    appendPadded(record, description, kDescriptionWidth);
    appendPadded(record, priceText(price), kPriceWidth);
    appendPadded(record, generalNumber(lastField), kLastFieldWidth);
    return record;
}

bool writeItemFile(ModMain& modMain) {
    modMain.menu->setBackColour(kExportColour);
    modMain.bDownloadItemFile = true;
    modMain.menu->setBusyPointer(true);
    try {
        platform::WholeFile file(itemFilePath(modMain), modMain.files);
        writeRecords(modMain, file);
        file.commit();
    } catch (const ProgramError& error) {
        modMain.menu->setBusyPointer(false);
        modMain.menu->restoreIdleColour();
        modMain.prompts.notice(errorText(QStringLiteral("Error in Download Item File = "), error));
        return false;
    }
    modMain.menu->setBusyPointer(false);
    return true;
}

void downloadItemFile(ModMain& modMain) {
    if (!modMain.prompts.question(
            QStringLiteral("Do you want to download your RetailManager stock file into your BHT now?"))) {
        return;
    }
    if (writeItemFile(modMain)) {
        fTransferPDTFile(modMain, QStringLiteral(" PriceCheck "));
        modMain.menu->restoreIdleColour();
    }
}
