#include "imports/goodsreceivedimport.h"
#include "importtest.h"

namespace {

// One goods-received record, the remembered order number, the dialog's answer (nullptr: closed
// without OK) and the shop's, and what must follow, as for the other loaders.
struct GoodsCase {
    const char* line;
    const char* calls;
    const char* audit = nullptr;
    const char* error = "";
    double factor = 1;
    bool matches = true;
    qint32 found = 1;
    bool applyToAll = false;
    const char* chosenOrderNo = "";
    const char* dialogOrderNo = "5678";
};

void PrintTo(const GoodsCase& c, std::ostream* os) {
    *os << c.line;
}

class GoodsLoaderTest : public ImportTest, public testing::WithParamInterface<GoodsCase> {};

TEST_P(GoodsLoaderTest, SettlesTheOrderNumberThenWritesOrReportsTheRecord) {
    const GoodsCase& c = GetParam();
    factor = c.factor;
    matches = c.matches;
    found = c.found;
    modMain.bApplyOrderNoToAll = c.applyToAll;
    modMain.sChosenOrderNo = QLatin1String(c.chosenOrderNo);
    orderDetails.orderNo = c.dialogOrderNo ? std::optional(QLatin1String(c.dialogOrderNo)) : std::nullopt;
    load(fLoadGoodsRecPDTDetails, c.line);
    expectResult(c.calls, QStringLiteral("GoodsRecAuditFile.rep"), c.audit,
                 *c.error ? QLatin1String("Error in fLoadGoodsRecPDTDetails_Error=") + c.error : QString());
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(OrderNumbers, GoodsLoaderTest, testing::Values(
    GoodsCase{"57,931,,1234,3", "Find 931; Lookup 57; Match 57 931; Goods 57 1234 0 36 0 931", nullptr, "", 12},
    GoodsCase{"57,931, 7 , 12 ,2.5", "Find 931; Lookup 57; Match 57 931; Goods 57 12 7 2.5 0 931"},
    GoodsCase{"57,931,,12A,3", "Find 931", nullptr, "13-Type mismatch"},
    GoodsCase{"57,931,abc,1234,3", "Find 931", nullptr, "13-Type mismatch"},
    GoodsCase{"57,931,,abc,3", "Find 931; Dialog 931; Lookup 57; Match 57 931; Goods 57 5678 0 3 7 931"},
    GoodsCase{"57, 931 ,,  ,3", "Find 931; Dialog 931; Lookup 57; Match 57  931 ; Goods 57 5678 0 3 7 931"},
    GoodsCase{"57,931,,0,3", "Find 931; Lookup 57; Match 57 931; Goods 57 4321 0 3 0 931", nullptr, "", 1, true, 1,
              true, " 4321 "},
    GoodsCase{"57,931,,,3", "Find 931", nullptr, "13-Type mismatch", 1, true, 1, true, ""},
    GoodsCase{"57,931,,,3", "Find 931; Dialog 931; Lookup 57; Match 57 931; Goods 57 0 0 3 7 931", nullptr, "", 1, true,
              1, false, "", nullptr}));

INSTANTIATE_TEST_SUITE_P(Records, GoodsLoaderTest, testing::Values(
    GoodsCase{"57,NUXADEL,,1234,3", "", "Record has been deleted out of your scanner: BarCode = NUXADELQty = 3"},
    GoodsCase{"NXGRV100,0012345678905,,,3", "",
              "Record has been deleted out of your scanner: BarCode = 0012345678905Qty = 3"},
    GoodsCase{"57,9310012345678,,,4", "Find 9310012345678",
              "Error writing Stock barcode: BarCode = 9310012345678Qty = 4", "", 1, true, 0},
    GoodsCase{"57,0012345678905,,1,3", "Find 0012345678905; Lookup 57; Match 57 012345678905",
              "Error writing Stock barcode: Barcode = 012345678905Qty = 3", "", 1, false},
    GoodsCase{"57,0012345678905,,1,3",
              "Find 0012345678905; Lookup 57; Match 57 012345678905; Goods 57 1 0 3 0 0012345678905"},
    GoodsCase{",931,,1,3", "Find 931; Match 0 931; Goods 0 1 0 0 0 931"},
    GoodsCase{"57,931,,1", "Find 931; Lookup 57; Match 57 931", nullptr, "9-Subscript out of range"},
    GoodsCase{"57,931,,1,1e300", "Find 931; Lookup 57; Match 57 931", nullptr, "6-Overflow", 1e10},
    GoodsCase{"57,931,,99999999999,3", "", nullptr, "6-Overflow"}));
// clang-format on

TEST_F(ImportTest, AGoodsRecordWithThreeFieldsLeavesTheCurrentBarcode) {
    modMain.sCurrentBarcode = QStringLiteral("earlier");
    load(fLoadGoodsRecPDTDetails, "57,931,1");
    EXPECT_EQ(modMain.sCurrentBarcode, QStringLiteral("earlier"));
    expectResult("", QString(), nullptr,
                 QStringLiteral("Error in fLoadGoodsRecPDTDetails_Error=9-Subscript out of range"));
}

// Yes applies the dialog's order number to the file's later blank ones; No asks again each time.
TEST_F(ImportTest, ApplyToAllSparesTheDialogForTheRestOfTheFile) {
    menu.path = writeFile(QStringLiteral("Goods.dat"), "NXGRV100\r\n57,931,,,1\r\n57,931,,0,1\r\n");
    orderDetails.orderNo = QStringLiteral("5678");
    for (const bool yes : {true, false}) {
        calls.clear();
        modMain.bApplyOrderNoToAll = false;
        orderDetails.applyToAll = yes;
        EXPECT_EQ(fProcessGoodsReceivedFile(modMain), ProcessOutcome::Completed);
        EXPECT_EQ(calls.filter(QStringLiteral("Dialog")).size(), yes ? 1 : 2);
        EXPECT_EQ(calls.filter(QStringLiteral("Goods 57 5678 0 1 7 931")).size(), 2);
    }
}

}  // namespace
