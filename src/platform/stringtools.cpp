#include "platform/stringtools.h"

#include "platform/odbcregistry.h"

TextArray StringTools::Split(const QString& text, QChar delimiter) {
    return TextArray(text.split(delimiter));
}

QString StringTools::ListDataSources() {
    return platform::dataSources().join(QLatin1Char('|'));
}

void StringTools::Checkpoint(qint32 code, const QString& /*text*/) {
    lastCheckpoint_ = code;
}
