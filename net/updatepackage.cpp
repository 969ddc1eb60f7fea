#include "updatepackage.h"

#include <QCoreApplication>
#include <QCryptographicHash>
#include <QFile>
#include <QRegularExpression>
#include <QStringList>
#include <QUrl>

#include <openssl/evp.h>

#include <memory>

namespace {

class UpdatePackageText
{
    Q_DECLARE_TR_FUNCTIONS(UpdatePackageText)
};

bool signatureHolds(const QByteArray &message, const QByteArray &signature,
                    const QByteArray &publicKey)
{
    const std::unique_ptr<EVP_PKEY, decltype(&EVP_PKEY_free)> key(
        EVP_PKEY_new_raw_public_key(EVP_PKEY_ED25519, nullptr,
                                    reinterpret_cast<const unsigned char *>(publicKey.constData()),
                                    size_t(publicKey.size())),
        &EVP_PKEY_free);
    const std::unique_ptr<EVP_MD_CTX, decltype(&EVP_MD_CTX_free)> ctx(EVP_MD_CTX_new(),
                                                                      &EVP_MD_CTX_free);
    if (!key || !ctx || EVP_DigestVerifyInit(ctx.get(), nullptr, nullptr, nullptr, key.get()) != 1)
        return false;
    return EVP_DigestVerify(
               ctx.get(), reinterpret_cast<const unsigned char *>(signature.constData()),
               size_t(signature.size()),
               reinterpret_cast<const unsigned char *>(message.constData()), size_t(message.size()))
        == 1;
}

} // namespace

int UpdatePackage::compareVersions(const QString &a, const QString &b)
{
    const QStringList left = a.trimmed().split(QLatin1Char('.'));
    const QStringList right = b.trimmed().split(QLatin1Char('.'));
    for (int i = 0; i < qMax(left.size(), right.size()); ++i) {
        const qulonglong x = left.value(i).toULongLong();
        const qulonglong y = right.value(i).toULongLong();
        if (x != y)
            return x < y ? -1 : 1;
    }
    return 0;
}

bool UpdatePackage::isUsableVersion(const QString &version)
{
    static const QRegularExpression kVersion(QStringLiteral("^\\d{1,9}(\\.\\d{1,9}){0,5}$"));
    return kVersion.match(version).hasMatch();
}

bool UpdatePackage::isInstallable(const QString &url)
{
    return QUrl(url).path().endsWith(QLatin1String(".deb"), Qt::CaseInsensitive);
}

QByteArray UpdatePackage::statement(const UpdateOffer &offer)
{
    return "quellnet-update-v1\nid=" + offer.id.toUtf8() + "\nversion=" + offer.version.toUtf8()
        + "\nsize=" + QByteArray::number(offer.size) + "\nsha256=" + offer.sha256.toLatin1() + '\n';
}

QString UpdatePackage::verify(const QString &file, const UpdateOffer &offer,
                              const QByteArray &publicKey)
{
    const QByteArray signature = QByteArray::fromBase64(offer.signature.toLatin1());
    if (offer.signature.isEmpty() || offer.size < 0 || offer.sha256.size() != 64)
        return UpdatePackageText::tr("the update is not signed");
    if (signature.size() != 64 || !signatureHolds(statement(offer), signature, publicKey))
        return UpdatePackageText::tr("the update's signature is not valid");
    QFile in(file);
    if (!in.open(QIODevice::ReadOnly))
        return UpdatePackageText::tr("the downloaded file cannot be read");
    if (in.size() != offer.size)
        return UpdatePackageText::tr("the downloaded file has the wrong size");
    QCryptographicHash hash(QCryptographicHash::Sha256);
    if (!hash.addData(&in) || hash.result().toHex() != offer.sha256.toLatin1())
        return UpdatePackageText::tr("the downloaded file is not the signed one");
    return QString();
}
