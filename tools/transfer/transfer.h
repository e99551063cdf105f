#pragma once

#include <QString>

// The two transfers between the PC and the scanner's memory; each raises scanner::Failure with
// the reason when it cannot be done.

// Sends the item file at `path` after checking every record against `fieldWidths` ("5,15,40,9,5");
// the scanner keeps it as its item file.
void sendItemFile(const QString& path, const QString& fieldWidths);

// Writes the upload that the scanner holds under the name of `path`'s file (Stock.dat,
// Orders.dat or Goods.dat) to `path`.
void receiveUpload(const QString& path);
