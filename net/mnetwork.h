#pragma once

#include <QMap>
#include <QString>

// The request operations the rest of the program calls. Failures never surface as errors:
// the operations return what was received (normally empty after a failure) and log
// "MNetwork::queryUrl,error:" with the reason.
//
// The event-loop forms (get, getWebConent, queryUrl with async true) spin a nested
// QEventLoop on the calling thread until the transfer ends (120 s at most), so the caller's
// other slots, timers and paint events may run meanwhile. They work on any QThread; each
// thread gets its own libcurl multi driver.
class MNetwork
{
public:
    // What a call may receive. Account calls carry the password in their headers: they never
    // follow a redirect (a 30x to another host would carry it there) and their replies are
    // small; server lists may be large; everything else is a small document.
    enum class Call { Document, Account, List };

    // GET; the body trimmed of surrounding white space.
    static QString get(const QString &url,
                       const QMap<QString, QString> &headers = QMap<QString, QString>(),
                       Call call = Call::Document);
    // GET; the body as received, one character per byte (Latin-1).
    static QString getWebConent(const QString &url,
                                const QMap<QString, QString> &headers = QMap<QString, QString>(),
                                Call call = Call::Document);
    // Spaces in url become %20. An empty userAgent sends the built-in browser one; headers
    // go out as "name:value" lines in name order. async false blocks the thread instead.
    static QString queryUrl(const QString &url, const QString &userAgent,
                            const QMap<QString, QString> &headers, bool async,
                            Call call = Call::Document);
    static QString queryUrl(const QString &url, const QString &userAgent, bool async);
    // Blocking GET whose reply is dropped.
    static void accessUrl(const QString &url);
    // UTF-8 percent-encoding; letters, digits and "-._~" stay.
    static QString encodeUrlPara(const QString &value);

    // Once at start-up, before any request, on the main thread.
    static void globalInit();
    // Once at the end, on the main thread, after every other requesting thread has ended.
    static void globalClean();
};
