#pragma once

#include <QByteArray>
#include <QString>
#include <QStringView>

#include "scanner/transferpdtfile.h"

struct Program;

// The item file export behind "Download RM &Item File": rmItems.dat from the stock table, sent to
// the scanner for price checks.

// The price as the pattern "######.00" renders it: no leading zeros, two decimals, a leading
// minus sign for a negative value (0 gives ".00").
QString priceText(double price);

// Appends one line of the item file, a 74-character record and CR LF, in the file's bytes:
// Latin-1, with "?" for a character that Latin-1 lacks.
void appendItemLine(QByteArray& file, qint32 stockId, QStringView barcode, QStringView description,
                    double price, double lastField);

// Where the item file is written: rmItems.dat in the program's folder.
QString itemFilePath(const Program& program);

// Writes rmItems.dat in the program's folder from the stock table, showing progress on the menu;
// false (after a message, with the form's colour and pointer restored and any old item file left
// as it was) when it could not be written whole.
bool writeItemFile(Program& program);

// The click of "Download RM &Item File": asks, writes the item file and sends it to the scanner on
// `port`, recording the download path box's `downloadPath` as every transfer does.
void downloadItemFile(Program& program, const QString& downloadPath, const ScannerPort& port);
