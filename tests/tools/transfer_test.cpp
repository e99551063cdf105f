// The transfer utility and the scanner simulator at the two ends of a pseudo-terminal: files moved
// record for record over the scanner's protocol, what the utility refuses, and what only a real
// line shows: the port's settings and lock, a line that stays silent or is cut, stale bytes.
#include <fcntl.h>
#include <pty.h>
#include <termios.h>
#include <unistd.h>

#include <QFile>
#include <QMap>
#include <QThread>

#include "scannerline.h"

namespace {

const QString kPort = "COM2:9600,n,8,1";  // COM1, the menu's default, is sent end to end

// An item file of `count` records of the item layout, each unlike the others.
QByteArray itemFile(int count) {
    QByteArray bytes;
    for (int i = 1; i <= count; ++i) {
        bytes += QByteArray::number(i % 100000).leftJustified(5) +
                 QByteArray::number(9300000000000LL + i).leftJustified(15) +
                 ("Item " + QByteArray::number(i) + " Cr\xe8me").leftJustified(40) +
                 (QByteArray::number(i % 1000) + ".95").leftJustified(9) + "1    \r\n";
    }
    return bytes;
}

QStringList sendArguments(const QString& file, const QString& widths = "/f5,15,40,9,5") {
    return {kPort, "n", 'D' + file, widths};
}

QStringList receiveArguments(const QString& file) {
    return {kPort, "n@", file};
}

// A failure told in one line of standard error that gives `reason`.
bool refused(const ProgramRun& run, const char* reason) {
    return run.exitCode == 1 && run.errors.startsWith("Tsr-tu3a.exe: ") && run.errors.count('\n') == 1 &&
           run.errors.contains(reason);
}

}  // namespace

// Each upload holds its magic and then records as a shop assistant scans them: mostly items of the
// sent item file (a 12-digit code with a leading 0 scanned in its 13-digit form), some deleted and
// some unknown; the goods records carry order number 102, or none.
TEST(ScannerTest, TheSimulatorScansUploadsFromTheSentItemsForTheUtilityToReceive) {
    const ScannerLine scanner;
    const ProgramRun nothingHeld = runProgram("pdt-sim", {"stocktake"}, {"PDT_SIM_DIR=" + scanner.memory()});
    EXPECT_EQ(nothingHeld.exitCode, 1);
    EXPECT_EQ(nothingHeld.errors,
              "pdt-sim: the scanner holds no item file; send rmItems.dat to it with Tsr-tu3a.exe first\n");
    const QMap<QByteArray, QByteArray> barcodes{
        {"57", "9310012345678"}, {"58", "012345678905"}, {"102", "9300000000017"}, {"7", "ABC-1"}};
    QByteArray items;
    for (auto item = barcodes.begin(); item != barcodes.end(); ++item) {
        items += item.key().leftJustified(5) + item.value().leftJustified(69) + "\r\n";
    }
    ASSERT_EQ(scanner.transfer(sendArguments(writeBytes(scanner.path("rmItems.dat"), items))).exitCode, 0);
    const std::tuple<const char*, const char*, QByteArray, qsizetype> modes[] = {
        {"stocktake", "Stock.dat", "NXSTV100", 3},
        {"orders", "Orders.dat", "NXORV100", 3},
        {"goods", "Goods.dat", "NXGRV100", 5}};
    for (const auto& [command, fileName, magic, fieldCount] : modes) {
        scanner.scan(command, 30);
        ASSERT_EQ(scanner.transfer(receiveArguments(scanner.path(fileName))).exitCode, 0) << command;
        QList<QByteArray> lines = readBytes(scanner.path(fileName)).split('\n');
        ASSERT_EQ(lines.takeLast(), "");  // every line ends with CR LF
        EXPECT_EQ(lines.takeFirst(), magic + '\r');
        ASSERT_EQ(lines.size(), 30);
        QMap<QByteArray, int> kinds;
        for (const QByteArray& line : lines) {
            const QList<QByteArray> fields = line.chopped(1).split(',');
            ASSERT_TRUE(line.endsWith('\r') && fields.size() == fieldCount) << line.data();
            EXPECT_GT(fields.last().toDouble(), 0) << line.data();
            const QByteArray item = barcodes.value(fields.at(0), "<none>");
            const bool known = fields.at(1) == (item == "012345678905" ? "0" + item : item);
            // A barcode of the item file is only ever scanned under its own stock id.
            EXPECT_TRUE(known || !barcodes.values().contains(fields.at(1))) << line.data();
            ++kinds[fields.at(1) == "NUXADEL" ? "deleted" : known ? "known" : "unknown"];
            if (fieldCount == 5) {
                EXPECT_EQ(fields.at(2), "0") << line.data();
                ++kinds["order " + fields.at(3)];
            }
        }
        EXPECT_GT(kinds["known"], 10) << command;
        EXPECT_GT(kinds["deleted"] * kinds["unknown"], 0) << command;
        EXPECT_EQ(kinds["order 102"] > 0 && kinds["order "] > 0, fieldCount == 5) << command;
    }
}

TEST(SerialTransfer, FilesCrossTheLineRecordForRecordInBothDirections) {
    const ScannerLine scanner;
    const QByteArray items = itemFile(32767);  // the most one transfer takes
    const ProgramRun sent = scanner.transfer(sendArguments(writeBytes(scanner.path("rmItems.dat"), items)));
    EXPECT_EQ(sent.exitCode, 0) << sent.errors.data();
    EXPECT_TRUE(readBytes(scanner.memory() + "/rmItems.dat") == items);
    for (const auto& [command, file] :
         {std::pair{"stocktake", "Stock.dat"}, {"orders", "Orders.dat"}, {"goods", "Goods.dat"}}) {
        scanner.scan(command, 40);
        const ProgramRun received = scanner.transfer(receiveArguments(scanner.path(file)));
        EXPECT_EQ(received.exitCode, 0) << received.errors.data();
        EXPECT_EQ(readBytes(scanner.path(file)), readBytes(scanner.memory() + '/' + file)) << file;
    }
}

// While the utility holds the port it is raw 9600 8N1 with no flow control, and no other
// transfer may have it; a user outside the dialout group may not open it at all.
TEST(SerialTransfer, TheUtilityHoldsThePortRaw9600EightNOneAndAlone) {
    const ScannerLine scanner({"--fault", "silent"});
    QProcess waiting;
    startProgram(waiting, "Tsr-tu3a.exe", receiveArguments(scanner.path("Stock.dat")), scanner.environment());
    ASSERT_TRUE(waiting.waitForStarted());
    QThread::msleep(1000);
    const int fd = ::open(scanner.device().constData(), O_RDONLY | O_NOCTTY | O_NONBLOCK);
    ASSERT_GE(fd, 0) << scanner.device().data();
    termios line{};
    ASSERT_EQ(tcgetattr(fd, &line), 0);
    ::close(fd);
    EXPECT_EQ(cfgetispeed(&line), B9600);
    EXPECT_EQ(cfgetospeed(&line), B9600);
    EXPECT_EQ(line.c_cflag & (CSIZE | PARENB | CSTOPB | CRTSCTS), tcflag_t(CS8));
    EXPECT_EQ(line.c_lflag & (ICANON | ECHO | ISIG | IEXTEN), 0u);
    EXPECT_EQ(line.c_iflag & (IXON | IXOFF | ICRNL | ISTRIP | INLCR), 0u);
    EXPECT_EQ(line.c_oflag & OPOST, 0u);
    const ProgramRun busy = scanner.transfer(receiveArguments(scanner.path("Orders.dat")));
    EXPECT_TRUE(refused(busy, "in use")) << busy.errors.data();
    // The silent scanner: the wait for it ends at the link-up time of the user's settings.
    ASSERT_TRUE(waiting.waitForFinished(10000));
    EXPECT_TRUE(
        refused({waiting.exitCode(), {}, waiting.readAllStandardError()}, "no scanner called within 3 s"));
    EXPECT_FALSE(QFile::exists(scanner.path("Stock.dat")));

    // Run as nobody when the tests run as root.
    if (geteuid() == 0) {
        QFile::setPermissions(scanner.path(""),
                              QFile::permissions(scanner.path("")) | QFile::ExeOther | QFile::ReadOther);
        const ProgramRun denied = runCommand(
            "setpriv",
            QStringList{"--reuid=65534", "--regid=65534", "--clear-groups", RM_BIN_DIR "/Tsr-tu3a.exe"} +
                receiveArguments("/tmp/never-written/Stock.dat"),
            scanner.environment());
        EXPECT_TRUE(refused(denied, "dialout")) << denied.errors.data();
    }
}

// A line cut in the middle of a transfer, either way, ends it in one line, and a receive writes no
// file. How each fault of the protocol ends is for the stations' own tests.
TEST(SerialTransfer, ALineCutMidTransferEndsItInOneLine) {
    const QByteArray items = itemFile(8);
    for (const bool send : {true, false}) {
        const ScannerLine scanner({"--fault", "hangup", "--fault-at", "3"});
        const QString stock = scanner.path("Stock.dat");
        if (!send) {
            writeBytes(scanner.memory() + "/rmItems.dat", items);
            scanner.scan("stocktake", 8);
        }
        const ProgramRun run = scanner.transfer(
            send ? sendArguments(writeBytes(scanner.path("rmItems.dat"), items)) : receiveArguments(stock));
        EXPECT_TRUE(refused(run, "closed")) << send << ": " << run.errors.data();
        EXPECT_FALSE(QFile::exists(stock));
    }
}

// What the scanner could not take, or a command line the utility does not know, is refused before
// anything moves (with the scanner's memory as a folder, or before the port is opened), as is a port
// that cannot be opened or a line that does not answer; each says what to do in one line.
TEST(SerialTransfer, LimitsPortTroublesAndStaleAnswersAreToldInOneLine) {
    const ScannerLine scanner;
    const QString good = writeBytes(scanner.path("good.dat"), itemFile(1));
    QByteArray control = itemFile(3);
    control[100] = '\x03';
    const std::tuple<QStringList, bool, const char*> refusals[] = {
        {sendArguments(writeBytes(scanner.path("a.dat"), itemFile(2).remove(80, 1))), true,
         "record 2 is 73 characters"},
        {sendArguments(writeBytes(scanner.path("b.dat"), itemFile(1).remove(74, 1))), true,
         "record 1 does not end with CR LF"},
        {sendArguments(good, "/f5,15,40,9"), true, "do not match the scanner's item layout"},
        {receiveArguments(scanner.path("Orders.dat")), true, "holds no Orders.dat"},
        {sendArguments(writeBytes(scanner.path("big.dat"), itemFile(32768))), false, "at most 32,767"},
        {sendArguments(writeBytes(scanner.path("ctl.dat"), control)), false, "record 2"},
        {sendArguments(good, "/f5,15,40,9,4"), false, "record 1"},
        {sendArguments(good, "/f200,50,9"), false, "at most 255"},
        {sendArguments(scanner.path("missing.dat")), false, "cannot read"},
        {{"COM3:9600,n,8,1", "n@", good}, false, "is not a port"},
        {{kPort, "n", "D/My", "Shop/rmItems.dat", "/f5,15,40,9,5"}, false, "got 5 argument(s)"},
        {{kPort, "n", good, "/f5,15,40,9,5"}, false, "is not D followed by the file"},
        {receiveArguments(scanner.path("rmItems.dat")), false, "no upload called 'rmItems.dat'"},
    };
    for (const auto& [arguments, inFolder, reason] : refusals) {
        const ProgramRun run =
            runProgram("Tsr-tu3a.exe", arguments,
                       inFolder ? QStringList{"PDT_SIM_DIR=" + scanner.memory()} : scanner.environment());
        EXPECT_TRUE(refused(run, reason)) << reason << ": " << run.errors.data();
    }
    EXPECT_FALSE(QFile::exists(scanner.memory() + "/rmItems.dat") ||
                 QFile::exists(scanner.path("rmItems.dat")));
    // A scanner that shows up as a USB drive: the port names its folder.
    writeBytes(scanner.settings(), ("[ports]\nCOM2=" + scanner.memory() + "\n").toUtf8());
    const QByteArray items = itemFile(3);
    EXPECT_EQ(scanner.transfer(sendArguments(writeBytes(scanner.path("rmItems.dat"), items))).exitCode, 0);
    EXPECT_EQ(readBytes(scanner.memory() + "/rmItems.dat"), items);

    writeBytes(scanner.settings(), "[ports]\nCOM2=/dev/ttyS-none\n");
    const ProgramRun missing = scanner.transfer(receiveArguments(scanner.path("Stock.dat")));
    EXPECT_TRUE(refused(missing, "/dev/ttyS-none") && missing.errors.contains("scanner-port"))
        << missing.errors.data();
    // What was left on the line before the utility opened it (a stale ACK) is not taken as an answer.
    int master = -1, slave = -1;
    char name[64] = {};
    ASSERT_EQ(openpty(&master, &slave, name, nullptr, nullptr), 0);
    termios raw{};
    tcgetattr(slave, &raw);
    cfmakeraw(&raw);
    tcsetattr(slave, TCSANOW, &raw);
    ::close(slave);
    ASSERT_EQ(::write(master, "\x06\x06\x06", 3), 3);
    writeBytes(scanner.settings(), QByteArray("[ports]\nCOM1=") + name + "\n[link]\nretry-interval-ms=100\n");
    const ProgramRun test = scanner.transfer({"--test", "COM1"});
    ::close(master);
    EXPECT_TRUE(refused(test, "did not answer")) << test.errors.data();
}
