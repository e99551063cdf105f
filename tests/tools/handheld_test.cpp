// The transfer utility serving the handheld page: who it lets in, what it takes, and how a transfer
// ends, through real HTTPS requests from a client that trusts only the utility's own authority.
#include <QFile>
#include <QSslSocket>
#include <QThread>

#include "handheldutility.h"

namespace {

const QStringList kStocktakeReceive{"COM1:9600,n,8,1", "n@"};

QStringList receiveInto(const QString& path) {
    return kStocktakeReceive + QStringList{path};
}

QStringList sendOf(const QString& path) {
    return {"COM1:9600,n,8,1", "n", 'D' + path, "/f5,15,40,9,5"};
}

const QByteArray kItems =
    "1    9310000000100  Demo item 1                             10.95    1    \r\n"
    "2    9310000000200  Demo item 2                             3.50     12   \r\n";

// True when nothing answers on `port` of this machine.
bool nobodyListens(int port) {
    QTcpSocket probe;
    probe.connectToHost(QHostAddress::LocalHost, static_cast<quint16>(port));
    return !probe.waitForConnected(2000);
}

}  // namespace

// The page itself is anyone's, but no request for the shop's data gets past a handheld that has not
// paired; a wrong code is refused, and after five of them even the right one is.
TEST(HandheldPageTest, OnlyPairedHandheldsGetPastThePage) {
    HandheldUtility utility;
    ASSERT_TRUE(utility.start(sendOf(writeBytes(utility.path("rmItems.dat"), kItems))));
    EXPECT_EQ(utility.request("GET", "/").status, 200);
    // The plain port serves the authority to trust and how to, and nothing else.
    EXPECT_EQ(utility.request("GET", "/rmstockhand-ca.crt", {}, {}, true).body,
              readBytes(utility.path("web/authority.crt")));
    EXPECT_TRUE(utility.request("GET", "/", {}, {}, true).body.contains("rmstockhand-ca.crt"));
    EXPECT_EQ(utility.request("GET", "/api/items", {}, {}, true).status, 404);
    EXPECT_EQ(utility.request("GET", "/app.js", {}, {}, true).status, 404);
    const struct {
        const char *method, *path, *token;
    } refused[] = {{"GET", "/api/transfer", ""},      {"GET", "/api/items", ""},
                   {"GET", "/api/items", "forged"},   {"POST", "/api/items/taken", ""},
                   {"POST", "/api/upload", "forged"}, {"GET", "/api/anything", ""}};
    for (const auto& r : refused) {
        const PageAnswer answer = utility.request(r.method, r.path, R"({"records":2,"bytes":152})", r.token);
        EXPECT_EQ(answer.status, 401) << r.method << ' ' << r.path;
        EXPECT_FALSE(answer.body.contains("Demo item")) << r.path;
    }
    const QString wrong = utility.code() == "000000" ? "000001" : "000000";
    for (int attempt = 1; attempt <= 5; ++attempt) {
        EXPECT_EQ(
            utility.request("POST", "/api/pair", R"({"code":")" + wrong.toLatin1() + R"(","name":"Till"})")
                .status,
            403);
    }
    EXPECT_EQ(utility.pair("Till"), "");
    EXPECT_FALSE(QFile::exists(utility.path("handhelds.ini")));  // nobody paired
    utility.process().terminate();
    const ProgramRun run = utility.finish();
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.errors, "Tsr-tu3a.exe: the transfer was cancelled\n");
    EXPECT_TRUE(nobodyListens(utility.port()));
}

// A paired handheld takes the item file; the send ends only when the handheld says it has all of it,
// and the token is kept for the next transfer, where the pairing code is a new one.
TEST(HandheldPageTest, APairedHandheldTakesTheItemFileWhole) {
    HandheldUtility utility;
    ASSERT_TRUE(utility.start(sendOf(writeBytes(utility.path("rmItems.dat"), kItems))));
    const QString token = utility.pair("Aisle 3 phone");
    ASSERT_FALSE(token.isEmpty());
    EXPECT_TRUE(QFile(utility.path("handhelds.ini")).permissions() ==
                (QFile::ReadOwner | QFile::WriteOwner | QFile::ReadUser | QFile::WriteUser));
    EXPECT_FALSE(readBytes(utility.path("handhelds.ini")).contains(token.toLatin1()));
    const PageAnswer transfer = utility.request("GET", "/api/transfer", {}, token);
    EXPECT_EQ(transfer.body,
              R"({"direction":"send","file":"rmItems.dat","mode":"items","name":"Aisle 3 phone"})");
    EXPECT_EQ(utility.request("GET", "/api/items", {}, token).body, kItems);
    EXPECT_EQ(utility.request("POST", "/api/upload", "NXSTV100\r\n", token).status, 409);
    EXPECT_EQ(utility.request("POST", "/api/items/taken", R"({"records":1,"bytes":152})", token).status, 409);
    EXPECT_EQ(utility.process().state(), QProcess::Running);
    EXPECT_EQ(utility.request("POST", "/api/items/taken", R"({"records":2,"bytes":152})", token).status, 200);
    const ProgramRun sent = utility.finish();
    EXPECT_EQ(sent.exitCode, 0) << sent.errors.data();
    ASSERT_TRUE(utility.start(receiveInto(utility.path("Stock.dat"))));
    EXPECT_TRUE(utility.request("GET", "/api/transfer", {}, token).body.contains(R"("direction":"receive")"));
    utility.process().terminate();
    utility.finish();
}

// A receive takes only the upload it asks for, whole and within the size limit, writes it as sent
// and ends; a wrong kind, a file that is not text or one too large leaves the old file untouched.
TEST(HandheldPageTest, AReceiveTakesOnlyTheUploadItAsksFor) {
    HandheldUtility utility;
    writeBytes(utility.path("Stock.dat"), "old upload\r\n");
    ASSERT_TRUE(utility.start(receiveInto(utility.path("Stock.dat"))));
    const QString token = utility.pair("Handheld");
    EXPECT_EQ(utility.request("GET", "/api/items", {}, token).status, 409);  // nothing to take now
    const struct {
        const char* name;
        QByteArray upload;
        int status;
        const char* says;
    } refused[] = {
        {"goods", "NXGRV100\r\n1,9310000000100,0,77,5\r\n", 409, "not a goods-received delivery"},
        {"no header", "1,9310000000100,5\r\n", 409, "waiting for a stocktake (Stock.dat)"},
        {"binary", QByteArray("NXSTV100\r\n\0\x01", 12), 400, "not a text file"},
    };
    for (const auto& r : refused) {
        const PageAnswer answer = utility.request("POST", "/api/upload", r.upload, token);
        EXPECT_EQ(answer.status, r.status) << r.name;
        EXPECT_TRUE(answer.body.contains(r.says)) << r.name << ": " << answer.body.data();
    }
    QSslSocket huge;
    QSslConfiguration tls = QSslConfiguration::defaultConfiguration();
    tls.setCaCertificates(QSslCertificate::fromPath(utility.path("web/authority.crt")));
    huge.setSslConfiguration(tls);
    huge.connectToHostEncrypted("localhost", static_cast<quint16>(utility.port()));
    ASSERT_TRUE(huge.waitForEncrypted(10000));
    huge.write("POST /api/upload HTTP/1.1\r\nHost: x\r\nAuthorization: Bearer " + token.toLatin1() +
               "\r\nContent-Length: 16777217\r\n\r\nNXSTV100\r\n");
    ASSERT_TRUE(huge.waitForReadyRead(10000));
    EXPECT_TRUE(huge.readAll().startsWith("HTTP/1.1 413 "));
    EXPECT_EQ(readBytes(utility.path("Stock.dat")), "old upload\r\n");
    const QByteArray upload = "NXSTV100\r\n1,9310000000100,3\r\n0,9399999000001,1\r\n";
    const PageAnswer taken = utility.request("POST", "/api/upload", upload, token);
    EXPECT_EQ(taken.body, R"({"records":2})");
    EXPECT_EQ(utility.finish().exitCode, 0);
    EXPECT_EQ(readBytes(utility.path("Stock.dat")), upload);
}

// A transfer that no handheld calls ends after the link-up time, and one given up on the user's word
// ends at once; both end the utility with exit 1, a reason, the old file kept and nothing listening.
TEST(HandheldPageTest, ATransferNobodyAnswersOrTheUserCancelsFails) {
    for (const bool cancel : {false, true}) {
        HandheldUtility utility(cancel ? 60 : 1);
        writeBytes(utility.path("Orders.dat"), "kept\r\n");
        ASSERT_TRUE(utility.start({"COM1:9600,n,8,1", "n@", utility.path("Orders.dat")}));
        if (cancel) {
            utility.process().terminate();
        }
        const ProgramRun run = utility.finish();
        EXPECT_EQ(run.exitCode, 1);
        EXPECT_EQ(run.errors, cancel
                                  ? "Tsr-tu3a.exe: the transfer was cancelled\n"
                                  : "Tsr-tu3a.exe: no handheld sent the upload within 1 s: open the handheld "
                                    "page on it, pair it if it asks, and try again\n");
        EXPECT_EQ(readBytes(utility.path("Orders.dat")), "kept\r\n");
        EXPECT_TRUE(nobodyListens(utility.port()));
    }
    // A handheld that keeps calling keeps the transfer waiting past the link-up time.
    HandheldUtility polled(2);
    ASSERT_TRUE(polled.start({"COM1:9600,n,8,1", "n@", polled.path("Goods.dat")}));
    const QString token = polled.pair("Handheld");
    for (int poll = 0; poll < 6; ++poll) {
        QThread::msleep(600);
        EXPECT_EQ(polled.request("GET", "/api/transfer", {}, token).status, 200) << poll;
    }
    polled.process().terminate();
    EXPECT_EQ(polled.finish().errors, "Tsr-tu3a.exe: the transfer was cancelled\n");
    const ProgramRun notAnUpload = runProgram("Tsr-tu3a.exe", {"COM1:9600,n,8,1", "n@", "/tmp/Other.dat"},
                                              HandheldUtility().environment());
    EXPECT_EQ(notAnUpload.exitCode, 1);
    EXPECT_TRUE(notAnUpload.errors.contains("no upload called 'Other.dat'")) << notAnUpload.errors.data();
}
