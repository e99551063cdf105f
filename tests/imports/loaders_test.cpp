#include "imports/ordersimport.h"
#include "imports/stocktakeimport.h"
#include "importtest.h"

namespace {

// One record of a loader, how the shop answers it, and what must follow.
struct LoaderCase {
    const char* line;
    QStringList calls;
    const char* audit;  // the audit message, nullptr for none
    const char* error;  // the loader's error box, nullptr for none
    double factor = 1;
    bool matches = true;
    bool writes = true;
};

void PrintTo(const LoaderCase& c, std::ostream* os) {
    *os << c.line;
}

class LoaderTest : public ImportTest, public testing::WithParamInterface<LoaderCase> {
protected:
    void run(void (*loader)(ModMain&, TextArray&), const char* report) {
        factor = GetParam().factor;
        matches = GetParam().matches;
        writes = GetParam().writes;
        load(loader, QLatin1String(GetParam().line));
        expectResult(GetParam().calls, QLatin1String(report), GetParam().audit, GetParam().error);
    }
};

class StocktakeLoaderTest : public LoaderTest {};
class OrdersLoaderTest : public LoaderTest {};

TEST_P(StocktakeLoaderTest, WritesTheCountOrReportsTheRecord) {
    run(fLoadPDTDetails, "StockTakeAuditFile.rep");
}
TEST_P(OrdersLoaderTest, WritesTheOrderOrReportsTheRecord) {
    run(fLoadOrderPDTDetails, "OrdersAuditFile.rep");
}

const QStringList kLookup57 = {"LookupStockItem 57"};
const QStringList kMatch57 = {"LookupStockItem 57", "MatchItemBarcode 57 9310012345678"};

INSTANTIATE_TEST_SUITE_P(
    Records, StocktakeLoaderTest,
    testing::Values(
        LoaderCase{"57,9310012345678,3", kLookup57 + QStringList{"WriteStocktakeQty 57 3"}, nullptr, nullptr},
        LoaderCase{"57,9310012345678,3", kLookup57 + QStringList{"WriteStocktakeQty 57 36"}, nullptr, nullptr,
                   12},
        LoaderCase{"57,9310012345678,2.5", kLookup57 + QStringList{"WriteStocktakeQty 57 30"}, nullptr,
                   nullptr, 12},
        LoaderCase{"12.5,1,1", {"LookupStockItem 12", "WriteStocktakeQty 12 1"}, nullptr, nullptr},
        LoaderCase{"13.5,1,1", {"LookupStockItem 14", "WriteStocktakeQty 14 1"}, nullptr, nullptr},
        LoaderCase{"57,NUXADEL,3",
                   {},
                   "Record had been deleted in your scanner, record skipped: Barcode = NUXADELQty = 3",
                   nullptr},
        LoaderCase{"NXSTV100,0012345678905,3",
                   {},
                   "Record had been deleted in your scanner, record skipped: Barcode = 012345678905Qty = 3",
                   nullptr},
        LoaderCase{"0,0012345678905,4",
                   {},
                   "Error writing Stocktake barcode: Barcode = 012345678905Qty = 4",
                   nullptr},
        LoaderCase{"abc, 0012345678905,4",
                   {},
                   "Error writing Stocktake barcode: Barcode =  0012345678905Qty = 4",
                   nullptr},
        LoaderCase{"57,9310012345678,3", kLookup57 + QStringList{"WriteStocktakeQty 57 3"},
                   "Error writing Stocktake barcode: Barcode = 9310012345678Qty = 3", nullptr, 1, true,
                   false},
        LoaderCase{"57,9310012345678", kLookup57, nullptr,
                   "Error in fLoadPDTDetails_Error=9-Subscript out of range"},
        LoaderCase{"99999999999,1,3", {}, nullptr, "Error in fLoadPDTDetails_Error=6-Overflow"},
        LoaderCase{"57,1,1e300", kLookup57, nullptr, "Error in fLoadPDTDetails_Error=6-Overflow", 1e10}));

INSTANTIATE_TEST_SUITE_P(
    Records, OrdersLoaderTest,
    testing::Values(
        LoaderCase{"57,9310012345678,6", kMatch57 + QStringList{"WriteOrderQty 57 6"}, nullptr, nullptr},
        LoaderCase{"57,9310012345678,6", kMatch57 + QStringList{"WriteOrderQty 57 3"}, nullptr, nullptr, 0.5},
        LoaderCase{"57,9310012345678,6", kMatch57 + QStringList{"WriteOrderQty 57 6"}, nullptr, nullptr, 1,
                   true, false},
        LoaderCase{
            "0,0012345678905,6", {"MatchItemBarcode 0 012345678905", "WriteOrderQty 0 0"}, nullptr, nullptr},
        LoaderCase{"57,9310012345678,6", kMatch57,
                   "Error writing Stock barcode: Barcode = 9310012345678Qty = 6", nullptr, 1, false},
        LoaderCase{"57,NUXADEL,6",
                   {},
                   "Record has been deleted in your scanner, record skipped: Barcode = NUXADELQty = 6",
                   nullptr},
        LoaderCase{"NXORV100,0012345678905,6",
                   {},
                   "Record has been deleted in your scanner, record skipped: Barcode = 012345678905Qty = 6",
                   nullptr},
        LoaderCase{"57,9310012345678", kMatch57, nullptr,
                   "Error in fLoadOrderPDTDetails_Error=9-Subscript out of range"},
        LoaderCase{"57,NUXADEL", {}, nullptr, "Error in fLoadOrderPDTDetails_Error=9-Subscript out of range"},
        LoaderCase{"2147483648,1,6", {}, nullptr, "Error in fLoadOrderPDTDetails_Error=6-Overflow"},
        LoaderCase{"57,9310012345678,1e300", kMatch57, nullptr,
                   "Error in fLoadOrderPDTDetails_Error=6-Overflow", 1e10}));

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
