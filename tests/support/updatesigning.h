#pragma once

#include "backendcrypto.h"
#include "updatepackage.h"

#include <QCryptographicHash>
#include <QFile>
#include <QString>

// A package-installer stand-in at path that writes what it was handed into marker; named to
// the program through QUELLNET_PACKAGE_INSTALLER.
inline bool useStandInInstaller(const QString &path, const QString &marker)
{
    QFile script(path);
    if (!script.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return false;
    script.write("#!/bin/sh\necho \"$1\" > '" + QFile::encodeName(marker) + "'\n");
    script.close();
    qputenv("QUELLNET_PACKAGE_INSTALLER", QFile::encodeName(path));
    return script.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}

// An offer for file, signed with the demo key the way the reference backend signs.
inline UpdateOffer signedOffer(const QString &file, const QString &version,
                               const QString &url = QString())
{
    QFile in(file);
    in.open(QIODevice::ReadOnly);
    const QByteArray bytes = in.readAll();
    UpdateOffer offer;
    offer.id = QStringLiteral("quellnet");
    offer.version = version;
    offer.url = url;
    offer.size = bytes.size();
    offer.sha256
        = QString::fromLatin1(QCryptographicHash::hash(bytes, QCryptographicHash::Sha256).toHex());
    QFile key(QStringLiteral(QUELLNET_BACKEND_DEMO_DIR "/update-signing-key.pem"));
    key.open(QIODevice::ReadOnly);
    const std::string statement
        = backend::updateStatement(offer.id.toStdString(), offer.version.toStdString(),
                                   uint64_t(offer.size), offer.sha256.toStdString());
    offer.signature = QString::fromStdString(
        backend::signEd25519Base64(key.readAll().toStdString(), statement));
    return offer;
}
