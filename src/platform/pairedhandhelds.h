#pragma once

#include <QDateTime>
#include <QList>
#include <QString>
#include <optional>

// The handhelds paired with the transfer utility's handheld page. A handheld pairs once, by typing
// the code the utility shows, and from then on shows the device token it was given. The file keeps
// each handheld's name and times and only a digest of its token, so that reading the file lets no
// one in.
namespace platform {

struct PairedHandheld {
    QString name;
    QDateTime pairedAt;
    // Invalid when the handheld has not come back since it paired.
    QDateTime lastUsed;
};

// "handhelds.ini" in the folder of the scanner settings file.
QString pairedHandheldsPath();

// The handhelds paired in the file at `path`, by name; a missing file pairs none. A record that is
// damaged (no name, or no token digest) is left out: it could let no handheld in. Raises
// ProgramError naming the file when it is there but cannot be read.
QList<PairedHandheld> readPairedHandhelds(const QString& path);

// Pairs `name` anew, or gives the handheld of that name a new token in place of its old one, and
// gives the token: 32 random bytes from the system's cryptographic source, base64url without
// padding. The file is written whole and is the user's alone (mode 600), in a folder of the user's
// alone. Raises ProgramError naming the file when it cannot be written.
QString pairHandheld(const QString& path, const QString& name, const QDateTime& now);

// The name of the handheld that holds `token`, or nothing. The handheld found is marked used at
// `now`; when that cannot be written it is let in all the same. Raises ProgramError naming the file
// when it is there but cannot be read.
std::optional<QString> handheldWithToken(const QString& path, const QString& token, const QDateTime& now);

// Takes the handheld `name` out, so that its token lets it in no more; false when no handheld of
// that name is paired. Raises ProgramError naming the file when it cannot be written.
bool forgetHandheld(const QString& path, const QString& name);

}  // namespace platform
