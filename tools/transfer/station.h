#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

#include "fileprotocol.h"

// One end of a transfer as the utility drives it over the line: it is fed what arrived and the
// time, and read for what to send, how far it has come and how it stands.
class Station {
public:
    virtual ~Station() = default;

    virtual void start(fileprotocol::Millis now) = 0;
    virtual void received(QByteArrayView bytes, fileprotocol::Millis now) = 0;
    // Lets time pass: called at or after deadline().
    virtual void tick(fileprotocol::Millis now) = 0;
    // Gives the transfer up on the user's word.
    virtual void cancel() = 0;

    // The bytes to send now; taking them empties the queue.
    virtual QByteArray takeOutput() = 0;
    // Something the user should know now, such as the scanner offering the wrong file; empty when
    // there is nothing. Taking it empties it.
    virtual QString takeNotice() = 0;
    virtual fileprotocol::Progress progress() const = 0;
    virtual QString failure() const = 0;
    virtual fileprotocol::Millis deadline() const = 0;
    // True while the other end is linked up.
    virtual bool linked() const = 0;
    // Records moved so far, and how many the file holds (0 while that is not known yet).
    virtual int recordsMoved() const = 0;
    virtual int recordsInAll() const = 0;
};
