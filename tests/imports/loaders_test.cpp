#include "imports/ordersimport.h"
#include "imports/stocktakeimport.h"
#include "importtest.h"

namespace {

// One record, how the shop answers it, and what must follow: the shop calls, the audit message
// (nullptr: none) and the loader's error box after its prefix (empty: none).
struct LoaderCase {
    const char* line;
    const char* calls;
    const char* audit = nullptr;
    const char* error = "";
    double factor = 1;
    bool ok = true;  // the stocktake write's answer; the orders barcode match's answer
};

void PrintTo(const LoaderCase& c, std::ostream* os) {
    *os << c.line;
}

class StocktakeLoaderTest : public ImportTest, public testing::WithParamInterface<LoaderCase> {};
class OrdersLoaderTest : public ImportTest, public testing::WithParamInterface<LoaderCase> {};

TEST_P(StocktakeLoaderTest, WritesTheCountOrReportsTheRecord) {
    factor = GetParam().factor;
    writes = GetParam().ok;
    load(fLoadPDTDetails, GetParam().line);
    expectResult(
        GetParam().calls, QStringLiteral("StockTakeAuditFile.rep"), GetParam().audit,
        *GetParam().error ? QLatin1String("Error in fLoadPDTDetails_Error=") + GetParam().error : QString());
}

// The order write's answer is never looked at: here it always refuses.
TEST_P(OrdersLoaderTest, WritesTheOrderOrReportsTheRecord) {
    factor = GetParam().factor;
    matches = GetParam().ok;
    writes = false;
    load(fLoadOrderPDTDetails, GetParam().line);
    expectResult(GetParam().calls, QStringLiteral("OrdersAuditFile.rep"), GetParam().audit,
                 *GetParam().error ? QLatin1String("Error in fLoadOrderPDTDetails_Error=") + GetParam().error
                                   : QString());
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Records, StocktakeLoaderTest, testing::Values(
    LoaderCase{"57,9310012345678,3", "Lookup 57; Count 57 3"},
    LoaderCase{"57,9310012345678,3", "Lookup 57; Count 57 36", nullptr, "", 12},
    LoaderCase{"57,9310012345678,2.5", "Lookup 57; Count 57 30", nullptr, "", 12},
    LoaderCase{"12.5,1,1", "Lookup 12; Count 12 1"},
    LoaderCase{"13.5,1,1", "Lookup 14; Count 14 1"},
    LoaderCase{"57,NUXADEL,3", "", "Record had been deleted in your scanner, record skipped: Barcode = NUXADELQty = 3"},
    LoaderCase{"NXSTV100,0012345678905,3", "",
               "Record had been deleted in your scanner, record skipped: Barcode = 012345678905Qty = 3"},
    LoaderCase{"0,0012345678905,4", "", "Error writing Stocktake barcode: Barcode = 012345678905Qty = 4"},
    LoaderCase{"abc, 0012345678905,4", "", "Error writing Stocktake barcode: Barcode =  0012345678905Qty = 4"},
    LoaderCase{"57,931,3", "Lookup 57; Count 57 3", "Error writing Stocktake barcode: Barcode = 931Qty = 3", "", 1, false},
    LoaderCase{"57,931", "Lookup 57", nullptr, "9-Subscript out of range"},
    LoaderCase{"99999999999,931,3", "", nullptr, "6-Overflow"},
    LoaderCase{"57,931,1e300", "Lookup 57", nullptr, "6-Overflow", 1e10}));

INSTANTIATE_TEST_SUITE_P(Records, OrdersLoaderTest, testing::Values(
    LoaderCase{"57,931,6", "Lookup 57; Match 57 931; Order 57 6"},
    LoaderCase{"57,931,6", "Lookup 57; Match 57 931; Order 57 3", nullptr, "", 0.5},
    LoaderCase{"0,0012345678905,6", "Match 0 012345678905; Order 0 0"},
    LoaderCase{"57,931,6", "Lookup 57; Match 57 931", "Error writing Stock barcode: Barcode = 931Qty = 6", "", 1, false},
    LoaderCase{"57,NUXADEL,6", "", "Record has been deleted in your scanner, record skipped: Barcode = NUXADELQty = 6"},
    LoaderCase{"NXORV100,0012345678905,6", "",
               "Record has been deleted in your scanner, record skipped: Barcode = 012345678905Qty = 6"},
    LoaderCase{"57,931", "Lookup 57; Match 57 931", nullptr, "9-Subscript out of range"},
    LoaderCase{"57,NUXADEL", "", nullptr, "9-Subscript out of range"},
    LoaderCase{"2147483648,931,6", "", nullptr, "6-Overflow"},
    LoaderCase{"57,931,1e300", "Lookup 57; Match 57 931", nullptr, "6-Overflow", 1e10}));
// clang-format on

// The audit report's own failure does not stop the file: each record still reaches the loader.
TEST_F(ImportTest, AnUnwritableReportLetsTheProcessingGoOn) {
    modMain.appPath = dir.filePath(QStringLiteral("missing"));
    menu.path = writeFile(QStringLiteral("Orders.dat"), "NXORV100\r\n1,NUXADEL,1\r\n2,NUXADEL,2\r\n");
    EXPECT_EQ(fProcessOrdersFile(modMain), ProcessOutcome::Completed);
    EXPECT_EQ(menu.statuses, QStringList({"Processing Barcode=1", "Processing Barcode=2"}));
    ASSERT_EQ(prompts.shown.size(), 2);
    EXPECT_TRUE(prompts.shown[1].startsWith(QLatin1String("Error in writing audit report = 76 - ")));
}

}  // namespace
