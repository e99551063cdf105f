#pragma once

#include <optional>

#include "imports/uploadfile.h"
#include "scanner/transferpdtfile.h"

struct Program;

// The three uploads the scanner sends: stocktake counts, purchase orders and goods received.
enum class UploadKind { Stocktake, Orders, GoodsReceived };

// What sets one upload apart: the file it arrives as in the program's folder, the mode word of the
// scanner prompt, and the procedure that processes it.
struct UploadKindInfo {
    const char* fileName;
    const char* mode;
    ProcessOutcome (*process)(Program&, const QString& path);
};

const UploadKindInfo& uploadKindInfo(UploadKind kind);

// Where an upload of `kind` is received: its file in the program's folder, as the upload commands
// put it into the download path box.
QString uploadPath(const Program& program, UploadKind kind);

// Receives the upload of `kind` from the scanner on `port` into its path: the transfer utility's
// exit code, or nothing when it could not be run.
std::optional<int> receiveUpload(Program& program, UploadKind kind, const ScannerPort& port);
