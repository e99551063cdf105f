#pragma once

#include <QString>
#include <string>

#include "platform/odbcregistry.h"

// The demo shop: a small, always identical shop database for trying the program and for tests,
// the same in an SQLite file and on a PostgreSQL server.
namespace demoshop {

// The most items a demo shop can hold: item numbers fill nine digits of the barcode.
inline constexpr long kMaxItems = 999'999'999;

// The EAN-13 check digit of the first twelve digits of a barcode.
char eanCheckDigit(const std::string& twelveDigits);

// The barcode of demo item `item`: "931", the item number in nine digits, and the check digit.
std::string demoBarcode(long item);

// Writes a new demo shop database file with `items` items at `path`, replacing any file there.
// Throws std::runtime_error with a one-line reason when the database cannot be written.
void writeDemoShopFile(const QString& path, long items);

// Makes the shop tables of a database on a PostgreSQL server anew, with the demo shop's rows,
// in one transaction: the old tables stay as they were when it fails. Throws std::runtime_error
// with a one-line reason when the database cannot be written.
void writeDemoShopOnServer(const platform::ServerAddress& server, long items);

}  // namespace demoshop
