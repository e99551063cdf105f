#pragma once

#include <QProcess>

#include "programfiles.h"
#include "shoprows.h"

// Runs a stocktake import of the file and kills it (SIGKILL: nothing flushed or closed) once the
// shop holds `counts` counts. Its output goes to `outputFile`: a pipe that nobody reads while the
// shop is watched would stop it. True when the import was still running and the kill ended it.
inline bool killImportAfterCounts(const QString& path, int counts, const QString& outputFile) {
    QProcess import;
    import.setStandardOutputFile(outputFile);
    import.setStandardErrorFile(outputFile);
    startProgram(import, "rmstockhand-batch", {"import-stocktake", path});
    if (!import.waitForStarted()) {
        return false;
    }
    ShopRows watcher;
    while (watcher.rows("select count(*) from stocktake_counts").toInt() < counts &&
           !import.waitForFinished(5)) {
    }
    if (import.state() != QProcess::Running) {
        return false;
    }
    import.kill();
    return import.waitForFinished() && import.exitStatus() == QProcess::CrashExit;
}
