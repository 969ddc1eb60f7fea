#include "mcurleasy.h"

#include "mcurlmulti.h"
#include "mdeploy.h"

#include <QDebug>
#include <QFile>
#include <QPointer>
#include <QUrl>

#include <openssl/err.h>
#include <openssl/pem.h>
#include <openssl/ssl.h>
#include <openssl/x509.h>

#include <climits>

namespace {

int chunkLength(size_t size)
{
    return int(qMin(size, size_t(INT_MAX)));
}

// CR, LF or NUL in a header would let a value start a header (or request) of its own.
QByteArray headerSafe(QByteArray text)
{
    text.replace('\r', QByteArray()).replace('\n', QByteArray()).replace('\0', QByteArray());
    return text;
}

// Adds the certificates of a PEM file to the store; returns how many the file held.
int addCertificates(X509_STORE *store, const QByteArray &path)
{
    BIO *bio = BIO_new_file(path.constData(), "r");
    if (!bio)
        return 0;
    int count = 0;
    STACK_OF(X509_INFO) *infos = PEM_X509_INFO_read_bio(bio, nullptr, nullptr, nullptr);
    BIO_free(bio);
    if (infos) {
        for (int i = 0; i < sk_X509_INFO_num(infos); ++i) {
            X509_INFO *info = sk_X509_INFO_value(infos, i);
            if (info && info->x509) {
                // A certificate already in the store counts as present, not as a failure.
                X509_STORE_add_cert(store, info->x509);
                ++count;
            }
        }
        sk_X509_INFO_pop_free(infos, X509_INFO_free);
    }
    ERR_clear_error();
    return count;
}

} // namespace

MCurlEasy::MCurlEasy(QObject *parent)
    : QObject(parent)
    , m_handle(curl_easy_init())
    , m_caFile(QFile::encodeName(Deploy::caFile()))
{
    m_progressClock.start();
    m_writeHandler = [this](const char *data, size_t size) {
        return appendBody(data, size);
    };
    m_headerHandler = [this](const char *data, size_t size) {
        return parseHeaderLine(data, size);
    };
    if (!m_handle) {
        qInfo() << "MCurlEasy: curl_easy_init failed";
        return;
    }

    void *self = static_cast<void *>(this);
    curl_easy_setopt(m_handle, CURLOPT_PRIVATE, self);
    curl_easy_setopt(m_handle, CURLOPT_XFERINFOFUNCTION, &MCurlEasy::progressFunction);
    curl_easy_setopt(m_handle, CURLOPT_XFERINFODATA, self);
    curl_easy_setopt(m_handle, CURLOPT_NOPROGRESS, 0L);
    // Verbose output would print every request header, passwords included, to stderr.
    curl_easy_setopt(m_handle, CURLOPT_VERBOSE, 0L);
    // Several threads make requests: libcurl must not touch process-wide signal handlers.
    curl_easy_setopt(m_handle, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(m_handle, CURLOPT_FAILONERROR, 1L);
    curl_easy_setopt(m_handle, CURLOPT_FOLLOWLOCATION, 1L);
    curl_easy_setopt(m_handle, CURLOPT_CONNECTTIMEOUT, 120L);
    curl_easy_setopt(m_handle, CURLOPT_WRITEFUNCTION, &MCurlEasy::writeFunction);
    curl_easy_setopt(m_handle, CURLOPT_WRITEDATA, self);
    curl_easy_setopt(m_handle, CURLOPT_HEADERFUNCTION, &MCurlEasy::headerFunction);
    curl_easy_setopt(m_handle, CURLOPT_HEADERDATA, self);

    // What comes back may be an installer that gets run: never talk to an unverified peer,
    // never follow a redirect off TLS or to another scheme.
    bool secured = curl_easy_setopt(m_handle, CURLOPT_SSL_VERIFYPEER, 1L) == CURLE_OK
        && curl_easy_setopt(m_handle, CURLOPT_SSL_VERIFYHOST, 2L) == CURLE_OK
        && curl_easy_setopt(m_handle, CURLOPT_PROTOCOLS_STR, "http,https") == CURLE_OK
        && curl_easy_setopt(m_handle, CURLOPT_REDIR_PROTOCOLS_STR, "https") == CURLE_OK
        && curl_easy_setopt(m_handle, CURLOPT_MAXREDIRS, 10L) == CURLE_OK;
    // The system bundle alone (no hashed folder) lets libcurl keep the parsed store in the
    // multi handle: otherwise every new connection re-reads it, ~20 ms with OpenSSL 3.
    curl_easy_setopt(m_handle, CURLOPT_CAPATH, nullptr);
    if (secured && !m_caFile.isEmpty()) {
        secured
            = curl_easy_setopt(m_handle, CURLOPT_SSL_CTX_FUNCTION, &MCurlEasy::sslContextFunction)
                == CURLE_OK
            && curl_easy_setopt(m_handle, CURLOPT_SSL_CTX_DATA, self) == CURLE_OK;
    }
    if (!secured) {
        qInfo() << "MCurlEasy: libcurl refused the TLS or protocol limits";
        curl_easy_cleanup(m_handle);
        m_handle = nullptr;
    }
}

MCurlEasy::~MCurlEasy()
{
    detach();
    if (m_handle)
        curl_easy_cleanup(m_handle);
    curl_slist_free_all(m_headerList);
}

void MCurlEasy::setUrl(const QString &url)
{
    const QByteArray encoded
        = QUrl(url.trimmed(), QUrl::TolerantMode).toEncoded(QUrl::FullyEncoded);
    if (m_handle)
        curl_easy_setopt(m_handle, CURLOPT_URL, encoded.constData());
}

bool MCurlEasy::setOption(CURLoption option, const QString &value)
{
    if (!m_handle)
        return false;
    // libcurl keeps only a pointer to plain POSTFIELDS; the UTF-8 copy dies with this call.
    if (option == CURLOPT_POSTFIELDS)
        option = CURLOPT_COPYPOSTFIELDS;
    const QByteArray utf8 = value.toUtf8();
    return curl_easy_setopt(m_handle, option, utf8.constData()) == CURLE_OK;
}

bool MCurlEasy::setOption(CURLoption option, long value)
{
    return m_handle && curl_easy_setopt(m_handle, option, value) == CURLE_OK;
}

void MCurlEasy::setRequestHeaderValue(const QString &name, const QString &value)
{
    setRequestHeaderValue(name, value.toUtf8());
}

void MCurlEasy::setRequestHeaderValue(const QString &name, const QByteArray &value)
{
    m_requestHeaders.insert(name, value);
    m_headersChanged = true;
}

bool MCurlEasy::perform(bool async)
{
    if (m_attachedMulti)
        return true;
    if (!m_handle) {
        m_result = CURLE_FAILED_INIT;
        return false;
    }
    if (m_headersChanged)
        rebuildHeaderList();

    if (!async) {
        m_result = curl_easy_perform(m_handle);
        return m_result == CURLE_OK;
    }

    m_abort = false;
    MCurlMulti *multi = m_preferredMulti ? m_preferredMulti : MCurlMulti::threadMulti();
    if (!multi->addTransfer(this)) {
        m_result = CURLE_FAILED_INIT;
        return false;
    }
    return true;
}

void MCurlEasy::abort()
{
    m_abort = true;
    if (!m_attachedMulti)
        return;
    // Inside a libcurl call the handle cannot be removed: the progress routine then ends the
    // transfer and finish() reports the abort.
    if (m_attachedMulti->isBusy())
        return;
    detach();
    QPointer<MCurlEasy> alive(this);
    emit aborted();
    if (alive)
        emit quit();
}

QString MCurlEasy::errorString() const
{
    switch (m_result) {
    case CURLE_OK:
        return QString();
    case CURLE_HTTP_RETURNED_ERROR: {
        long status = 0;
        if (m_handle)
            curl_easy_getinfo(m_handle, CURLINFO_RESPONSE_CODE, &status);
        return QStringLiteral("HTTP Error:") + QString::number(status);
    }
    case CURLE_ABORTED_BY_CALLBACK:
        return QStringLiteral("CURLE_ABORTED_BY_CALLBACK");
    case CURLE_WRITE_ERROR:
    case CURLE_FILESIZE_EXCEEDED:
        if (m_maxBodyBytes >= 0
            && (m_bodyTooLarge || CURLcode(m_result) == CURLE_FILESIZE_EXCEEDED))
            return QStringLiteral("Reply larger than %1 bytes").arg(m_maxBodyBytes);
        return QString::fromUtf8(curl_easy_strerror(CURLcode(m_result)));
    default:
        return QString::fromUtf8(curl_easy_strerror(CURLcode(m_result)));
    }
}

size_t MCurlEasy::writeFunction(char *data, size_t size, size_t count, void *userData)
{
    auto *self = static_cast<MCurlEasy *>(userData);
    const size_t bytes = size * count;
    if (!self || !self->m_writeHandler)
        return bytes;
    return self->m_writeHandler(data, bytes);
}

size_t MCurlEasy::headerFunction(char *data, size_t size, size_t count, void *userData)
{
    auto *self = static_cast<MCurlEasy *>(userData);
    const size_t bytes = size * count;
    if (!self || !self->m_headerHandler)
        return bytes;
    return self->m_headerHandler(data, bytes);
}

int MCurlEasy::progressFunction(void *userData, curl_off_t downloadTotal, curl_off_t downloadNow,
                                curl_off_t uploadTotal, curl_off_t uploadNow)
{
    auto *self = static_cast<MCurlEasy *>(userData);
    if (!self)
        return 0;
    return self->reportProgress(downloadTotal, downloadNow, uploadTotal, uploadNow);
}

CURLcode MCurlEasy::sslContextFunction(CURL *, void *sslContext, void *userData)
{
    auto *self = static_cast<MCurlEasy *>(userData);
    if (!self || self->m_caFile.isEmpty() || !sslContext)
        return CURLE_OK;
    // libcurl has loaded the system store by now; the extra CA is trusted on top of it.
    X509_STORE *store = SSL_CTX_get_cert_store(static_cast<SSL_CTX *>(sslContext));
    if (!store || addCertificates(store, self->m_caFile) == 0)
        qInfo() << "MCurlEasy: no CA certificate read from" << QFile::decodeName(self->m_caFile);
    return CURLE_OK;
}

void MCurlEasy::setMaxBodyBytes(qint64 bytes)
{
    m_maxBodyBytes = bytes;
    if (m_handle)
        curl_easy_setopt(m_handle, CURLOPT_MAXFILESIZE_LARGE, curl_off_t(bytes < 0 ? 0 : bytes));
}

size_t MCurlEasy::appendBody(const char *data, size_t size)
{
    // A reply without a length is cut off here; one with a length already by libcurl.
    if (m_maxBodyBytes >= 0 && qint64(m_responseText.size()) + qint64(size) > m_maxBodyBytes) {
        m_bodyTooLarge = true;
        return 0;
    }
    m_responseText.append(QString::fromLatin1(data, chunkLength(size)));
    return size;
}

size_t MCurlEasy::parseHeaderLine(const char *data, size_t size)
{
    QString line = QString::fromLatin1(data, chunkLength(size)).trimmed();
    line.remove(QStringLiteral("\r\n"));
    const int colon = line.indexOf(QLatin1Char(':'));
    if (colon > 0)
        m_responseHeaders.insert(line.left(colon).trimmed(), line.mid(colon + 1).trimmed());
    return size;
}

int MCurlEasy::reportProgress(curl_off_t downloadTotal, curl_off_t downloadNow,
                              curl_off_t uploadTotal, curl_off_t uploadNow)
{
    // An abort asked for while libcurl was running takes effect here, not a second later.
    if (m_abort)
        return -1;
    const qint64 now = m_progressClock.elapsed();
    if (now - m_lastProgressMs < 1000)
        return 0;
    m_lastProgressMs = now;

    curl_off_t speedBytes = 0;
    curl_easy_getinfo(m_handle, CURLINFO_SPEED_DOWNLOAD_T, &speedBytes);
    const double speed = double(speedBytes);
    double remainingTime = 0;
    double percentage = 0;
    if (downloadTotal != 0 && speed != 0) {
        percentage = float(m_resumeOffset + downloadNow) / float(downloadTotal) * 100.0f;
        remainingTime = double(downloadTotal - m_resumeOffset - downloadNow) / speed;
    }
    if (uploadTotal > 0)
        emit upload_progress(float(uploadNow) / float(uploadTotal) * 100.0f);
    emit progress(speed, remainingTime, percentage);
    return m_abort ? -1 : 0;
}

void MCurlEasy::rebuildHeaderList()
{
    curl_slist *list = nullptr;
    bool failed = false;
    for (auto it = m_requestHeaders.cbegin(); it != m_requestHeaders.cend(); ++it) {
        const QByteArray line = headerSafe(it.key().toUtf8()) + ':' + headerSafe(it.value());
        curl_slist *grown = curl_slist_append(list, line.constData());
        if (!grown) {
            failed = true;
            break;
        }
        list = grown;
    }
    if (failed) {
        curl_slist_free_all(list);
        list = nullptr;
    }
    // libcurl keeps the pointer: the old list may only go once the new one is set.
    if (curl_easy_setopt(m_handle, CURLOPT_HTTPHEADER, list) == CURLE_OK) {
        curl_slist_free_all(m_headerList);
        m_headerList = list;
    } else {
        curl_slist_free_all(list);
        failed = true;
    }
    m_headersChanged = false;
    if (failed)
        qInfo() << "Set Header failed:" << m_requestHeaders.keys(); // values may be credentials
}

void MCurlEasy::finish(int result)
{
    detach();
    QPointer<MCurlEasy> alive(this);
    if (m_abort) {
        emit aborted();
    } else {
        m_result = result;
        emit done(result);
    }
    if (alive)
        emit quit();
}

void MCurlEasy::detach()
{
    if (m_attachedMulti)
        m_attachedMulti->removeTransfer(this);
}
