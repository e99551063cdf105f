#include "scanner/transferpdtfile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include "platform/programerror.h"
#include "platform/scannerfiles.h"
#include "scanner/shellandwait.h"
#include "startup/blanks.h"
#include "startup/program.h"
#include "startup/settings.h"

namespace {

const QString kUtility = QStringLiteral("Tsr-tu3a.exe");
// The line settings of the scanner's cable: 9600 baud, no parity, 8 data bits, 1 stop bit.
const QString kLineSettings = QStringLiteral(":9600,n,8,1");

// Deletes the old download file so the utility writes a fresh one. Only an ordinary file counts:
// a folder or a hidden file of that name is left alone (Linux has no system files), and so is any
// file that is not one of the scanner's (the shop database, say, should the download path name
// it). A read-only file is refused, as the shop's PC refuses to delete one, even when the user could.
void removeOldDownload(const QString& path) {
    const QFileInfo file(path);
    if (path.isEmpty() || !file.isFile() || file.fileName().startsWith(QLatin1Char('.')) ||
        !scannerfiles::isScannerFile(file.fileName())) {
        return;
    }
    if (!file.permissions().testFlag(QFileDevice::WriteOwner)) {
        throw ProgramError(errnum::PathFileAccessError, QStringLiteral("Path/File access error"));
    }
    if (!QFile::remove(path)) {
        throw ProgramError(errnum::PermissionDenied, QStringLiteral("Permission denied"));
    }
}

// Writes one setting; ManageDefaults reports its own failures.
void putSetting(Program& program, const QString& key, QString value) {
    ManageDefaults(program, program.exeName, QStringLiteral("PUT"), key, value);
}

}  // namespace

QString transferArguments(bool send, const QString& port, const QString& appPath,
                          const QString& downloadPath) {
    const QString serialPort = QStringLiteral("COM") + port + kLineSettings;
    if (send) {
        const QString itemFile =
            QDir::toNativeSeparators(appPath + QLatin1Char('/') + QLatin1String(scannerfiles::kItemFile));
        // The utility checks each record against the widths of the item file's fields.
        return serialPort + QStringLiteral(" n D") + itemFile + QStringLiteral(" /f") +
               scannerfiles::itemFieldWidthsText();
    }
    return serialPort + QStringLiteral(" n@ ") + downloadPath;
}

bool fTransferPDTFile(Program& program, const QString& sMode, const TransferRequest& request) {
    return transferPDTFile(program, sMode, request).has_value();
}

std::optional<int> transferPDTFile(Program& program, const QString& sMode, const TransferRequest& request) {
    program.prompts.notice(QStringLiteral("Please put BHT 8000 into") + sMode +
                           QStringLiteral("download mode and plug cable in !!"));
    QString arguments;
    try {
        const QString& port = request.port.digit;
        program.modMain.sCommPort = port;
        putSetting(program, kComPortKey, port);
        if (request.port.overwrite) {
            removeOldDownload(trimBlanks(request.downloadPath));
        }
        arguments = transferArguments(request.send, port, program.appPath, request.downloadPath);
        putSetting(program, kDespatchPathKey, request.downloadPath);
    } catch (const ProgramError& err) {
        program.prompts.notice(errorText(QStringLiteral("Error during receiving PDT file= "), err));
        return std::nullopt;
    }
    return shellAndWaitForExit(program, kUtility, arguments, fShowMode(false, true, true));
}
