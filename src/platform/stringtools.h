#pragma once

#include "platform/stringtoolsobject.h"

// The string tools object of this platform: a plain split, the data sources of unixODBC, and
// the start-up checkpoints it remembers.
class StringTools : public StringToolsObject {
public:
    TextArray Split(const QString& text, QChar delimiter) override;
    QString ListDataSources() override;
    void Checkpoint(qint32 code, const QString& text) override;

    // The code of the last checkpoint reached, 0 before the first.
    qint32 lastCheckpoint() const { return lastCheckpoint_; }

private:
    qint32 lastCheckpoint_ = 0;
};
