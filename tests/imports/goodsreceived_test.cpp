#include "imports/goodsreceivedimport.h"
#include "importtest.h"

namespace {

// One goods-received record, the remembered order number and dialog answer, how the shop answers,
// and what must follow. The dialog answers OK with `dialogOrderNo` (none: closed without OK) and
// picks supplier 7.
struct GoodsCase {
    const char* line;
    QStringList calls;
    const char* audit;  // the audit message, nullptr for none
    const char* error;  // the loader's error box, nullptr for none
    double factor = 1;
    bool matches = true;
    qint32 found = 1;
    bool applyToAll = false;
    const char* chosenOrderNo = "";
    std::optional<QString> dialogOrderNo = QStringLiteral("5678");
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
    orderDetails.orderNo = c.dialogOrderNo;
    load(fLoadGoodsRecPDTDetails, QLatin1String(c.line));
    expectResult(c.calls, QStringLiteral("GoodsRecAuditFile.rep"), c.audit, c.error);
}

const QStringList kFind = {"FindBarcode 9310012345678"};
const QStringList kDialog = {"OrderDetails 9310012345678"};
const QStringList kMatch57 = {"LookupStockItem 57", "MatchItemBarcode 57 9310012345678"};
constexpr const char* kTypeMismatch = "Error in fLoadGoodsRecPDTDetails_Error=13-Type mismatch";

INSTANTIATE_TEST_SUITE_P(
    OrderNumbers, GoodsLoaderTest,
    testing::Values(
        GoodsCase{"57,9310012345678,,1234,3",
                  kFind + kMatch57 + QStringList{"WriteGoodsReceived 57 1234 0 36 0 9310012345678"}, nullptr,
                  nullptr, 12},
        GoodsCase{"57,9310012345678, 7 , 12 ,2.5",
                  kFind + kMatch57 + QStringList{"WriteGoodsReceived 57 12 7 2.5 0 9310012345678"}, nullptr,
                  nullptr},
        GoodsCase{"57,9310012345678,,12A,3", kFind, nullptr, kTypeMismatch},
        GoodsCase{"57,9310012345678,abc,1234,3", kFind, nullptr, kTypeMismatch},
        GoodsCase{"57,9310012345678,,abc,3",
                  kFind + kDialog + kMatch57 + QStringList{"WriteGoodsReceived 57 5678 0 3 7 9310012345678"},
                  nullptr, nullptr},
        GoodsCase{"57, 9310012345678 ,,  ,3",
                  kFind + kDialog +
                      QStringList{"LookupStockItem 57", "MatchItemBarcode 57  9310012345678 ",
                                  "WriteGoodsReceived 57 5678 0 3 7 9310012345678"},
                  nullptr, nullptr},
        GoodsCase{"57,9310012345678,,0,3",
                  kFind + kMatch57 + QStringList{"WriteGoodsReceived 57 4321 0 3 0 9310012345678"}, nullptr,
                  nullptr, 1, true, 1, true, " 4321 "},
        GoodsCase{"57,9310012345678,,,3", kFind, nullptr, kTypeMismatch, 1, true, 1, true, ""},
        GoodsCase{"57,9310012345678,,,3",
                  kFind + kDialog + kMatch57 + QStringList{"WriteGoodsReceived 57 0 0 3 7 9310012345678"},
                  nullptr, nullptr, 1, true, 1, false, "", std::nullopt}));

INSTANTIATE_TEST_SUITE_P(
    Records, GoodsLoaderTest,
    testing::Values(
        GoodsCase{"57,NUXADEL,,1234,3",
                  {},
                  "Record has been deleted out of your scanner: BarCode = NUXADELQty = 3",
                  nullptr},
        GoodsCase{"NXGRV100,0012345678905,,,3",
                  {},
                  "Record has been deleted out of your scanner: BarCode = 0012345678905Qty = 3",
                  nullptr},
        GoodsCase{"57,9310012345678,,,4", kFind,
                  "Error writing Stock barcode: BarCode = 9310012345678Qty = 4", nullptr, 1, true, 0},
        GoodsCase{"57,0012345678905,,1234,3",
                  {"FindBarcode 0012345678905", "LookupStockItem 57", "MatchItemBarcode 57 012345678905"},
                  "Error writing Stock barcode: Barcode = 012345678905Qty = 3",
                  nullptr,
                  1,
                  false},
        GoodsCase{"57,0012345678905,,1234,3",
                  {"FindBarcode 0012345678905", "LookupStockItem 57", "MatchItemBarcode 57 012345678905",
                   "WriteGoodsReceived 57 1234 0 3 0 0012345678905"},
                  nullptr,
                  nullptr},
        GoodsCase{",9310012345678,,1234,3",
                  kFind + QStringList{"MatchItemBarcode 0 9310012345678",
                                      "WriteGoodsReceived 0 1234 0 0 0 9310012345678"},
                  nullptr, nullptr},
        GoodsCase{"57,9310012345678,,1234", kFind + kMatch57, nullptr,
                  "Error in fLoadGoodsRecPDTDetails_Error=9-Subscript out of range"},
        GoodsCase{"57,9310012345678,,1234,1e300", kFind + kMatch57, nullptr,
                  "Error in fLoadGoodsRecPDTDetails_Error=6-Overflow", 1e10},
        GoodsCase{"57,9310012345678,,99999999999,3",
                  {},
                  nullptr,
                  "Error in fLoadGoodsRecPDTDetails_Error=6-Overflow"}));

TEST_F(ImportTest, AGoodsRecordWithThreeFieldsLeavesTheCurrentBarcode) {
    modMain.sCurrentBarcode = QStringLiteral("earlier");
    load(fLoadGoodsRecPDTDetails, QStringLiteral("57,9310012345678,1"));
    EXPECT_EQ(modMain.sCurrentBarcode, QStringLiteral("earlier"));
    expectResult({}, QStringLiteral("GoodsRecAuditFile.rep"), nullptr,
                 "Error in fLoadGoodsRecPDTDetails_Error=9-Subscript out of range");
}

// Yes applies the dialog's order number to the file's later blank ones; No asks again each time.
TEST_F(ImportTest, ApplyToAllSparesTheDialogForTheRestOfTheFile) {
    menu.path = writeFile(QStringLiteral("Goods.dat"),
                          "NXGRV100\r\n57,9310012345678,,,1\r\n57,9310012345678,,0,1\r\n");
    orderDetails.orderNo = QStringLiteral("5678");
    for (const bool yes : {true, false}) {
        calls.clear();
        modMain.bApplyOrderNoToAll = false;
        orderDetails.applyToAll = yes;
        EXPECT_EQ(fProcessGoodsReceivedFile(modMain), ProcessOutcome::Completed);
        EXPECT_EQ(calls.filter(QStringLiteral("OrderDetails")).size(), yes ? 1 : 2);
        EXPECT_EQ(calls.filter(QStringLiteral("WriteGoodsReceived 57 5678 0 1 7 ")).size(), 2);
    }
}

}  // namespace
