#pragma once

#include <optional>

#include "imports/uploadfile.h"

struct ModMain;

// The three uploads the scanner sends: stocktake counts, purchase orders and goods received.
enum class UploadKind { Stocktake, Orders, GoodsReceived };

// What sets one upload apart: the file it arrives as in the program's folder, the mode word of the
// scanner prompt, and the procedure that processes it.
struct UploadKindInfo {
    const char* fileName;
    const char* mode;
    ProcessOutcome (*process)(ModMain&);
};

const UploadKindInfo& uploadKindInfo(UploadKind kind);

// Receives the upload of `kind` from the scanner into the program's folder, naming it in the
// download path: the transfer utility's exit code, or nothing when it could not be run.
std::optional<int> receiveUpload(ModMain& modMain, UploadKind kind);
