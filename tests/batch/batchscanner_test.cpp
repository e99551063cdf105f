// The batch's scanner commands over a real line: the exit status tells a schedule whether the item
// file reached the scanner and whether an upload came in and was loaded.
#include <QFile>

#include "../tools/scannerline.h"
#include "batchprogram.h"
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
