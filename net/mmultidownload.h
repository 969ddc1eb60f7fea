#pragma once

#include <QElapsedTimer>
#include <QList>
#include <QMap>
#include <QObject>
#include <QString>
#include <QTimer>
#include <QUrl>

class MCurlEasy;
class QFile;

// One byte range of a download: one transfer on the program's HTTP client (TLS verified,
// redirects to https only), written at its own offset into the job's file. A range that the
// server does not answer with exactly that range fails, so that no part of another file, or
// another part of this one, lands at the wrong offset.
class MNetPartDownload : public QObject
{
    Q_OBJECT

public:
    MNetPartDownload(int index, QObject *parent = nullptr);
    ~MNetPartDownload() override;

    // end < 0: the whole file, no range asked. fileSize: the size the range belongs to.
    void start(const QUrl &url, QFile *file, qint64 start, qint64 end, qint64 fileSize);
    // Stops the transfer without a signal; nothing happens when it already ended.
    void abort();
    void setTimeout(int ms) { m_timeoutMs = ms; }
    QString name() const { return m_name; }
    bool isFinished() const { return m_finished; }

signals:
    void signalFinished();
    void signalError(const QString &error);
    void signalProgress(const QString &objId, qint64 bytesReceived, qint64 bytesTotal);

public slots:
    void slotFinished(int result);
    void slotTimeout();

private:
    // libcurl's write callback: 0 stops the transfer, m_writeError says why.
    size_t receive(const char *data, size_t size);
    // Empty when the reply's status and range are the ones asked for.
    QString checkReply() const;
    qint64 expectedLength() const;
    void reportProgress(bool force);
    void fail(const QString &error);

    MCurlEasy *m_easy = nullptr;
    QFile *m_file = nullptr;
    int m_index;
    qint64 m_start = 0;
    qint64 m_end = -1;
    qint64 m_fileSize = -1;
    qint64 m_written = 0;
    QString m_name;
    QTimer m_watchdog;
    QElapsedTimer m_sinceData;
    QElapsedTimer m_sinceProgress;
    int m_timeoutMs = 120000;
    QString m_writeError;
    bool m_finished = false;
    bool m_checked = false;
};

// One download job: the file at an address, fetched in `parts` byte ranges at once into one
// output file. Always ends with signalEnd(), after signalFinished() or signalError(); a failed
// or stopped job leaves no file behind.
class MMultiDownload : public QObject
{
    Q_OBJECT

public:
    // A save path under 5 characters picks a name in the working folder.
    MMultiDownload(QObject *parent, const QString &savePath);
    ~MMultiDownload() override;

    void start(const QUrl &url, int parts);
    QString outputPath() const { return m_savePath; }
    // How long a part may receive nothing before the job fails.
    void setPartTimeout(int ms) { m_timeoutMs = ms; }

signals:
    void signalFinished();
    void signalError(const QString &error);
    void signalProgress(int progress);
    void signalStart();
    void signalEnd();

public slots:
    void slotPartFinished();
    void slotProgress(const QString &objId, qint64 bytesReceived, qint64 bytesTotal);
    void slotFailed(const QString &error);
    // Cancels the job: the parts stop and the file goes; no error is reported.
    void stop();

private:
    void sizeKnown();
    void startParts();
    void finish(const QString &error);
    void closeAndRemoveFile();
    void abortParts();

    int m_parts = 1;
    int m_finishedParts = 0;
    qint64 m_totalSize = -1;
    QUrl m_url;
    QFile *m_file = nullptr;
    QString m_savePath;
    QString m_workFolder;
    bool m_overwrite = true;
    QList<MNetPartDownload *> m_partList;
    QMap<QString, qint64> m_progress;
    QString m_referrer;
    MCurlEasy *m_head = nullptr;
    int m_timeoutMs = 120000;
    bool m_running = false;
};
