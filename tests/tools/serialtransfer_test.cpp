// The transfer utility and the simulator at the two ends of a pseudo-terminal: files moved record
// for record over the scanner's protocol, each fault of the line ending as the protocol says, and
// the port's troubles each told in one line.
#include <fcntl.h>
#include <pty.h>
#include <termios.h>
#include <unistd.h>

#include <QFile>
#include <QThread>

#include "scannerline.h"

namespace {

const QString kPort = "COM1:9600,n,8,1";

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

QStringList sendArguments(const QString& file) {
    return {kPort, "n", 'D' + file, "/f5,15,40,9,5"};
}

QStringList receiveArguments(const QString& file) {
    return {kPort, "n@", file};
}

bool oneLine(const ProgramRun& run) {
    return run.errors.startsWith("Tsr-tu3a.exe: ") && run.errors.count('\n') == 1;
}

}  // namespace

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
    EXPECT_EQ(busy.exitCode, 1);
    EXPECT_TRUE(oneLine(busy) && busy.errors.contains("in use")) << busy.errors.data();
    ASSERT_TRUE(waiting.waitForFinished(10000));
    EXPECT_EQ(waiting.exitCode(), 1);
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
        EXPECT_EQ(denied.exitCode, 1);
        EXPECT_TRUE(oneLine(denied) && denied.errors.contains("dialout")) << denied.errors.data();
    }
}

// Faults of the real line, in each direction: recovered with every record once, or a failure in one
// line and, for a receive, no file. How each fault of the protocol ends is for the stations' own
// tests; here the line is cut, ended or silent under the utility.
TEST(SerialTransfer, EachFaultOfTheLineEndsAsTheProtocolSays) {
    struct Row {
        const char* fault;
        bool send;
        const char* reason;  // empty when the transfer recovers
    };
    const Row rows[] = {
        {"bad-bcc", true, ""},
        {"lost-ack", false, ""},
        {"silent", false, "no scanner called within 3 s"},
        {"eot", true, "ended the transfer"},
        {"eot", false, "ended the transfer after record 2 of"},
        {"hangup", true, "closed"},
        {"hangup", false, "closed"},
    };
    const QByteArray items = itemFile(8);
    for (const Row& row : rows) {
        const QString name = QString(row.fault) + (row.send ? " sending" : " receiving");
        const ScannerLine scanner({"--fault", row.fault, "--fault-at", "3"});
        const QString itemPath = writeBytes(scanner.path("rmItems.dat"), items);
        if (!row.send) {
            writeBytes(scanner.memory() + "/rmItems.dat", items);
            scanner.scan("stocktake", 8);
        }
        const QString stock = scanner.path("Stock.dat");
        const ProgramRun run = scanner.transfer(row.send ? sendArguments(itemPath) : receiveArguments(stock));
        const QByteArray arrived = row.send ? readBytes(scanner.memory() + "/rmItems.dat") : readBytes(stock);
        const QByteArray whole = row.send ? items : readBytes(scanner.memory() + "/Stock.dat");
        if (QByteArray(row.reason).isEmpty()) {
            EXPECT_EQ(run.exitCode, 0) << name.toStdString() << ": " << run.errors.data();
            EXPECT_EQ(arrived, whole) << name.toStdString();
        } else {
            EXPECT_EQ(run.exitCode, 1) << name.toStdString();
            EXPECT_TRUE(oneLine(run) && run.errors.contains(row.reason))
                << name.toStdString() << ": " << run.errors.data();
            EXPECT_TRUE(row.send || arrived == "<none>") << name.toStdString();
        }
    }
}

// What cannot go in one transfer is refused before the line is opened, as is a port that cannot be
// opened; each says what to do in one line.
TEST(SerialTransfer, LimitsAndPortTroublesAreToldInOneLine) {
    const ScannerLine scanner;
    QByteArray control = itemFile(3);
    control[100] = '\x03';
    const std::pair<QStringList, const char*> refused[] = {
        {sendArguments(writeBytes(scanner.path("big.dat"), itemFile(32768))), "at most 32,767"},
        {sendArguments(writeBytes(scanner.path("ctl.dat"), control)), "record 2"},
        {{kPort, "n", 'D' + writeBytes(scanner.path("rmItems.dat"), itemFile(2)), "/f5,15,40,9,4"},
         "record 1"},
        {{kPort, "n", 'D' + scanner.path("rmItems.dat"), "/f200,50,9"}, "at most 255"},
    };
    for (const auto& [arguments, reason] : refused) {
        const ProgramRun run = scanner.transfer(arguments);
        EXPECT_EQ(run.exitCode, 1) << reason;
        EXPECT_TRUE(oneLine(run) && run.errors.contains(reason)) << run.errors.data();
    }
    EXPECT_FALSE(QFile::exists(scanner.memory() + "/rmItems.dat"));
    // A scanner that shows up as a USB drive: the port names its folder.
    writeBytes(scanner.settings(), ("[ports]\nCOM1=" + scanner.memory() + "\n").toUtf8());
    const QByteArray items = itemFile(3);
    EXPECT_EQ(scanner.transfer(sendArguments(writeBytes(scanner.path("rmItems.dat"), items))).exitCode, 0);
    EXPECT_EQ(readBytes(scanner.memory() + "/rmItems.dat"), items);

    writeBytes(scanner.settings(), "[ports]\nCOM1=/dev/ttyS-none\n");
    const ProgramRun missing = scanner.transfer(receiveArguments(scanner.path("Stock.dat")));
    EXPECT_TRUE(oneLine(missing) && missing.errors.contains("/dev/ttyS-none") &&
                missing.errors.contains("scanner-port"))
        << missing.errors.data();
}

// What was left on the line before the utility opened it (a stale ACK) is not taken as an answer.
TEST(SerialTransfer, StaleBytesOnTheLineAreNoAnswer) {
    const ScannerLine scanner;
    int master = -1;
    int slave = -1;
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
    EXPECT_EQ(test.exitCode, 1);
    EXPECT_TRUE(oneLine(test) && test.errors.contains("did not answer")) << test.errors.data();
}
