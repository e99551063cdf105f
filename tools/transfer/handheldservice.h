#pragma once

#include <QByteArray>
#include <QObject>
#include <QString>

#include "httpreply.h"
#include "httprequest.h"

// What one transfer offers the handheld page: the item file to take, or the upload it waits for.
struct HandheldOffer {
    bool sending = true;
    // rmItems.dat, or the upload's Stock.dat, Orders.dat or Goods.dat.
    QString fileName;
    // A send's item file, whole, and its number of records.
    QByteArray itemFile;
    int itemRecords = 0;
    // Where a receive writes the upload.
    QString uploadPath;
};

// The handheld page's side of one transfer: pairs handhelds with the code the PC shows, and answers
// each request of the page, letting only paired handhelds near the item file and the uploads.
class HandheldService : public QObject {
    Q_OBJECT

public:
    // `handheldsPath`: the paired handhelds' file; `pairingCode`: the six digits this transfer shows.
    HandheldService(HandheldOffer offer, QString handheldsPath, QString pairingCode);

    HttpReply answer(const HttpRequest& request);

signals:
    // A paired handheld called: it is linked up, and the transfer's wait starts again.
    void heard(const QString& handheld);
    void progressed(int recordsMoved, int recordsInAll);
    // The item file was taken whole, the upload written whole, or the upload could not be written.
    void finished(bool succeeded, const QString& failure);

private:
    HttpReply pair(const QByteArray& body);
    HttpReply describe(const QString& handheld) const;
    HttpReply items() const;
    HttpReply taken(const QByteArray& body);
    HttpReply upload(const QByteArray& body);

    HandheldOffer offer_;
    QString handheldsPath_;
    QString pairingCode_;
    int wrongCodes_ = 0;
    bool over_ = false;
};
