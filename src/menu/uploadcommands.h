#pragma once

struct ModMain;

// The three upload commands of the main menu: receive an upload file from the scanner into the
// program's folder and import it.
enum class UploadKind { Stocktake, Orders, GoodsReceived };

// The click of "Upload &StockTake File", "Upload &Orders File" or "Upload &Goods Received File".
void uploadCommand(ModMain& modMain, UploadKind kind);
