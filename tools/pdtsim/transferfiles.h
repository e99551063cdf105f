#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

#include "fileprotocol.h"

// The scanner memory's side of a transfer over the serial line: where a received file is kept, and
// an upload laid out as the records the scanner sends.

// An upload ready to send: its heading and one record per line.
struct UploadOffer {
    fileprotocol::Heading heading;
    QList<QByteArray> records;
};

// Keeps a received file in the scanner's memory, each record followed by CR LF, under the name the
// memory uses for it; returns that name. Raises scanner::Failure when it cannot be written.
QString storeReceivedFile(const fileprotocol::Heading& heading, const QList<QByteArray>& records);

// True when the scanner's memory holds the upload kept as `fileName`.
bool holdsUpload(const QString& fileName);

// The upload kept as `fileName`, each line a record of one field as wide as the longest line.
// Raises scanner::Failure when it cannot be read or does not fit into one transfer.
UploadOffer readUploadOffer(const QString& fileName);
