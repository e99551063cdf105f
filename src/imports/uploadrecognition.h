#pragma once

#include <QString>

#include "imports/uploadloader.h"

// What an upload kind is called where a person reads it: "a stocktake upload".
QString uploadKindName(const UploadLoader& kind);

// How the file at `path` differs from an upload of `kind`, judged from its first 4 KB before
// anything is loaded: "this is a goods-received upload" when its first line begins with another
// kind's header, "this is not a text file" when more than a tenth of those bytes are control bytes
// other than CR, LF and tab; empty when it may be one. A few odd bytes among the records are the
// loaders' business. Raises ProgramError when the file cannot be read.
QString uploadMismatch(const QString& path, const UploadLoader& kind);

// The kind of upload the file at `path` is: the kind whose header begins its first line, else the
// kind whose file name it has (Stock.dat, Orders.dat, Goods.dat, in any case); nothing when neither
// tells. Raises ProgramError when the file cannot be read.
const UploadLoader* recognisedUpload(const QString& path);
