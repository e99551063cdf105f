#pragma once

#include <QList>
#include <QSqlDatabase>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <memory>
#include <optional>
#include <utility>

// Recordsets read through ODBC on the program's Qt SQL connections.
namespace platform {

class BoundBlock;

// A forward-only, read-only recordset over one SQL text, read from the first row to the end,
// fields by name. Failures raise ProgramError with the driver's text.
//
// It reads through the ODBC interface itself, on the handle of the Qt SQL connection: the item
// export reads every row of the stock table, and Qt's per-value work (a variant and its buffers
// for every value) costs more than the driver's own fetch. Each value is read by its column's
// type: whole and decimal numbers as numbers, binary columns as bytes, anything else as text,
// which crosses the interface as UTF-16 whatever the locale, or narrow on a connection that has a
// reading of narrow text (see platform::setNarrowTextReader).
class Recordset {
public:
    Recordset();
    Recordset(const Recordset&) = delete;
    Recordset& operator=(const Recordset&) = delete;
    ~Recordset();

    // Opens the recordset over the SQL text. A reader that knows which columns it will ask for names
    // them in `read`, and only those are fetched: the item export reads five of the stock table's
    // seven, on every row. The others are then as good as absent. Empty: every column.
    void open(const QString& sql, const QSqlDatabase& connection, const QStringList& read = {});
    bool eof() const { return eof_; }
    void moveNext();
    // The field's value in the current row; null stays a null QVariant.
    QVariant field(const QString& name) const;
    // The column of that name, in any case, for the readers by position below; -1 for none.
    qsizetype columnOf(const QString& name) const { return columnIndex(name); }
    // The current row's value in a column, without a variant where the columns are bound: a reader
    // of every row (the item export) takes its values so. A null reads as 0 or as an empty text;
    // other values convert as a variant converts them. A text stays valid until the recordset moves.
    qint64 wholeAt(qsizetype column) const;
    double numberAt(qsizetype column) const;
    QStringView textAt(qsizetype column) const;
    void close();

private:
    struct Column {
        QString name;
        short type = 0;
        // The declared length of a text, in characters.
        qulonglong size = 0;
        // False for a column that the reader said it will not ask for.
        bool read = true;
    };
    qsizetype columnIndex(const QString& name) const;
    QVariant readColumn(qsizetype index) const;
    // The current row's value in a column; raises ProgramError at the end or for a column it lacks.
    QVariant valueAt(qsizetype index) const;
    void checkRow(qsizetype index) const;

    void* statement_ = nullptr;
    QList<Column> columns_;
    // The column index of each name asked for so far; -1 for a name that no column has.
    mutable QList<std::pair<QString, qsizetype>> asked_;
    // The current row's values read so far, by column: each is read once.
    mutable QList<std::optional<QVariant>> values_;
    // The current row's values made into text for textAt, where the driver gave none to point at.
    mutable QList<std::optional<QString>> texts_;
    // True when the driver reads a row's columns in any order, not only one after another.
    bool anyOrder_ = false;
    // The block of rows fetched at once, where the columns can be bound.
    std::unique_ptr<BoundBlock> block_;
    bool eof_ = true;
};

}  // namespace platform
