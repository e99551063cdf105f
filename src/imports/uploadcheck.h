#pragma once

#include <QStringList>
#include <functional>

#include "imports/recordfate.h"
#include "imports/uploadfile.h"
#include "imports/uploadloader.h"

struct Program;

// One record as the check found it: its line, what its import would do, and what the import
// itself cannot see but a person should look at.
struct CheckedRecord {
    qint64 line = 0;
    RecordFate fate;
    QStringList flags;
};

// What a check found in a whole file.
struct CheckSummary {
    qint64 records = 0, toWrite = 0, toAudit = 0, errors = 0, flagged = 0;

    void count(const CheckedRecord& record);
    // True when every record would load as it stands, with nothing to look at.
    bool clean() const { return toAudit == 0 && errors == 0 && flagged == 0; }
    QString text() const;
};

// Reads an upload file exactly as its import does and decides each record with the same loader,
// reading the shop but writing nothing to it nor to the audit report; each record goes to `found`.
ProcessOutcome checkUploadFile(Program& program, const UploadLoader& kind, const QString& path,
                               const std::function<void(const CheckedRecord&)>& found);

// What the import would do with a checked record, with the loader's own audit and error texts.
QString checkedFateText(const UploadLoader& kind, const CheckedRecord& record);

// A checked record's lines of the check's listing: what the import would do, with the loader's own
// audit and error texts, then each thing to look at.
QString checkedRecordText(const UploadLoader& kind, const CheckedRecord& record);
