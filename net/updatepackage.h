#pragma once

#include <QByteArray>
#include <QString>

// One entry of the backend's update document: where a newer version is, and what the signer
// said about the file.
struct UpdateOffer
{
    QString id;
    QString version;
    QString url;
    qint64 size = -1;
    QString sha256; // lowercase hex
    QString signature; // base64 Ed25519 over statement()
};

namespace UpdatePackage {

// Numeric dotted parts, missing parts count as 0: <0, 0 or >0 as a is older, equal, newer.
int compareVersions(const QString &a, const QString &b);
// Dotted numbers only: the version becomes part of a file name.
bool isUsableVersion(const QString &version);
// Whether the offered file is a package this system installs (a Debian package).
bool isInstallable(const QString &url);
// What the signature covers: id, version, size and hash, so none can be swapped.
QByteArray statement(const UpdateOffer &offer);
// Empty when file is the one the offer describes and the signature holds for publicKey (32
// raw bytes); otherwise why not, for the user.
QString verify(const QString &file, const UpdateOffer &offer, const QByteArray &publicKey);
// A folder of the user's own, 0700, for downloaded packages; empty when it cannot be made so.
QString downloadFolder();
// Opens the desktop's package installer on file; true when one was started.
bool handOver(const QString &file);

} // namespace UpdatePackage
