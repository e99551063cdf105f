#pragma once

#include <QString>

// The two transfers when the scanner's memory is a folder: the simulator's (PDT_SIM_DIR), or a
// scanner that shows up as a USB drive and keeps its files there. Each raises scanner::Failure
// with the reason when it cannot be done.

// A folder that stands for the scanner's memory, and whether it is the simulator's.
struct ScannerFolder {
    QString path;
    bool simulated = false;
};

// Copies the item file at `path` into `folder` after checking every record against `fieldWidths`
// ("5,15,40,9,5").
void sendItemFileToFolder(const QString& path, const QString& fieldWidths, const ScannerFolder& folder);

// Copies the upload that `folder` holds under the name of `path`'s file (Stock.dat, Orders.dat or
// Goods.dat) to `path`.
void receiveUploadFromFolder(const QString& path, const ScannerFolder& folder);
