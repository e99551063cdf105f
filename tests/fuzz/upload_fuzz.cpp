#include "fuzzharness.h"
#include "imports/goodsreceivedimport.h"
#include "imports/orderchooser.h"
#include "imports/ordersimport.h"
#include "imports/stocktakeimport.h"

namespace {

// The order details dialog as a user who picks supplier 7 and types `orderNo`.
struct FuzzOrderDetails : OrderChooser {
    OrderDetailsAnswer chooseOrder(const QString&, qint32) override { return {7, orderNo, false}; }
    QString orderNo;
};

}  // namespace

// One upload file through the loader that FUZZ_PROCESS names, which each upload target sets: the
// input's first byte chooses whether a lasting refusal stops the run (its lowest bit) and the
// order number the dialog answers; the rest is the file.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QString upload =
        size == 0 ? QString() : writeInput(QStringLiteral("upload.dat"), data + 1, size - 1);
    if (upload.isEmpty()) {
        return 0;
    }
    const bool stops = (data[0] & 1) != 0;
    FuzzProgram fuzz(stops);
    FuzzOrderDetails orderDetails;
    orderDetails.orderNo = QString::number(data[0] >> 1);
    fuzz.program.orderChooser = &orderDetails;
    fuzz.program.run.stopWhenTheShopCannotWrite = stops;

    const ProcessOutcome outcome = FUZZ_PROCESS(fuzz.program, upload);
    const UploadRun& run = fuzz.program.run;
    fuzzCheck(outcome != ProcessOutcome::NoFile, "an upload that is there is processed");
    fuzzCheck(run.audited >= 0 && run.failed >= 0 && run.loaded() >= 0, "the records' fates add up");
    fuzzCheck(run.refused <= run.failed, "a refused record is a failed one");
    fuzzCheck(run.stoppedAtLine == 0 || (stops && fuzz.shop.refusedForGood),
              "a run stops early only where the shop could not take writes");
    for (const QString& report : QDir::current().entryList({QStringLiteral("*.rep")}, QDir::Files)) {
        QFile::remove(report);
    }
    return 0;
}
