#pragma once

#include <QString>

#include "startup/blanks.h"

// How the upload records' fields are read as numbers and barcodes; the other commands use the
// same rules.

// The numeric text rule: blanks, tabs and line feeds anywhere are ignored; a leading number
// (sign, digits, fraction, exponent E or D, or &H / &O whole numbers) is read, "." always the
// decimal point; reading stops at the first character that cannot continue the number; text that
// does not begin with a number gives 0. Raises ProgramError "Overflow" for a number beyond the
// range of a double.
double valOf(const QString& text);

// Rounds to the nearest whole number, halves to the even neighbour; raises ProgramError
// "Overflow" when the result does not fit in 32 bits signed (or the value is not a number).
qint32 roundToLong(double value);

// True when the whole text, blanks around it allowed, is a number: optional sign, digits,
// optional fraction, optional exponent.
bool isNumericText(const QString& text);

// The strict conversion: the whole text must be a number (raises ProgramError "Type mismatch"
// otherwise), rounded as roundToLong.
qint32 strictLong(const QString& text);

// The general number form: at most 15 significant digits, no trailing zeros or point (3, 2.5, 0),
// exponent form with a capital E for very large or small values (1E+20). Raises ProgramError
// "Overflow" for an infinite or undefined value.
QString generalNumber(double value);

// The general number form's characters written at `out`, which has room for kGeneralNumberRoom of
// them; gives the end. The item export writes its records so, with no text made for each value.
constexpr int kGeneralNumberRoom = 32;
char* writeGeneralNumber(char* out, double value);

// A quantity times its factor; raises ProgramError "Overflow" when the product is beyond the
// range of a double.
double quantityProduct(double quantity, double factor);

// The barcode rule: a field that is 13 characters once trimmed and, as it stands, begins with
// "00" loses its first character.
void applyBarcodeRule(QString& field);
