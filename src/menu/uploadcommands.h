#pragma once

#include "imports/uploadreceive.h"

struct ModMain;

// The three upload commands of the main menu: receive an upload file from the scanner into the
// program's folder and import it.

// The click of "Upload &StockTake File", "Upload &Orders File" or "Upload &Goods Received File".
void uploadCommand(ModMain& modMain, UploadKind kind);
