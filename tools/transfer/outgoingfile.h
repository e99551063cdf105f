#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

#include "fileprotocol.h"

// A file made ready to go over the line: its heading and its records.
struct OutgoingFile {
    fileprotocol::Heading heading;
    QList<QByteArray> records;
};

// Reads the file at `path` whole, splits it into records at CR LF and heads it with its scanner
// name and the field lengths `fieldWidths` lists ("5,15,40,9,5"). Raises scanner::Failure, in a
// line that says what to do, when the scanner could not take it: a name that is not 8.3, too many
// records, a field list past the heading's limits, or a record that does not fit the fields.
OutgoingFile readOutgoingFile(const QString& path, const QString& fieldWidths);
