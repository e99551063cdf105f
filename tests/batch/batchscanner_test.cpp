// The batch's scanner commands over a real line: the exit status tells a schedule whether the item
// file reached the scanner and whether an upload came in and was loaded.
#include <QFile>
#include <QLockFile>

#include "../tools/scannerline.h"
#include "batchprogram.h"
#include "platform/pairedhandhelds.h"
#include "testshop.h"

TEST(BatchScanner, SendAndUploadSayWhetherTheScannerAnswered) {
    TestShop shop;
    shop.registerDemoShop(20);
    ASSERT_TRUE(QFile::copy(RM_BIN_DIR "/Tsr-tu3a.exe", shop.folder() + "/Tsr-tu3a.exe"));
    {
        const ScannerLine silent({"--fault", "silent"});
        const ProgramRun send = batch({"export-items", "--send"}, 1, std::nullopt, silent.environment());
        EXPECT_TRUE(send.errors.contains("Tsr-tu3a.exe: the scanner did not answer")) << send.errors.data();
        const ProgramRun upload = batch({"upload-stocktake"}, 1, std::nullopt, silent.environment());
        EXPECT_TRUE(upload.errors.contains("no scanner called")) << upload.errors.data();
        EXPECT_EQ(batch({"receive-stocktake"}, 1, std::nullopt, silent.environment()).output, "");
        EXPECT_FALSE(QFile::exists(shop.folder() + "/Stock.dat"));
    }
    const ScannerLine scanner;
    batch({"export-items", "--send"}, 0, std::nullopt, scanner.environment());
    EXPECT_EQ(readBytes(scanner.memory() + "/rmItems.dat"), readBytes(shop.folder() + "/rmItems.dat"));
    scanner.scan("stocktake", 12);
    // Received to be checked first: in the program's folder, and not imported.
    EXPECT_EQ(batch({"receive-stocktake"}, 0, std::nullopt, scanner.environment()).output,
              "The scanner's upload is in " + shop.folder() + "/Stock.dat\n");
    EXPECT_EQ(readBytes(shop.folder() + "/Stock.dat"), readBytes(scanner.memory() + "/Stock.dat"));
    EXPECT_FALSE(batch({"runs"}).output.contains("stocktake"));
    batch({"upload-stocktake"}, 0, std::nullopt, scanner.environment());
    const ProgramRun runs = batch({"runs"});
    EXPECT_TRUE(runs.output.contains("stocktake") && runs.output.contains("13 of 13")) << runs.output.data();
}

// The handhelds paired with the utility's page are listed and unpaired by name; a name that is not
// paired is refused with the ones that are, and a file held by another program is named.
TEST(BatchScanner, PairedHandheldsAreListedAndForgottenByName) {
    const TestShop shop;
    const QString handhelds = shop.folder() + "/settings/handhelds.ini";
    const QStringList environment{"RMSTOCKHAND_SCANNER_SETTINGS=" + shop.folder() + "/settings/scanner.ini"};
    const QByteArray none =
        "No handheld is paired. A handheld pairs by typing the code the transfer utility shows while it "
        "serves the handheld page.\n";
    EXPECT_EQ(batch({"scanner-devices"}, 0, "", environment).output, none);
    const QDateTime monday(QDate(2024, 5, 6), QTime(9, 30), Qt::UTC);
    platform::pairHandheld(handhelds, "till", monday);
    platform::pairHandheld(handhelds, "Back room", monday.addSecs(60));
    platform::handheldWithToken(handhelds, platform::pairHandheld(handhelds, "Cellar", monday),
                                monday.addDays(1));
    const struct {
        const char* name;
        QStringList arguments;
        int exitCode;
        QByteArray output, errors;
    } steps[] = {
        {"Listed",
         {"scanner-devices"},
         0,
         "Back room  paired 2024-05-06 09:31  never used\n"
         "Cellar     paired 2024-05-06 09:30  last used 2024-05-07 09:30\n"
         "till       paired 2024-05-06 09:30  never used\n",
         ""},
        {"NotPaired",
         {"forget", "Till"},
         1,
         "",
         "No handheld called \"Till\" is paired; the paired ones are \"Back room\", \"Cellar\", \"till\"\n"},
        {"Forgotten",
         {"forget", "Back room"},
         0,
         "Back room is no longer paired: it can neither take the item file nor send uploads\n",
         ""},
        {"ListedWithoutIt",
         {"scanner-devices"},
         0,
         "Cellar  paired 2024-05-06 09:30  last used 2024-05-07 09:30\n"
         "till    paired 2024-05-06 09:30  never used\n",
         ""},
        {"NoName",
         {"forget"},
         2,
         "",
         "rmstockhand-batch: forget needs the name of the handheld to forget: scanner-devices lists them\n"
         "rmstockhand-batch --help shows how to use it\n"},
    };
    for (const auto& step : steps) {
        const ProgramRun run = batch(step.arguments, step.exitCode, std::nullopt, environment);
        EXPECT_EQ(run.output, step.output) << step.name;
        EXPECT_EQ(run.errors, step.errors) << step.name;
    }
    QLockFile utilityWriting(handhelds + ".lock");
    ASSERT_TRUE(utilityWriting.lock());
    const QByteArray held = batch({"forget", "till"}, 1, std::nullopt, environment).errors;
    EXPECT_TRUE(held.startsWith("the paired handhelds in " + handhelds.toUtf8() + " are being written"))
        << held.data();
    EXPECT_EQ(platform::readPairedHandhelds(handhelds).size(), 2);
}
