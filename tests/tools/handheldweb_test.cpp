// What the handheld page shows a handheld: a server certificate that its browser takes once it
// trusts the program's authority, and the QR code its camera reads the page's address from.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QSslConfiguration>
#include <QSslError>
#include <QStandardPaths>
#include <QTemporaryDir>

#include "programfiles.h"
#include "qrcodeimage.h"
#include "scannermemory.h"
#include "webidentity.h"

namespace {

const QStringList kNames{"localhost", "shop-pc.local"};
const QList<QHostAddress> kAddresses{QHostAddress::LocalHost, QHostAddress("192.168.1.20")};

// What a browser that trusts `authority` finds wrong with `chain` for `hostName`.
QList<QSslError::SslError> refusals(const WebIdentity& identity, const QString& hostName) {
    const QSslConfiguration before = QSslConfiguration::defaultConfiguration();
    QSslConfiguration trusting = before;
    trusting.setCaCertificates({identity.chain.last()});
    QSslConfiguration::setDefaultConfiguration(trusting);
    QList<QSslError::SslError> errors;
    for (const QSslError& error : QSslCertificate::verify({identity.chain.first()}, hostName)) {
        errors << error.error();
    }
    QSslConfiguration::setDefaultConfiguration(before);
    return errors;
}

TEST(WebIdentity, TheServerCertificateIsTakenForEachNameOnceTheAuthorityIsTrusted) {
    const QTemporaryDir home;
    const QString folder = home.filePath("rmstockhand/handheld-page");
    const WebIdentity identity = loadWebIdentity(folder, kNames, kAddresses);
    ASSERT_EQ(identity.chain.size(), 2);
    EXPECT_EQ(identity.authorityPath, folder + "/authority.crt");
    EXPECT_EQ(QSslCertificate::fromPath(identity.authorityPath), QList{identity.chain.last()});
    EXPECT_EQ(identity.key.algorithm(), QSsl::Ec);
    EXPECT_TRUE(identity.chain.last()
                    .subjectInfo(QSslCertificate::CommonName)
                    .first()
                    .startsWith("RM Stockhand handheld authority ("));
    for (const char* hostName : {"localhost", "127.0.0.1", "shop-pc.local", "192.168.1.20"}) {
        EXPECT_EQ(refusals(identity, hostName), QList<QSslError::SslError>()) << hostName;
    }
    EXPECT_EQ(refusals(identity, "192.168.1.21"), QList{QSslError::HostNameMismatch});
    EXPECT_EQ(QFile::permissions(folder), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner |
                                              QFile::ReadUser | QFile::WriteUser | QFile::ExeUser);
    for (const QString& file : QDir(folder).entryList(QDir::Files)) {
        EXPECT_EQ(QFile::permissions(folder + '/' + file),
                  QFile::ReadOwner | QFile::WriteOwner | QFile::ReadUser | QFile::WriteUser)
            << file.toStdString();
    }
    EXPECT_EQ(QDir(folder).entryList(QDir::Files).size(), 4);
}

// The authority is kept until it is close to expiring; the server certificate is made again, signed
// by it, when it no longer names the machine or is close to expiring.
TEST(WebIdentity, TheServerCertificateIsMadeAgainOnlyWhenItNoLongerServes) {
    const QDateTime today = QDateTime::currentDateTimeUtc();
    const struct {
        const char* name;
        QStringList hostNames;
        QList<QHostAddress> addresses;
        QDateTime now;
        bool madeAgain;
        bool newAuthority = false;
    } cases[] = {
        {"Same", kNames, kAddresses, today, false},
        {"FewerNames", {"localhost"}, {QHostAddress::LocalHost}, today, false},
        {"NameInOtherCase", {"Shop-PC.local"}, {}, today, false},
        {"ANewAddress", kNames, kAddresses + QList{QHostAddress("10.0.0.7")}, today, true},
        {"ANewName", kNames + QStringList{"till"}, kAddresses, today, true},
        {"AMonthBeforeItExpires", kNames, kAddresses, today.addDays(365), false},
        {"WithinTheMonth", kNames, kAddresses, today.addDays(367), true},
        {"AuthorityNearlyTenYearsOld", kNames, kAddresses, today.addYears(10).addDays(-20), true, true},
    };
    for (const auto& c : cases) {
        const QTemporaryDir folder;
        const WebIdentity first = loadWebIdentity(folder.path(), kNames, kAddresses, today);
        const WebIdentity second = loadWebIdentity(folder.path(), c.hostNames, c.addresses, c.now);
        EXPECT_EQ(second.chain.last() != first.chain.last(), c.newAuthority) << c.name;
        EXPECT_EQ(second.chain.first().serialNumber() != first.chain.first().serialNumber(), c.madeAgain)
            << c.name;
        EXPECT_EQ(second.key == first.key, !c.madeAgain) << c.name;
        EXPECT_EQ(QSslCertificate::fromPath(folder.filePath("server.crt")), QList{second.chain.first()})
            << c.name;
        if (c.madeAgain && c.now == today) {
            EXPECT_EQ(refusals(second, c.hostNames.last()), QList<QSslError::SslError>()) << c.name;
        }
    }
}

TEST(WebIdentity, AFolderThatCannotBeMadeIsNamed) {
    const QTemporaryDir home;
    const QString folder = writeBytes(home.filePath("config"), "") + "/handheld-page";
    try {
        loadWebIdentity(folder, kNames, kAddresses);
        ADD_FAILURE() << "made in a folder under a file";
    } catch (const scanner::Failure& failure) {
        EXPECT_TRUE(QString(failure.what()).contains(folder)) << failure.what();
    }
}

// A handheld's camera reads the address back from the picture.
TEST(QrCodeImage, AReaderReadsTheTextBack) {
    const QByteArray address = "https://192.168.1.20:8443/pair?code=042917";
    const QImage image = qrCodeImage(address, 5);
    // Error correction M takes this address in a version 3 code, 29 modules a side.
    ASSERT_EQ(image.size(), QSize((29 + 8) * 5, (29 + 8) * 5));
    // The finder pattern's dark ring starts after the quiet zone; its light ring and the zone are white.
    EXPECT_EQ(image.pixelColor(4 * 5, 4 * 5), Qt::black);
    EXPECT_EQ(image.pixelColor(4 * 5 - 1, 4 * 5 - 1), Qt::white);
    EXPECT_EQ(image.pixelColor(5 * 5, 5 * 5), Qt::white);
    EXPECT_EQ(image.pixelColor(7 * 5, 7 * 5), Qt::black);
    EXPECT_TRUE(qrCodeImage(QByteArray(3000, 'x'), 5).isNull());
    const QString reader = QStandardPaths::findExecutable("zbarimg");
    if (reader.isEmpty()) {
        GTEST_SKIP() << "zbarimg (zbar-tools) is not installed";
    }
    const QTemporaryDir folder;
    ASSERT_TRUE(image.save(folder.filePath("code.png")));
    QProcess read;
    read.start(reader, {"--quiet", "--raw", folder.filePath("code.png")});
    ASSERT_TRUE(read.waitForFinished(30000));
    EXPECT_EQ(read.readAllStandardOutput().trimmed(), address);
}

}  // namespace
