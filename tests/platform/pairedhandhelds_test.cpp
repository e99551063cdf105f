#include "platform/pairedhandhelds.h"

#include <gtest/gtest.h>

#include <QCryptographicHash>
#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>

#include "platform/programerror.h"
#include "programfiles.h"
#include "raised.h"

namespace {

const QDateTime kMonday(QDate(2024, 5, 6), QTime(9, 30), Qt::UTC);
const QDateTime kTuesday = kMonday.addDays(1);

// A handheld pairs and is let in by its token alone, marked used; pairing the same name again
// takes the old token's place; a forgotten handheld is let in no more. The file keeps no token,
// and no one but the user can read it.
TEST(PairedHandhelds, ATokenLetsItsHandheldInUntilItIsForgotten) {
    const QTemporaryDir home;
    const QString path = home.filePath("config/rmstockhand/handhelds.ini");
    EXPECT_TRUE(platform::readPairedHandhelds(path).isEmpty());
    EXPECT_EQ(platform::handheldWithToken(path, "anything", kMonday), std::nullopt);
    const QString first = platform::pairHandheld(path, "till", kMonday);
    const QString back = platform::pairHandheld(path, "Back room", kMonday);
    EXPECT_TRUE(QRegularExpression("^[A-Za-z0-9_-]{43}$").match(first).hasMatch()) << first.toStdString();
    EXPECT_NE(first, back);
    EXPECT_EQ(QFile::permissions(path),
              QFile::ReadOwner | QFile::WriteOwner | QFile::ReadUser | QFile::WriteUser);
    EXPECT_FALSE(readBytes(path).contains(first.toLatin1()));

    EXPECT_EQ(platform::handheldWithToken(path, back, kTuesday), "Back room");
    for (const QString& wrong : {QString(), first.chopped(1), first + 'x', back.toUpper()}) {
        EXPECT_EQ(platform::handheldWithToken(path, wrong, kTuesday), std::nullopt) << wrong.toStdString();
    }
    const QList<platform::PairedHandheld> paired = platform::readPairedHandhelds(path);
    ASSERT_EQ(paired.size(), 2);
    EXPECT_EQ(paired[0].name, "Back room");
    EXPECT_EQ(paired[0].pairedAt, kMonday);
    EXPECT_EQ(paired[0].lastUsed, kTuesday);
    EXPECT_EQ(paired[1].name, "till");
    EXPECT_FALSE(paired[1].lastUsed.isValid());

    const QString again = platform::pairHandheld(path, "till", kTuesday);
    EXPECT_EQ(platform::handheldWithToken(path, first, kTuesday), std::nullopt);
    EXPECT_EQ(platform::handheldWithToken(path, again, kTuesday), "till");
    EXPECT_EQ(platform::readPairedHandhelds(path).size(), 2);
    EXPECT_FALSE(platform::forgetHandheld(path, "Till"));
    EXPECT_TRUE(platform::forgetHandheld(path, "till"));
    EXPECT_EQ(platform::handheldWithToken(path, again, kTuesday), std::nullopt);
    EXPECT_EQ(platform::readPairedHandhelds(path).size(), 1);
}

// Whatever a handheld is called comes back as it was paired, and is taken out by that name.
TEST(PairedHandhelds, AnyNameComesBackAsItWasPaired) {
    const QTemporaryDir home;
    const QString path = home.filePath("handhelds.ini");
    const QStringList names{"100% stock", "two\nlines", "  spaced  ", "a=b", "[handheld]", "Crème brûlée"};
    for (const QString& name : names) {
        platform::pairHandheld(path, name, kMonday);
    }
    QStringList read;
    for (const platform::PairedHandheld& handheld : platform::readPairedHandhelds(path)) {
        read << handheld.name;
    }
    EXPECT_EQ(read,
              QStringList({"  spaced  ", "100% stock", "[handheld]", "a=b", "Crème brûlée", "two\nlines"}));
    EXPECT_TRUE(platform::forgetHandheld(path, "two\nlines"));
}

// A damaged file lets no one in and pairs only the handhelds it still holds whole.
TEST(PairedHandhelds, ADamagedFileLetsNoOneIn) {
    const QByteArray digest = QCryptographicHash::hash("token", QCryptographicHash::Sha256).toHex();
    const struct {
        const char* name;
        QByteArray text;
        qsizetype paired;
    } cases[] = {
        {"DigestCutShort", "[handheld]\nname=a\ntoken-sha256=" + digest.left(62) + '\n', 0},
        {"NoName", "[handheld]\ntoken-sha256=" + digest + '\n', 0},
        {"EmptyDigest", "[handheld]\nname=a\ntoken-sha256=\n", 0},
        {"NotInASection", "name=a\ntoken-sha256=" + digest + '\n', 0},
        {"Garbage", QByteArray("\0\xff[handheld\n=\n==", 16), 0},
        {"DigestNotHex", "[handheld]\nname=a\ntoken-sha256=" + QByteArray(64, 'z') + '\n', 0},
        {"OtherSectionAfter", "[handheld]\nname=a\ntoken-sha256=" + digest.left(10) + "\n[x]\nname=b\n", 0},
        {"BadTimes", "[handheld]\nname=a\ntoken-sha256=" + digest.chopped(2) + "00\npaired=May\n", 1},
    };
    for (const auto& c : cases) {
        const QTemporaryDir home;
        const QString path = home.filePath("handhelds.ini");
        writeBytes(path, c.text);
        EXPECT_EQ(platform::readPairedHandhelds(path).size(), c.paired) << c.name;
        EXPECT_EQ(platform::handheldWithToken(path, "token", kMonday), std::nullopt) << c.name;
        EXPECT_EQ(platform::handheldWithToken(path, "", kMonday), std::nullopt) << c.name;
    }
}

TEST(PairedHandhelds, AFileThatCannotBeWrittenIsNamed) {
    const QTemporaryDir home;
    QFile blocker(home.filePath("config"));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    const QString path = home.filePath("config/handhelds.ini");
    const ProgramError error = raised([&path] { platform::pairHandheld(path, "till", kMonday); });
    EXPECT_TRUE(error.description().startsWith("cannot write the paired handhelds to " + path))
        << error.description().toStdString();
}

}  // namespace
