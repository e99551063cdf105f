#include "imports/auditreport.h"

#include <QFile>

#include "platform/fileerror.h"
#include "startup/program.h"

namespace {

// "DD/MM/YYYY HH:MM am" on the 12-hour clock: the hour from midnight shows as 12 am, from noon as 12 pm.
QString timeStamp(const QDateTime& when) {
    const QDate date = when.date();
    const int hour = when.time().hour();
    return QString::asprintf("%02d/%02d/%04d %02d:%02d %s", date.day(), date.month(), date.year(),
                             hour % 12 == 0 ? 12 : hour % 12, when.time().minute(), hour < 12 ? "am" : "pm");
}

// The whole line goes out in one unbuffered write, so a failure shows at once and a line is never
// left half in the buffer; a write that fails part of the way is undone, so the report holds whole
// lines only.
void appendLine(QFile& report, const QByteArray& line) {
    platform::openPlainFile(report, QIODevice::Append | QIODevice::Unbuffered);
    const qint64 before = report.size();
    if (report.write(line) != line.size()) {
        const ProgramError error = platform::fileError(report);
        report.resize(before);
        throw error;
    }
    report.close();
}

}  // namespace

// The report names are written with the backslash that begins a file name inside a folder
// ("\StockTakeAuditFile"); this is the one place where it becomes this system's separator "/".
QString auditReportPath(const QString& folder, const QString& reportName) {
    QString name = reportName;
    if (name.startsWith(QLatin1Char('\\'))) {
        name[0] = QLatin1Char('/');
    }
    return folder + name + QStringLiteral(".rep");
}

void fWriteAuditReport(Program& program, const QString& message, const QString& folder,
                       const QString& reportName) {
    if (message.isEmpty()) {
        return;
    }
    ++program.run.audited;
    const QString line = QLatin1Char('"') + timeStamp(program.now().toLocalTime()) + QLatin1Char('-') +
                         message + QLatin1Char('"');
    try {
        // The report is 8-bit text: Latin-1, where a character beyond it becomes "?".
        appendLine(*program.files.appendedFile(auditReportPath(folder, reportName)),
                   line.toLatin1() + "\r\n");
    } catch (const ProgramError& error) {
        ++program.run.auditUnwritten;
        program.prompts.notice(errorTextSpaced(QStringLiteral("Error in writing audit report = "), error));
        return;
    }
    program.prompts.notice(
        QStringLiteral("You have scanned a barcode(s) that does not exist in RetailManager, refer to "
                       "AuditFile for details"));
}

AuditMessage auditMessage(const char* lead, const char* barcodeLabel, const TextArray& fields,
                          int quantityField) {
    return {lead, barcodeLabel, fields.at(2), fields.at(quantityField)};
}
