#include "mmultidownload.h"

#include "mcurleasy.h"
#include "mutils.h"

#include <QDebug>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QStandardPaths>

namespace {

constexpr qint64 kMinRangedSize = 2000;
constexpr long kReceiveBufferBytes = 512 * 1024;
const char kUserAgent[] = "Mozilla/5.0 (Windows NT 10.0; Win64; x64) AppleWebKit/537.36 (KHTML, "
                          "like Gecko) Chrome/75.0.3770.142 Safari/537.36";

QString workingFolder()
{
    return QDir::toNativeSeparators(
        QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation)
        + QStringLiteral("/download_vqd"));
}

// A transfer of this job: the client's TLS and redirect rules, the browser's user agent.
MCurlEasy *makeTransfer(const QUrl &url, QObject *parent)
{
    auto *easy = new MCurlEasy(parent);
    easy->setUrl(url.toString(QUrl::FullyEncoded));
    easy->setOption(CURLOPT_VERBOSE, 0L);
    easy->setOption(CURLOPT_USERAGENT, QString::fromLatin1(kUserAgent));
    // Larger chunks per callback: fewer seeks and writes.
    easy->setOption(CURLOPT_BUFFERSIZE, kReceiveBufferBytes);
    return easy;
}

long responseCode(MCurlEasy *easy)
{
    long status = 0;
    curl_easy_getinfo(easy->getHandle(), CURLINFO_RESPONSE_CODE, &status);
    return status;
}

} // namespace

// ---- MNetPartDownload ----

MNetPartDownload::MNetPartDownload(int index, QObject *parent)
    : QObject(parent)
    , m_index(index)
    , m_name(QStringLiteral("download_") + QString::number(index))
{
    connect(&m_watchdog, &QTimer::timeout, this, [this] {
        if (m_sinceData.elapsed() >= m_timeoutMs)
            slotTimeout();
    });
}

MNetPartDownload::~MNetPartDownload()
{
    abort();
}

void MNetPartDownload::start(const QUrl &url, QFile *file, qint64 start, qint64 end,
                             qint64 fileSize)
{
    m_start = start;
    m_end = end;
    m_fileSize = fileSize;
    m_file = file;
    m_written = 0;

    m_easy = makeTransfer(url, this);
    if (start >= 0 && end > 10) {
        const QString range = QStringLiteral("Bytes=%1-%2").arg(start).arg(end);
        m_easy->setRequestHeaderValue(QStringLiteral("Range"), range);
        qDebug() << "Part" << m_index << ",Start:" << range;
    } else {
        m_start = 0;
        m_end = -1;
    }
    m_easy->setWriteHandler([this](const char *data, size_t size) { return receive(data, size); });
    connect(m_easy, &MCurlEasy::done, this, &MNetPartDownload::slotFinished);
    m_sinceData.start();
    m_sinceProgress.start();
    m_watchdog.start(qBound(20, m_timeoutMs / 5, 1000));
    if (!m_easy->perform(true)) {
        // Reported once the caller has connected to us.
        QTimer::singleShot(0, this, [this] {
            if (!m_finished)
                fail(QStringLiteral("Download failed:") + m_easy->errorString());
        });
    }
}

qint64 MNetPartDownload::expectedLength() const
{
    if (m_end >= 0)
        return qMin(m_end, m_fileSize - 1) - m_start + 1;
    curl_off_t length = -1;
    curl_easy_getinfo(m_easy->getHandle(), CURLINFO_CONTENT_LENGTH_DOWNLOAD_T, &length);
    return qint64(length);
}

QString MNetPartDownload::checkReply() const
{
    const long status = responseCode(m_easy);
    if (m_end < 0)
        return status == 200 ? QString() : tr("the server answered with status %1").arg(status);
    if (status != 206)
        return tr("the server did not send the requested part of the file (status %1)").arg(status);
    QString contentRange;
    const QMap<QString, QString> &headers = m_easy->getResponseHeaders();
    for (auto it = headers.cbegin(); it != headers.cend(); ++it) {
        if (it.key().compare(QLatin1String("Content-Range"), Qt::CaseInsensitive) == 0)
            contentRange = it.value();
    }
    static const QRegularExpression kRange(QStringLiteral("^bytes (\\d+)-(\\d+)/(\\d+)$"));
    const QRegularExpressionMatch m = kRange.match(contentRange);
    // The last range is asked up to the size itself; the server ends it at the last byte.
    if (!m.hasMatch() || m.captured(1).toLongLong() != m_start
        || m.captured(2).toLongLong() != qMin(m_end, m_fileSize - 1)
        || m.captured(3).toLongLong() != m_fileSize)
        return tr("the server sent another part of the file than the one requested");
    return QString();
}

size_t MNetPartDownload::receive(const char *data, size_t size)
{
    m_sinceData.restart();
    if (!m_checked) {
        m_checked = true;
        m_writeError = checkReply();
        if (!m_writeError.isEmpty())
            return 0;
    }
    const qint64 limit = expectedLength();
    if (m_end >= 0 && m_written + qint64(size) > limit) {
        m_writeError = tr("the server sent more than the requested part of the file");
        return 0;
    }
    if (!m_file || !m_file->isOpen() || !m_file->seek(m_start + m_written)
        || m_file->write(data, qint64(size)) != qint64(size)) {
        m_writeError = m_file ? m_file->errorString() : QString();
        qInfo() << "Download error:" << m_writeError;
        return 0;
    }
    m_written += qint64(size);
    reportProgress(false);
    return size;
}

void MNetPartDownload::reportProgress(bool force)
{
    if (!force && m_sinceProgress.elapsed() < 100)
        return;
    m_sinceProgress.restart();
    emit signalProgress(m_name, m_written, expectedLength());
}

void MNetPartDownload::slotFinished(int result)
{
    if (m_finished)
        return;
    m_watchdog.stop();
    QString error;
    if (result != CURLE_OK) {
        error = !m_writeError.isEmpty() ? m_writeError : m_easy->errorString();
    } else if (!m_checked) {
        m_checked = true;
        error = checkReply();
    }
    const qint64 expected = expectedLength();
    if (error.isEmpty() && expected >= 0 && m_written != expected)
        error = tr("the transfer ended early");
    if (!error.isEmpty()) {
        qInfo() << "Download error:" << error;
        fail(QStringLiteral("Download failed:") + error);
        return;
    }
    m_finished = true;
    reportProgress(true);
    emit signalFinished();
}

void MNetPartDownload::slotTimeout()
{
    m_watchdog.stop();
    qInfo() << "Timeout";
    abort();
    fail(QStringLiteral("Network error:Timeout"));
}

void MNetPartDownload::abort()
{
    m_watchdog.stop();
    m_finished = true;
    if (!m_easy)
        return;
    qInfo() << "MNetPartDownload::abort";
    m_easy->disconnect(this);
    // Whatever still arrives stops the transfer and touches nothing of ours.
    m_easy->setWriteHandler([](const char *, size_t) { return size_t(0); });
    m_easy->abort();
    m_easy->deleteLater();
    m_easy = nullptr;
}

void MNetPartDownload::fail(const QString &error)
{
    m_finished = true;
    emit signalError(error);
}

// ---- MMultiDownload ----

MMultiDownload::MMultiDownload(QObject *parent, const QString &savePath)
    : QObject(parent)
    , m_savePath(savePath)
    , m_workFolder(workingFolder())
{ }

MMultiDownload::~MMultiDownload()
{
    if (m_running) {
        abortParts();
        closeAndRemoveFile();
    }
}

void MMultiDownload::start(const QUrl &url, int parts)
{
    qInfo() << "Start download file:" << url.toString();
    if (url.isEmpty()) {
        emit signalError(tr("Url is empty."));
        emit signalEnd();
        return;
    }
    m_progress.clear();
    m_partList.clear();
    m_parts = qMax(1, parts);
    m_finishedParts = 0;
    m_url = url;
    m_totalSize = -1;
    m_running = true;
    if (m_parts == 1) {
        sizeKnown();
        return;
    }
    // Asked without blocking: the caller's event loop keeps running meanwhile.
    m_head = makeTransfer(url, this);
    m_head->setOption(CURLOPT_NOBODY, 1L);
    connect(m_head, &MCurlEasy::done, this, [this](int result) {
        MCurlEasy *head = m_head;
        m_head = nullptr;
        head->deleteLater();
        curl_off_t length = -1;
        if (result == CURLE_OK)
            curl_easy_getinfo(head->getHandle(), CURLINFO_CONTENT_LENGTH_DOWNLOAD_T, &length);
        m_totalSize = qMax<qint64>(0, length);
        qDebug() << "The file size is: " << m_totalSize << head->errorString();
        if (m_totalSize < kMinRangedSize) {
            finish(QStringLiteral("Remote file size is 0,please check your network."));
            return;
        }
        sizeKnown();
    });
    if (!m_head->perform(true))
        QTimer::singleShot(0, this, [this] {
            if (m_running && m_head)
                finish(QStringLiteral("Remote file size is 0,please check your network."));
        });
}

void MMultiDownload::sizeKnown()
{
    if (m_savePath.size() < 5) {
        const QString name = QFileInfo(m_url.path()).fileName();
        m_savePath = name.isEmpty() ? QString() : m_workFolder + QLatin1Char('/') + name;
        if (m_savePath.isEmpty())
            m_savePath = m_workFolder + QStringLiteral("/untitled_download_file");
        QDir().mkpath(m_workFolder);
    }
    m_savePath = QDir::toNativeSeparators(m_savePath);
    if (QFile::exists(m_savePath)) {
        if (m_overwrite) {
            QFile::remove(m_savePath);
        } else {
            static int counter = 0;
            const QFileInfo info(m_savePath);
            m_savePath = getFile(info.absolutePath(),
                                 info.completeBaseName() + QStringLiteral("_%1.") + info.suffix(),
                                 counter);
            ++counter;
        }
    }
    m_file = new QFile(m_savePath, this);
    if (!m_file->open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Unbuffered)) {
        const QString why = m_file->errorString();
        delete m_file;
        m_file = nullptr;
        finish(QStringLiteral("Download failed:") + why);
        return;
    }
    emit signalStart();
    startParts();
}

void MMultiDownload::startParts()
{
    const auto add = [this](int index, qint64 from, qint64 to) {
        auto *part = new MNetPartDownload(index, this);
        part->setTimeout(m_timeoutMs);
        connect(part, &MNetPartDownload::signalError, this, &MMultiDownload::slotFailed);
        connect(part, &MNetPartDownload::signalProgress, this, &MMultiDownload::slotProgress);
        connect(part, &MNetPartDownload::signalFinished, this, &MMultiDownload::slotPartFinished);
        m_partList.append(part);
        part->start(m_url, m_file, from, to, m_totalSize);
    };
    if (m_parts == 1) {
        add(0, 0, -1);
        return;
    }
    qDebug() << "Start download file from " << m_url.toString();
    const qint64 total = m_totalSize;
    for (int i = 0; i < m_parts; ++i) {
        // Neighbouring ranges overlap by two bytes; each part writes at its own offset.
        qint64 from = i * total / m_parts;
        if (i > 0)
            from -= 1;
        add(i + 1, from, (i + 1) * total / m_parts);
    }
}

void MMultiDownload::slotProgress(const QString &objId, qint64 bytesReceived, qint64 bytesTotal)
{
    if (bytesTotal <= 0)
        return;
    const qint64 total = m_totalSize > kMinRangedSize ? m_totalSize : bytesTotal;
    m_progress.insert(objId, bytesReceived);
    qint64 sum = 0;
    for (qint64 v : qAsConst(m_progress))
        sum += v;
    const float ratio = float(sum) / float(total);
    qDebug() << "slotProgress:" << ratio;
    emit signalProgress(qMin(100, int(ratio * 100)));
}

void MMultiDownload::slotPartFinished()
{
    if (!m_running)
        return;
    ++m_finishedParts;
    qDebug() << "Finished:" << m_finishedParts << m_parts;
    if (m_finishedParts < m_parts)
        return;
    m_file->flush();
    const qint64 size = m_file->size();
    m_file->close();
    if (m_parts > 1 && size != m_totalSize) {
        qInfo() << "Failed,file size is incorrect." << size << m_totalSize;
        finish(tr("Failed,file size is incorrect."));
        return;
    }
    delete m_file;
    m_file = nullptr;
    m_running = false;
    for (MNetPartDownload *part : qAsConst(m_partList))
        part->deleteLater();
    m_partList.clear();
    emit signalFinished();
    emit signalEnd();
}

void MMultiDownload::slotFailed(const QString &error)
{
    if (m_running)
        finish(error);
}

void MMultiDownload::stop()
{
    if (!m_running)
        return;
    qInfo() << "MMultiDownload::stop";
    m_running = false;
    abortParts();
    closeAndRemoveFile();
    emit signalEnd();
}

void MMultiDownload::finish(const QString &error)
{
    m_running = false;
    abortParts();
    closeAndRemoveFile();
    emit signalError(error);
    emit signalEnd();
}

void MMultiDownload::abortParts()
{
    if (m_head) {
        m_head->disconnect(this);
        m_head->abort();
        m_head->deleteLater();
        m_head = nullptr;
    }
    for (MNetPartDownload *part : qAsConst(m_partList)) {
        part->abort();
        part->deleteLater();
    }
    m_partList.clear();
}

void MMultiDownload::closeAndRemoveFile()
{
    if (!m_file)
        return;
    m_file->close();
    m_file->remove();
    delete m_file;
    m_file = nullptr;
}
