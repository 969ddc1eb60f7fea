#pragma once

#include <QByteArray>
#include <QElapsedTimer>
#include <QMap>
#include <QObject>
#include <QString>

#include <curl/curl.h>

#include <functional>

class MCurlMulti;

// One HTTP(S) transfer over one libcurl easy handle. Lives on, and is used from, one thread.
// TLS peer and host name are verified against the system CA store plus the file named by
// Deploy::caFile(); only http and https are allowed, redirects only to https, at most 10.
//
// Signals: progress() and upload_progress() are emitted from inside libcurl, at most once a
// second; their slots may call abort() but must not start requests, spin event loops or
// delete the transfer. done() (multi form only) or aborted() is always followed by quit().
class MCurlEasy : public QObject
{
    Q_OBJECT

public:
    // Gets the bytes of one chunk (body or header line), returns how many it consumed;
    // anything but the full count makes libcurl fail the transfer.
    using DataHandler = std::function<size_t(const char *data, size_t size)>;

    explicit MCurlEasy(QObject *parent = nullptr);
    ~MCurlEasy() override;

    CURL *getHandle() const { return m_handle; }

    // Trimmed, read as a tolerant QUrl and handed over fully encoded.
    void setUrl(const QString &url);
    // True when libcurl accepted the option. Text goes over as UTF-8.
    bool setOption(CURLoption option, const QString &value);
    bool setOption(CURLoption option, long value);

    // Sent as "name:value", one line per name in name order; a later value replaces.
    void setRequestHeaderValue(const QString &name, const QString &value);
    void setRequestHeaderValue(const QString &name, const QByteArray &value);

    // An empty handler drops the data but still consumes it.
    void setWriteHandler(DataHandler handler) { m_writeHandler = std::move(handler); }
    void setHeaderHandler(DataHandler handler) { m_headerHandler = std::move(handler); }

    // Driver to attach to; null (default) means the calling thread's own.
    void setPreferredMulti(MCurlMulti *multi) { m_preferredMulti = multi; }
    // The body kept in the response text may not exceed this (< 0: no bound); a longer one
    // fails the transfer with "Reply larger than <n> bytes".
    void setMaxBodyBytes(qint64 bytes);
    // Bytes already present before this transfer; only used in the percentage.
    void setResumeOffset(int bytes) { m_resumeOffset = bytes; }

    // async false: runs the transfer to its end on this thread, no signals; returns true on
    // success. async true: attaches to the driver and returns at once; true when the
    // transfer is under way (done() and quit() will come), false when it could not start
    // (no signal will come). Calling it while attached does nothing and returns true.
    bool perform(bool async);
    // Stops the transfer: emits aborted() then quit(); the result stays as it was.
    void abort();

    bool isAttached() const { return m_attachedMulti != nullptr; }
    MCurlMulti *getAttachedMulti() const { return m_attachedMulti; }

    int getResult() const { return m_result; }
    // Empty on success, "HTTP Error:<status>", "CURLE_ABORTED_BY_CALLBACK" or libcurl's text.
    QString errorString() const;

    // Body so far, one character per byte (Latin-1).
    const QString &getResponseText() const { return m_responseText; }
    const QMap<QString, QString> &getResponseHeaders() const { return m_responseHeaders; }

signals:
    void aborted();
    void progress(double downloadSpeed, double remainingTime, double progressPercentage);
    void upload_progress(float precent);
    void done(int result);
    void quit();

private:
    friend class MCurlMulti;

    static size_t writeFunction(char *data, size_t size, size_t count, void *userData);
    static size_t headerFunction(char *data, size_t size, size_t count, void *userData);
    static int progressFunction(void *userData, curl_off_t downloadTotal, curl_off_t downloadNow,
                                curl_off_t uploadTotal, curl_off_t uploadNow);
    static CURLcode sslContextFunction(CURL *handle, void *sslContext, void *userData);

    size_t appendBody(const char *data, size_t size);
    size_t parseHeaderLine(const char *data, size_t size);
    int reportProgress(curl_off_t downloadTotal, curl_off_t downloadNow, curl_off_t uploadTotal,
                       curl_off_t uploadNow);
    void rebuildHeaderList();
    // Called by the driver when libcurl reports the transfer finished.
    void finish(int result);
    void detach();

    QString m_responseText;
    CURL *m_handle = nullptr;
    MCurlMulti *m_preferredMulti = nullptr;
    MCurlMulti *m_attachedMulti = nullptr;
    int m_result = CURLE_OK;
    DataHandler m_writeHandler;
    DataHandler m_headerHandler;
    int m_resumeOffset = 0;
    qint64 m_maxBodyBytes = -1;
    bool m_bodyTooLarge = false;
    bool m_abort = false;
    QElapsedTimer m_progressClock;
    qint64 m_lastProgressMs = 0;
    bool m_headersChanged = false;
    QMap<QString, QByteArray> m_requestHeaders;
    curl_slist *m_headerList = nullptr;
    QMap<QString, QString> m_responseHeaders;
    QByteArray m_caFile;
};
