#pragma once

#include <QDateTime>
#include <QHostAddress>
#include <QList>
#include <QSslCertificate>
#include <QSslKey>
#include <QString>
#include <QStringList>

// What the utility shows the handhelds' browsers when it serves the handheld page over HTTPS: a
// server certificate signed by a certificate authority of the program's own, which each handheld
// is given once to trust.
struct WebIdentity {
    // The server certificate, then the authority's.
    QList<QSslCertificate> chain;
    // The server certificate's private key.
    QSslKey key;
    // The authority's certificate, for the handhelds to install.
    QString authorityPath;
};

// Loads the identity kept in `folder`, making what is missing the first time. The folder is made
// the user's alone (mode 700) and holds
//  - authority.crt, authority.key: the authority, an EC P-256 key, valid ten years, named after
//    this machine;
//  - server.crt, server.key: an EC P-256 key and its certificate for the names `hostNames` and the
//    addresses `addresses`, valid 397 days (what browsers take), signed by the authority.
// Each file is the user's alone (mode 600) and written whole. The server certificate is made again,
// the authority kept, when it expires within 30 days of `now` or lacks one of the names or
// addresses; the authority is made again only when it is missing, damaged or expires within 30
// days. Raises scanner::Failure naming the file, and what to do, when one cannot be read or written.
WebIdentity loadWebIdentity(const QString& folder, const QStringList& hostNames,
                            const QList<QHostAddress>& addresses,
                            const QDateTime& now = QDateTime::currentDateTimeUtc());
