#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

#include "fileprotocol.h"

// The upload a receive asks for: which of the scanner's files it is, and the file the received
// records make.

// The name the scanner keeps the upload under that `path` names (STOCK.DAT for .../Stock.dat);
// raises scanner::Failure when `path`'s file is not Stock.dat, Orders.dat or Goods.dat.
QByteArray wantedUploadName(const QString& path);

// Writes `records`, received under `heading`, to `path` whole: each one a line of its fields
// joined by commas, ending with CR LF. Raises scanner::Failure when it cannot.
void writeUpload(const QString& path, const fileprotocol::Heading& heading, const QList<QByteArray>& records);
