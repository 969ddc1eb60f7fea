#include "updatecheck.h"

#include "backendprotocol.h"
#include "mnetwork.h"

#include <QDebug>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

UpdateCheck::Result UpdateCheck::evaluate(const QString &reply, const QString &appId,
                                          const QString &ownVersion, UpdateOffer *offer)
{
    if (reply.trimmed().isEmpty())
        return Result::Failed;
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(reply.toUtf8(), &error);
    if (error.error != QJsonParseError::NoError) {
        qInfo() << "QJsonParseError:" << error.errorString();
        return Result::Malformed;
    }
    if (!document.isObject()) {
        qInfo() << "! parse_doucment.isObject()";
        return Result::Malformed;
    }
    const QJsonArray entries = document.object().value(QLatin1String("update_data")).toArray();
    for (const QJsonValue &value : entries) {
        const QJsonObject entry = value.toObject();
        UpdateOffer candidate;
        candidate.id = entry.value(QLatin1String("id")).toString();
        candidate.version = entry.value(QLatin1String("version")).toString();
        candidate.url = entry.value(QLatin1String("download_url")).toString();
        candidate.size = qint64(entry.value(QLatin1String("size")).toDouble(-1));
        candidate.sha256 = entry.value(QLatin1String("sha256")).toString();
        candidate.signature = entry.value(QLatin1String("signature")).toString();
        // Installers for other systems share the document; only packages count here.
        if (candidate.id == appId && candidate.url.size() >= 5
            && UpdatePackage::isUsableVersion(candidate.version)
            && UpdatePackage::compareVersions(ownVersion, candidate.version) < 0
            && UpdatePackage::isInstallable(candidate.url)) {
            *offer = candidate;
            return Result::Newer;
        }
    }
    return Result::UpToDate;
}

UpdateCheck::Result UpdateCheck::run(const QString &appId, const QString &ownVersion,
                                     UpdateOffer *offer)
{
    const QString url = Endpoint::updateInfo();
    const QString reply = MNetwork::getWebConent(url);
    if (!reply.isEmpty())
        qInfo() << "Update Html:" << url << "content:" << reply;
    return evaluate(reply, appId, ownVersion, offer);
}
