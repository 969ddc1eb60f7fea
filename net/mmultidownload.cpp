#include "mmultidownload.h"

#include "mdeploy.h"
#include "mutils.h"

#include <QDebug>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QNetworkAccessManager>
#include <QNetworkRequest>
#include <QRegularExpression>
#include <QSslCertificate>
#include <QSslConfiguration>
#include <QStandardPaths>

namespace {

constexpr qint64 kMinRangedSize = 2000;
constexpr int kMaxRedirects = 10;
const char kUserAgent[] = "Mozilla/5.0 (Windows NT 10.0; Win64; x64) AppleWebKit/537.36 (KHTML, "
                          "like Gecko) Chrome/75.0.3770.142 Safari/537.36";

QString workingFolder()
{
    return QDir::toNativeSeparators(
        QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation)
        + QStringLiteral("/download_vqd"));
}

} // namespace

void DownloadNet::prepareRequest(QNetworkRequest *request)
{
    QSslConfiguration ssl = QSslConfiguration::defaultConfiguration();
    ssl.setPeerVerifyMode(QSslSocket::VerifyPeer);
    const QString caFile = Deploy::caFile();
    if (!caFile.isEmpty())
        ssl.addCaCertificates(QSslCertificate::fromPath(caFile));
    request->setSslConfiguration(ssl);
    request->setAttribute(QNetworkRequest::RedirectPolicyAttribute,
                          QNetworkRequest::UserVerifiedRedirectPolicy);
    request->setMaximumRedirectsAllowed(kMaxRedirects);
}

void DownloadNet::guardRedirects(QNetworkReply *reply)
{
    QObject::connect(reply, &QNetworkReply::redirected, reply, [reply](const QUrl &url) {
        if (url.scheme() == QLatin1String("https")) {
            emit reply->redirectAllowed();
            return;
        }
        qInfo() << "Download: redirect refused:" << url.toString();
        reply->abort();
    });
}

// ---- MNetPartDownload ----

MNetPartDownload::MNetPartDownload(int index, QObject *parent)
    : QObject(parent)
    , m_index(index)
    , m_name(QStringLiteral("download_") + QString::number(index))
{
    m_timer.setSingleShot(true);
    connect(&m_timer, &QTimer::timeout, this, &MNetPartDownload::slotTimeout);
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

    QNetworkRequest request(url);
    DownloadNet::prepareRequest(&request);
    request.setRawHeader("User-Agent", kUserAgent);
    request.setRawHeader("Referer", QByteArray());
    request.setRawHeader("Connection", "keep-alive");
    if (start >= 0 && end > 10) {
        const QString range = QStringLiteral("Bytes=%1-%2").arg(start).arg(end);
        request.setRawHeader("Range", range.toLatin1());
        qDebug() << "Part" << m_index << ",Start:" << range;
    } else {
        m_end = -1;
    }

    m_manager = new QNetworkAccessManager(this);
    connect(m_manager, &QNetworkAccessManager::proxyAuthenticationRequired, this,
            &MNetPartDownload::proxyAuthRequired);
    m_reply = m_manager->get(request);
    DownloadNet::guardRedirects(m_reply);
    connect(m_reply, &QNetworkReply::finished, this, &MNetPartDownload::slotFinished);
    connect(m_reply, &QNetworkReply::readyRead, this, &MNetPartDownload::slotReady);
    connect(m_reply, &QNetworkReply::errorOccurred, this, &MNetPartDownload::slotFailed);
    connect(m_reply, &QNetworkReply::downloadProgress, this, &MNetPartDownload::slotProgress);
    m_timer.start(m_timeoutMs);
}

QString MNetPartDownload::checkReply() const
{
    const int status = m_reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    if (m_end < 0)
        return status == 200 ? QString() : tr("the server answered with status %1").arg(status);
    if (status != 206)
        return tr("the server did not send the requested part of the file (status %1)").arg(status);
    static const QRegularExpression kRange(QStringLiteral("^bytes (\\d+)-(\\d+)/(\\d+)$"));
    const QRegularExpressionMatch m
        = kRange.match(QString::fromLatin1(m_reply->rawHeader("Content-Range")).trimmed());
    // The last range is asked up to the size itself; the server ends it at the last byte.
    const qint64 total = m_fileSize;
    if (!m_file || !m.hasMatch() || m.captured(1).toLongLong() != m_start
        || m.captured(2).toLongLong() != qMin(m_end, total - 1)
        || m.captured(3).toLongLong() != total)
        return tr("the server sent another part of the file than the one requested");
    return QString();
}

void MNetPartDownload::slotReady()
{
    if (!m_reply || m_finished)
        return;
    m_timer.start(m_timeoutMs);
    if (!m_checked) {
        m_checked = true;
        const QString wrong = checkReply();
        if (!wrong.isEmpty()) {
            abort();
            fail(QStringLiteral("Download failed:") + wrong);
            return;
        }
    }
    if (!m_file || !m_file->isOpen()) {
        const QString why = m_file ? m_file->errorString() : QString();
        abort();
        qInfo() << "Download error:" << why;
        fail(QStringLiteral("Download failed:") + why);
        return;
    }
    const QByteArray data = m_reply->readAll();
    const qint64 limit = m_end < 0 ? -1 : qMin(m_end, m_fileSize - 1) - m_start + 1;
    if (limit >= 0 && m_written + data.size() > limit) {
        abort();
        fail(QStringLiteral("Download failed:")
             + tr("the server sent more than the requested part of the file"));
        return;
    }
    if (!m_file->seek(m_start + m_written) || m_file->write(data) != data.size()) {
        const QString why = m_file->errorString();
        abort();
        qInfo() << "Download error:" << why;
        fail(QStringLiteral("Download failed:") + why);
        return;
    }
    m_written += data.size();
}

void MNetPartDownload::slotFinished()
{
    if (!m_reply || m_finished || m_reply->error() != QNetworkReply::NoError)
        return;
    slotReady();
    if (m_finished)
        return;
    const qint64 expected = m_end < 0 ? -1 : qMin(m_end, m_fileSize - 1) - m_start + 1;
    if (!m_checked || (expected >= 0 && m_written != expected)) {
        const QString wrong = m_checked ? tr("the transfer ended early") : checkReply();
        abort();
        fail(QStringLiteral("Download failed:")
             + (wrong.isEmpty() ? tr("the transfer ended early") : wrong));
        return;
    }
    m_timer.stop();
    m_finished = true;
    m_reply->deleteLater();
    emit signalFinished();
}

void MNetPartDownload::slotFailed(QNetworkReply::NetworkError code)
{
    Q_UNUSED(code);
    if (!m_reply || m_finished)
        return;
    m_timer.stop();
    m_finished = true;
    const QString why = m_reply->errorString();
    qInfo() << "Download error:" << why;
    m_reply->disconnect(this);
    m_reply->deleteLater();
    fail(QStringLiteral("Download failed:") + why);
}

void MNetPartDownload::slotProgress(qint64 bytesReceived, qint64 bytesTotal)
{
    m_timer.start(m_timeoutMs);
    emit signalProgress(m_name, bytesReceived, bytesTotal);
}

void MNetPartDownload::proxyAuthRequired(const QNetworkProxy &, QAuthenticator *)
{
    // No credentials are stored for proxies: the request fails.
}

void MNetPartDownload::slotTimeout()
{
    m_timer.stop();
    qInfo() << "Timeout";
    abort();
    fail(QStringLiteral("Network error:Timeout"));
}

void MNetPartDownload::abort()
{
    m_timer.stop();
    m_finished = true;
    if (!m_reply)
        return;
    qInfo() << "MNetPartDownload::abort";
    m_reply->disconnect(this);
    m_reply->abort();
    m_reply->deleteLater();
    m_reply = nullptr;
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
    QNetworkRequest request(url);
    DownloadNet::prepareRequest(&request);
    request.setRawHeader("User-Agent", kUserAgent);
    if (!m_headManager)
        m_headManager = new QNetworkAccessManager(this);
    m_head = m_headManager->head(request);
    DownloadNet::guardRedirects(m_head);
    connect(m_head, &QNetworkReply::finished, this, [this, reply = m_head]() {
        reply->deleteLater();
        if (reply != m_head || !m_running)
            return;
        m_head = nullptr;
        if (reply->error() == QNetworkReply::NoError)
            m_totalSize = reply->header(QNetworkRequest::ContentLengthHeader).toLongLong();
        qDebug() << "The file size is: " << m_totalSize;
        if (m_totalSize < kMinRangedSize) {
            finish(QStringLiteral("Remote file size is 0,please check your network."));
            return;
        }
        sizeKnown();
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
    if (!m_file->open(QIODevice::WriteOnly | QIODevice::Truncate)) {
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

void MMultiDownload::proxyAuthRequired(const QNetworkProxy &, QAuthenticator *) { }

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
        m_head->abort();
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
