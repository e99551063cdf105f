#pragma once

#include <QByteArray>
#include <QImage>

// A QR code of `text` for a handheld's camera: black modules on white, each `moduleSize` pixels
// square, in a quiet zone four modules wide, with error correction level M (a code that is a
// little worn or glared still reads). A null image when `text` is too long for a QR code.
QImage qrCodeImage(const QByteArray& text, int moduleSize);
