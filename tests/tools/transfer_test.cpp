#include <QTemporaryDir>

#include "programfiles.h"

const QByteArray kRecord = QByteArray("57   9310012345678  Milk 2L").leftJustified(74, ' ') + "\r\n";
const QString kPort = "COM2:9600,n,8,1";  // COM1, the menu's default, is sent end to end

QStringList send(const QString& file, const QString& widths = "/f5,15,40,9,5") {
    return {kPort, "n", 'D' + file, widths};
}

// The utility sends the item file into the scanner's memory (the test's own folder); what the
// scanner could not take it refuses with a one-line reason, moving nothing.
TEST(TransferUtility, MovesOnlyWhatTheScannerTakes) {
    QTemporaryDir folder;
    const QString memory = folder.filePath("memory");
    qputenv("PDT_SIM_DIR", memory.toLocal8Bit());
    const QString good = writeBytes(folder.filePath("good.dat"), kRecord);
    const std::pair<QStringList, const char*> refused[] = {
        {send(writeBytes(folder.filePath("short.dat"), kRecord + kRecord.mid(1))),
         "record 2 is 73 characters long"},
        {send(writeBytes(folder.filePath("lf.dat"), kRecord.left(74) + "\n")),
         "record 1 does not end with CR LF"},
        {send(folder.filePath("missing.dat")), "cannot read"},
        {send(good, "/f5,15,40,9"), "do not match the scanner's item layout"},
        {{"COM3:9600,n,8,1", "n@", good}, "is not a port"},
        {{kPort, "n", "D/My", "Shop/rmItems.dat", "/f5,15,40,9,5"}, "got 5 argument(s)"},
        {{kPort, "n", good, "/f5,15,40,9,5"}, "is not D followed by the file"},
        {{kPort, "n@", folder.filePath("Orders.dat")}, "holds no Orders.dat"},
        {{kPort, "n@", folder.filePath("rmItems.dat")}, "no upload called 'rmItems.dat'"},
    };
    for (const auto& [arguments, reason] : refused) {
        const ProgramRun run = runProgram("Tsr-tu3a.exe", arguments);
        EXPECT_NE(run.exitCode, 0) << reason;
        EXPECT_TRUE(run.errors.startsWith("Tsr-tu3a.exe: ") && run.errors.contains(reason))
            << run.errors.data();
        EXPECT_EQ(run.errors.count('\n'), 1) << run.errors.data();
        EXPECT_FALSE(QFile::exists(memory + "/rmItems.dat") || QFile::exists(folder.filePath("rmItems.dat")));
    }
    for (const QByteArray& items : {kRecord + kRecord, QByteArray()}) {
        const ProgramRun sent =
            runProgram("Tsr-tu3a.exe", send(writeBytes(folder.filePath("rmItems.dat"), items)));
        EXPECT_EQ(sent.exitCode, 0) << sent.errors.data();
        EXPECT_EQ(readBytes(memory + "/rmItems.dat"), items);
    }
    qunsetenv("PDT_SIM_DIR");
}
