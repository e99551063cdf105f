#include "imports/uploadrecognition.h"

#include <QFile>
#include <algorithm>

#include "platform/fileerror.h"

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

}  // namespace

QString uploadKindName(const UploadLoader& kind) {
    if (&kind == &stocktakeUpload()) {
        return QStringLiteral("a stocktake upload");
    }
    return &kind == &ordersUpload() ? QStringLiteral("a purchase order upload")
                                    : QStringLiteral("a goods-received upload");
}

QString uploadMismatch(const QString& path, const UploadLoader& kind) {
    QFile file(path);
    platform::openPlainFile(file, QIODevice::ReadOnly);
    const QByteArray sample = file.read(kSampleBytes);
    if (file.error() != QFileDevice::NoError) {
        throw platform::fileError(file);
    }
    if (mostlyNotText(sample)) {
        return QStringLiteral("this is not a text file");
    }
    const QByteArray line = firstLine(sample);
    for (const UploadLoader* other : {&stocktakeUpload(), &ordersUpload(), &goodsReceivedUpload()}) {
        if (other != &kind && line.startsWith(other->headerPrefix.toLatin1())) {
            return QStringLiteral("this is ") + uploadKindName(*other);
        }
    }
    return QString();
}
