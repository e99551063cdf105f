#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

namespace {

const QByteArray kRecord = QByteArray("57   9310012345678  Milk 2L").leftJustified(74, ' ') + "\r\n";
const QString kPort = "COM1:9600,n,8,1";

class TransferUtilityTest : public testing::Test {
protected:
    // Runs the utility with the scanner's memory in the test's folder; its exit code.
    int run(const QStringList& arguments) {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("PDT_SIM_DIR", memory());
        QProcess utility;
        utility.setProcessEnvironment(environment);
        utility.start(RM_BIN_DIR "/Tsr-tu3a.exe", arguments);
        EXPECT_TRUE(utility.waitForFinished(30000));
        reason = QString::fromLocal8Bit(utility.readAllStandardError());
        return utility.exitCode();
    }
    QString memory() const { return folder.filePath("memory"); }
    QString write(const QString& name, const QByteArray& bytes) const {
        QDir().mkpath(QFileInfo(folder.filePath(name)).absolutePath());
        QFile file(folder.filePath(name));
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
        return file.fileName();
    }
    static QByteArray read(const QString& file) {
        QFile f(file);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : "<none>";
    }
    static QStringList send(const QString& file, const QString& widths = "/f5,15,40,9,5") {
        return {kPort, "n", 'D' + file, widths};
    }

    QTemporaryDir folder;
    QString reason;
};

TEST_F(TransferUtilityTest, SendKeepsAWellFormedItemFileAsTheScannersOwn) {
    for (const QByteArray& items : {kRecord + kRecord, QByteArray()}) {
        EXPECT_EQ(run(send(write("rmItems.dat", items))), 0) << reason.toStdString();
        EXPECT_EQ(read(memory() + "/rmItems.dat"), items);
    }
}

TEST_F(TransferUtilityTest, RefusesWhatItCannotSendWithAOneLineReason) {
    const QString good = write("good.dat", kRecord);
    const struct {
        QStringList arguments;
        const char* reason;
    } cases[] = {
        {send(write("short.dat", kRecord + kRecord.mid(1))), "record 2 is 73 characters long"},
        {send(write("lf.dat", kRecord.left(74) + "\n")), "record 1 does not end with CR LF"},
        {send(folder.filePath("missing.dat")), "cannot read"},
        {send(good, "/f5,15,40,9"), "do not match the scanner's item layout"},
        {{"COM3:9600,n,8,1", "n@", good}, "is not a port"},
        {{kPort, "n", "D/My", "Shop/rmItems.dat", "/f5,15,40,9,5"}, "got 5 argument(s)"},
        {{kPort, "n", good, "/f5,15,40,9,5"}, "is not D followed by the file"},
    };
    for (const auto& c : cases) {
        EXPECT_NE(run(c.arguments), 0) << c.reason;
        EXPECT_TRUE(reason.contains(c.reason)) << reason.toStdString();
        EXPECT_EQ(reason.count('\n'), 1) << reason.toStdString();
        EXPECT_FALSE(QFile::exists(memory() + "/rmItems.dat"));
    }
}

TEST_F(TransferUtilityTest, ReceiveServesTheUploadHeldUnderThatName) {
    const QByteArray upload = "NXSTV100\r\n57,9310012345678,3\r\n";
    write("memory/Stock.dat", upload);
    EXPECT_EQ(run({kPort, "n@", folder.filePath("Stock.dat")}), 0) << reason.toStdString();
    EXPECT_EQ(read(folder.filePath("Stock.dat")), upload);
    EXPECT_NE(run({kPort, "n@", folder.filePath("Orders.dat")}), 0);
    EXPECT_TRUE(reason.contains("holds no Orders.dat")) << reason.toStdString();
    EXPECT_NE(run({kPort, "n@", folder.filePath("rmItems.dat")}), 0);
    EXPECT_TRUE(reason.contains("no upload called 'rmItems.dat'")) << reason.toStdString();
}

}  // namespace
