#pragma once

#include "imports/uploadreceive.h"

class QLineEdit;
struct Program;

// The three upload commands of the main menu: receive an upload file from the scanner into the
// program's folder and import it.

// The click of "Upload &StockTake File", "Upload &Orders File" or "Upload &Goods Received File":
// the upload's path goes into the download path box, the file is received on `port`, and the file
// the box then names is imported.
void uploadCommand(Program& program, UploadKind kind, const ScannerPort& port, QLineEdit& downloadPathBox);
