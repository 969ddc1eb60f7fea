#include "mnetwork.h"

#include "mcurleasy.h"
#include "mcurlmulti.h"

#include <QDebug>
#include <QEventLoop>
#include <QThreadPool>
#include <QUrl>

#include <curl/curl.h>

namespace {

// Bounds on what one reply may hold: memory a hostile endpoint can make us spend.
constexpr qint64 kMaxDocumentBytes = 4 * 1024 * 1024;
constexpr qint64 kMaxAccountBytes = 64 * 1024;
constexpr qint64 kMaxListBytes = 64 * 1024 * 1024;

const char kBuiltInUserAgent[] = "Mozilla/5.0 (Windows NT 10.0; Win64; x64) AppleWebKit/537.36 "
                                 "(KHTML, like Gecko) Chrome/81.0.4044.122 Safari/537.36";

QString encodeUrl(const QString &url)
{
    if (url.isEmpty())
        return url;
    QString encoded = url;
    return encoded.replace(QLatin1Char(' '), QStringLiteral("%20"));
}

} // namespace

QString MNetwork::get(const QString &url, const QMap<QString, QString> &headers, Call call)
{
    return queryUrl(url, QString(), headers, true, call).trimmed();
}

QString MNetwork::getWebConent(const QString &url, const QMap<QString, QString> &headers, Call call)
{
    return queryUrl(url, QString(), headers, true, call);
}

QString MNetwork::queryUrl(const QString &url, const QString &userAgent,
                           const QMap<QString, QString> &headers, bool async, Call call)
{
    const QString encoded = encodeUrl(url);
    qInfo() << "Query Url:" << encoded;

    MCurlEasy easy;
    if (!userAgent.isEmpty())
        easy.setRequestHeaderValue(QStringLiteral("User-Agent"), userAgent);
    else
        easy.setOption(CURLOPT_USERAGENT, QString::fromLatin1(kBuiltInUserAgent));
    easy.setUrl(encoded);
    easy.setOption(CURLOPT_TIMEOUT, 120L);
    easy.setMaxBodyBytes(call == Call::List          ? kMaxListBytes
                             : call == Call::Account ? kMaxAccountBytes
                                                     : kMaxDocumentBytes);
    if (call == Call::Account)
        easy.setOption(CURLOPT_FOLLOWLOCATION, 0L);
    for (auto it = headers.cbegin(); it != headers.cend(); ++it)
        easy.setRequestHeaderValue(it.key(), it.value());

    if (async) {
        QEventLoop loop;
        QObject::connect(&easy, &MCurlEasy::quit, &loop, &QEventLoop::quit);
        if (easy.perform(true))
            loop.exec();
    } else {
        easy.perform(false);
    }

    if (easy.getResult() != CURLE_OK)
        qInfo() << "MNetwork::queryUrl,error:" << easy.errorString() << url;
    return easy.getResponseText();
}

QString MNetwork::queryUrl(const QString &url, const QString &userAgent, bool async)
{
    return queryUrl(url, userAgent, QMap<QString, QString>(), async);
}

void MNetwork::accessUrl(const QString &url)
{
    queryUrl(url, QString(), QMap<QString, QString>(), false);
}

QString MNetwork::encodeUrlPara(const QString &value)
{
    if (value.isEmpty())
        return QString();
    return QString::fromLatin1(QUrl::toPercentEncoding(value));
}

void MNetwork::globalInit()
{
    const CURLcode code = curl_global_init(CURL_GLOBAL_ALL);
    if (code != CURLE_OK)
        qInfo() << "MNetwork::globalInit,failed:" << curl_easy_strerror(code);
}

void MNetwork::globalClean()
{
    // The main thread's driver would otherwise outlive the library, until the application
    // object goes.
    MCurlMulti::releaseThreadMulti();
    // Idle pool threads keep their driver until they exit, which would be after the library
    // is gone (a double free at exit): end them first.
    QThreadPool::globalInstance()->waitForDone();
    curl_global_cleanup();
}
