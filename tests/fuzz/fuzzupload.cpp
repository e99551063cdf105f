#include "fuzzupload.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "fakeprogress.h"
#include "fuzzshop.h"
#include "imports/orderchooser.h"
#include "platform/stringtools.h"
#include "startup/program.h"

namespace {

// The order details dialog as a user who picks supplier 7 and types `orderNo`.
class FuzzOrderDetails : public OrderChooser {
public:
    explicit FuzzOrderDetails(QString orderNo) : orderNo_(std::move(orderNo)) {}
    OrderDetailsAnswer chooseOrder(const QString&, qint32) override { return {7, orderNo_, false}; }

private:
    QString orderNo_;
};

const QTemporaryDir& folder() {
    static const QTemporaryDir dir;
    return dir;
}

}  // namespace

int fuzzUpload(const uint8_t* data, size_t size, ProcessOutcome (*process)(Program&, const QString&)) {
    if (size == 0) {
        return 0;
    }
    const QString upload = folder().filePath(QStringLiteral("upload.dat"));
    QFile file(upload);
    if (!file.open(QIODevice::WriteOnly) ||
        file.write(reinterpret_cast<const char*>(data) + 1, static_cast<qint64>(size - 1)) !=
            static_cast<qint64>(size - 1)) {
        return 0;
    }
    file.close();

    CountingPrompts prompts;
    StringTools tools;
    const bool stops = (data[0] & 1) != 0;
    FuzzShop shop(stops);
    FakeProgress menu;
    FuzzOrderDetails orderDetails(QString::number(data[0] >> 1));
    Program program(prompts, tools, shop, folder().path());
    program.progress = &menu;
    program.orderChooser = &orderDetails;
    program.run.stopWhenTheShopCannotWrite = stops;

    const ProcessOutcome outcome = process(program, upload);
    const UploadRun& run = program.run;
    fuzzCheck(outcome != ProcessOutcome::NoFile, "an upload that is there is processed");
    fuzzCheck(run.audited >= 0 && run.failed >= 0 && run.loaded() >= 0, "the records' fates add up");
    fuzzCheck(run.refused <= run.failed, "a refused record is a failed one");
    fuzzCheck(run.stoppedAtLine == 0 || (stops && shop.refusedForGood()),
              "a run stops early only where the shop could not take writes");
    for (const QString& report : QDir(folder().path()).entryList({QStringLiteral("*.rep")}, QDir::Files)) {
        QFile::remove(folder().filePath(report));
    }
    return 0;
}
