#include "imports/uploadrecognition.h"

#include <QFile>
#include <QFileInfo>
#include <algorithm>

#include "platform/fileerror.h"
#include "platform/scannerfiles.h"

namespace {

constexpr qint64 kSampleBytes = 4096;

bool controlByte(char byte) {
    const auto value = static_cast<unsigned char>(byte);
    return (value < 0x20 && byte != '\r' && byte != '\n' && byte != '\t') || value == 0x7f;
}

bool mostlyNotText(const QByteArray& sample) {
    const auto controls = std::count_if(sample.cbegin(), sample.cend(), controlByte);
    return controls * 10 > sample.size();
}

// The first line of the sample, without the blanks the processing trims.
QByteArray firstLine(const QByteArray& sample) {
    const qsizetype end = sample.indexOf('\r') < 0 ? sample.indexOf('\n') : sample.indexOf('\r');
    return (end < 0 ? sample : sample.left(end)).trimmed();
}

const QList<const UploadLoader*>& uploadKinds() {
    static const QList<const UploadLoader*> kinds{&stocktakeUpload(), &ordersUpload(),
                                                  &goodsReceivedUpload()};
    return kinds;
}

// The first 4 KB of the file at `path`.
QByteArray sampleOf(const QString& path) {
    QFile file(path);
    platform::openPlainFile(file, QIODevice::ReadOnly);
    const QByteArray sample = file.read(kSampleBytes);
    if (file.error() != QFileDevice::NoError) {
        throw platform::fileError(file);
    }
    return sample;
}

}  // namespace

QString uploadKindName(const UploadLoader& kind) {
    if (&kind == &stocktakeUpload()) {
        return QStringLiteral("a stocktake upload");
    }
    return &kind == &ordersUpload() ? QStringLiteral("a purchase order upload")
                                    : QStringLiteral("a goods-received upload");
}

QString uploadMismatch(const QString& path, const UploadLoader& kind) {
    const QByteArray sample = sampleOf(path);
    if (mostlyNotText(sample)) {
        return QStringLiteral("this is not a text file");
    }
    const QByteArray line = firstLine(sample);
    for (const UploadLoader* other : uploadKinds()) {
        if (other != &kind && line.startsWith(other->headerPrefix.toLatin1())) {
            return QStringLiteral("this is ") + uploadKindName(*other);
        }
    }
    return QString();
}

const UploadLoader* recognisedUpload(const QString& path) {
    const QByteArray line = firstLine(sampleOf(path));
    const QString name = QFileInfo(path).fileName();
    const char* const names[] = {scannerfiles::kStocktake, scannerfiles::kOrders,
                                 scannerfiles::kGoodsReceived};
    for (qsizetype kind = 0; kind < uploadKinds().size(); ++kind) {
        if (line.startsWith(uploadKinds()[kind]->headerPrefix.toLatin1())) {
            return uploadKinds()[kind];
        }
    }
    for (qsizetype kind = 0; kind < uploadKinds().size(); ++kind) {
        if (name.compare(QLatin1String(names[kind]), Qt::CaseInsensitive) == 0) {
            return uploadKinds()[kind];
        }
    }
    return nullptr;
}
