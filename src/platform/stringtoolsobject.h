#pragma once

#include <QString>

#include "platform/textarray.h"

// The string tools object: the outside helper that splits lines, lists the data sources and
// takes the start-up checkpoints. Operations raise ProgramError on failure.
class StringToolsObject {
public:
    virtual ~StringToolsObject() = default;

    // The pieces of text between delimiters, numbered from 1; empty pieces are kept.
    virtual TextArray Split(const QString& text, QChar delimiter) = 0;
    // Every registered data source as "name<TAB>description", entries joined by "|".
    virtual QString ListDataSources() = 0;
    // A point reached during start-up; nothing the program does depends on it.
    virtual void Checkpoint(qint32 code, const QString& text) = 0;
};
