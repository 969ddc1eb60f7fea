#pragma once

#include "mbasedialog.h"

#include <QPointer>
#include <QString>

#include "mmultidownload.h"
class QLabel;
class QProgressBar;

// Progress of one download job with a cancel button. Tells its owner the outcome through
// signalFinished (with the file) or signalError; stays open after a failure so the user can
// read why, closes itself after success or cancel.
class MDownloadDlg : public MBaseDialog
{
    Q_OBJECT

public:
    explicit MDownloadDlg(const QString &title, QWidget *parent = nullptr);

    void startDownload(const QString &url, const QString &savePath, int parts);
    MMultiDownload *job() const { return m_job; }

signals:
    void signalError(const QString &error);
    void signalFinished(const QString &downloadFile);
    void signalClose();

public slots:
    void setProgress(int progress);
    void cancelImport();
    void slotDownloadFinised();
    void slotDownloadError(const QString &error);
    void slotDownloadStart();
    void slotDownloadEnd();

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    QLabel *m_label = nullptr;
    QProgressBar *m_bar = nullptr;
    QPushButton *m_button = nullptr;
    QPointer<MMultiDownload> m_job;
    QString m_url;
    QString m_savePath;
    enum class Outcome { None, Finished, Failed };
    bool m_running = false;
    bool m_cancelled = false;
    bool m_asking = false;
    Outcome m_pending = Outcome::None;
    QString m_pendingError;
};
