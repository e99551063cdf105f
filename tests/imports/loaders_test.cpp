#include "imports/goodsreceivedimport.h"
#include "imports/ordersimport.h"
#include "imports/stocktakeimport.h"
#include "importtest.h"

enum Loader { Stock, Order, Goods };

// Each loader, its report, its deleted-record and failure leads, and its error prefix.
const struct {
    void (*load)(Program&, TextArray&);
    const char* report;
    const char* deleted;
    const char* failed;
    const char* error;
} kLoaders[] = {
    {fLoadPDTDetails, "StockTakeAuditFile.rep", "Record had been deleted in your scanner, record skipped: ",
     "Error writing Stocktake barcode: ", "Error in fLoadPDTDetails_Error="},
    {fLoadOrderPDTDetails, "OrdersAuditFile.rep", "Record has been deleted in your scanner, record skipped: ",
     "Error writing Stock barcode: ", "Error in fLoadOrderPDTDetails_Error="},
    {fLoadGoodsRecPDTDetails, "GoodsRecAuditFile.rep", "Record has been deleted out of your scanner: ",
     "Error writing Stock barcode: ", "Error in fLoadGoodsRecPDTDetails_Error="}};

// What a record leaves besides the shop calls: nothing, an audit line (`text` after the loader's
// deleted-record or failure lead) or the loader's error box (`text` after its prefix).
enum Outcome { Quiet, Deleted, Failed, Error };

// One record for one loader, the shop's answers, the order number applied to all blank ones (none:
// nullptr) and the dialog's answer, and what must follow.
struct LoaderCase {
    Loader loader;
    const char* line;
    const char* calls;
    Outcome outcome = Quiet;
    const char* text = "";
    double factor = 1;
    bool ok = true;  // the barcode match's and the stocktake write's answer
    qint32 found = 1;
    const char* applied = nullptr;
    bool dialogOk = true;  // closed with OK and 5678, or without OK
};

void PrintTo(const LoaderCase& c, std::ostream* os) {
    *os << c.line;
}

// clang-format off
const LoaderCase kCases[] = {
    {Stock, "13.5,9310012345678,3", "Lookup 14; Count 14 36", Quiet, "", 12},
    {Stock, "12.5,9310012345678,2.5", "Lookup 12; Count 12 30", Quiet, "", 12},
    {Stock, "57,NUXADEL,3", "", Deleted, "Barcode = NUXADELQty = 3"},
    {Stock, "NXSTV100,0012345678905,3", "", Deleted, "Barcode = 012345678905Qty = 3"},
    {Stock, "0,0012345678905,4", "", Failed, "Barcode = 012345678905Qty = 4"},
    {Stock, "abc, 0012345678905,4", "", Failed, "Barcode =  0012345678905Qty = 4"},
    {Stock, "57,931,3", "Lookup 57; Count 57 3", Failed, "Barcode = 931Qty = 3", 1, false},
    {Stock, "57,931", "Lookup 57", Error, "9-Subscript out of range"},
    {Stock, "99999999999,931,3", "", Error, "6-Overflow"},
    {Stock, "57,931,1e300", "Lookup 57", Error, "6-Overflow", 1e10},

    // The order write's answer is never looked at: the shop always refuses it.
    {Order, "57,931,6", "Lookup 57; Match 57 931; Order 57 3", Quiet, "", 0.5},
    {Order, "0,0012345678905,6", "Match 0 012345678905; Order 0 0"},
    {Order, "57,931,6", "Lookup 57; Match 57 931", Failed, "Barcode = 931Qty = 6", 1, false},
    {Order, "57,NUXADEL,6", "", Deleted, "Barcode = NUXADELQty = 6"},
    {Order, "NXORV100,0012345678905,6", "", Deleted, "Barcode = 012345678905Qty = 6"},
    {Order, "57,931", "Lookup 57; Match 57 931", Error, "9-Subscript out of range"},
    {Order, "57,NUXADEL", "", Error, "9-Subscript out of range"},
    {Order, "2147483648,931,6", "", Error, "6-Overflow"},
    {Order, "57,931,1e300", "Lookup 57; Match 57 931", Error, "6-Overflow", 1e10},

    // FindBarcode and the written record get the barcode as scanned, the match the barcode rule's form.
    {Goods, "57,0012345678905,,1234,3",
     "Find 0012345678905; Lookup 57; Match 57 012345678905; Goods 57 1234 0 36 0 0012345678905", Quiet, "", 12},
    {Goods, "57,931, 7 , 12 ,2.5", "Find 931; Lookup 57; Match 57 931; Goods 57 12 7 2.5 0 931"},
    {Goods, "57,931,  ,12,2.5", "Find 931; Lookup 57; Match 57 931; Goods 57 12 0 2.5 0 931"},  // blanks: none
    {Goods, "57,931,,12A,3", "Find 931", Error, "13-Type mismatch"},
    {Goods, "57,931,abc,1234,3", "Find 931", Error, "13-Type mismatch"},
    {Goods, "57,931,,-3,2", "Find 931; Lookup 57; Match 57 931; Goods 57 -3 0 2 0 931"},  // its own, below 0
    {Goods, "57,931,,abc,3", "Find 931; Dialog 931; Lookup 57; Match 57 931; Goods 57 5678 0 3 7 931"},
    {Goods, "57, 931 ,,  ,3", "Find 931; Dialog 931; Lookup 57; Match 57  931 ; Goods 57 5678 0 3 7 931"},
    {Goods, "57,931,,,3", "Find 931", Error, "13-Type mismatch", 1, true, 1, ""},
    {Goods, "57,931,,,3", "Find 931; Dialog 931; Lookup 57; Match 57 931; Goods 57 0 0 3 7 931", Quiet, "", 1, true,
     1, nullptr, false},
    {Goods, "57,NUXADEL,,1234,3", "", Deleted, "BarCode = NUXADELQty = 3"},
    {Goods, "NXGRV100,0012345678905,,,3", "", Deleted, "BarCode = 0012345678905Qty = 3"},
    {Goods, "57,9310012345678,,,4", "Find 9310012345678", Failed, "BarCode = 9310012345678Qty = 4", 1, true, 0},
    {Goods, "57,0012345678905,,1,3", "Find 0012345678905; Lookup 57; Match 57 012345678905", Failed,
     "Barcode = 012345678905Qty = 3", 1, false},
    {Goods, ",931,,1,3", "Find 931; Match 0 931; Goods 0 1 0 0 0 931"},
    {Goods, "57,931,,1", "Find 931; Lookup 57; Match 57 931", Error, "9-Subscript out of range"},
    {Goods, "57,931,,99999999999,3", "", Error, "6-Overflow"},
};
// clang-format on

class LoaderTest : public ImportTest, public testing::WithParamInterface<LoaderCase> {};

TEST_P(LoaderTest, WritesTheRecordOrReportsIt) {
    const LoaderCase& c = GetParam();
    const auto& loader = kLoaders[c.loader];
    factor = c.factor;
    ok = c.ok;
    found = c.found;
    program.modMain.goods.bApplyOrderNoToAll = c.applied != nullptr;
    program.modMain.goods.sChosenOrderNo = QLatin1String(c.applied);
    dialogOrderNo = c.dialogOk ? dialogOrderNo : std::nullopt;
    TextArray fields = tools.Split(QLatin1String(c.line), u',');
    loader.load(program, fields);
    EXPECT_EQ(calls.join("; "), QLatin1String(c.calls));
    const bool audited = c.outcome == Deleted || c.outcome == Failed;
    const QByteArray lead = c.outcome == Deleted ? loader.deleted : loader.failed;
    EXPECT_EQ(readFile(loader.report),
              audited ? "\"04/12/2026 02:45 pm-" + lead + c.text + "\"\r\n" : "<none>");
    EXPECT_EQ(prompts.shown.join('|'), audited              ? QString(kWarning)
                                       : c.outcome == Error ? loader.error + QString(c.text)
                                                            : QString());
}

INSTANTIATE_TEST_SUITE_P(Records, LoaderTest, testing::ValuesIn(kCases));

// Yes to "apply to all" spares the dialog for the file's later blank order numbers, No asks again;
// a record of three fields fails before it takes its barcode. Each processing starts a session and,
// with or without a file, ends with the completion text.
TEST_F(ImportTest, GoodsProcessingAsksForEachBlankOrderNumberUntilYes) {
    upload = writeFile("Goods.dat", "NXGRV100\r\n57,931,,,1\r\n57,931,,0,1\r\n57,999,1\r\n");
    for (const bool yes : {true, false}) {
        calls.clear();
        program.modMain.goods.bApplyOrderNoToAll = false;
        dialogAppliesToAll = yes;
        EXPECT_EQ(fProcessGoodsReceivedFile(program, upload), ProcessOutcome::Completed);
        EXPECT_EQ(calls.filter("Dialog").size(), yes ? 1 : 2);
        EXPECT_EQ(calls.filter("Goods 57 5678 0 1 7 931").size(), 2);
        EXPECT_EQ(calls.first() + '|' + menu.status(), "Start -1 5 2|Completed Processing Barcodes");
    }
    EXPECT_EQ(prompts.shown,
              QStringList(2, "Error in fLoadGoodsRecPDTDetails_Error=9-Subscript out of range"));
    // Each dialog opens on the supplier the last one settled.
    EXPECT_EQ(chosenFrom, QList<qint32>({0, 7, 7}));
    calls.clear();
    menu.statuses.clear();
    upload = dir.filePath("None.dat");
    EXPECT_EQ(fProcessGoodsReceivedFile(program, upload), ProcessOutcome::NoFile);
    EXPECT_EQ(calls, QStringList{"Start -1 5 2"});
    EXPECT_EQ(menu.statuses, QStringList{"Completed Processing Barcodes"});
}
