#pragma once

#include <QStringView>

// The stock table's rows as the item export reads them: every item, in stock id order, one row at
// a time, each value straight from where the database's driver left it. It stays usable while the
// shop that opened it stays connected. Failures of the database raise ProgramError.
class StockRows {
public:
    virtual ~StockRows() = default;

    // True once every row was read; the values below are then not to be asked for.
    virtual bool atEnd() const = 0;
    virtual void moveNext() = 0;

    // The current row's stock id, barcode and description; a null reads as 0 or as an empty text.
    // A text stays valid until the rows move.
    virtual qint32 stockId() const = 0;
    virtual QStringView barcode() const = 0;
    virtual QStringView description() const = 0;

    // The shop data object's price lookup, made through the rows: fills the item's quantity factor
    // (the item record's last field) and its price, both 0 when the item is unknown. The current
    // row answers for its own item, as it was read, so that the export reads the stock table once;
    // any other item is read from the database.
    virtual void LookupItemPrice(qint32 stockId, double& lastField, double& price) = 0;
};
