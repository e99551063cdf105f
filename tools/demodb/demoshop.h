#pragma once

#include <string>

// The demo shop: a small, always identical shop database for trying the program and for tests.
namespace demoshop {

// The most items a demo shop can hold: item numbers fill nine digits of the barcode.
inline constexpr long kMaxItems = 999'999'999;

// The EAN-13 check digit of the first twelve digits of a barcode.
char eanCheckDigit(const std::string& twelveDigits);

// The barcode of demo item `item`: "931", the item number in nine digits, and the check digit.
std::string demoBarcode(long item);

// Writes a new demo shop database with `items` items at `path`, replacing any file there.
// Throws std::runtime_error with a one-line reason when the database cannot be written.
void writeDemoShop(const std::string& path, long items);

}  // namespace demoshop
