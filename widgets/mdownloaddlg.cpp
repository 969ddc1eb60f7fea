#include "mdownloaddlg.h"

#include "mmessagebox.h"
#include "mmultidownload.h"
#include "mutils.h"

#include <QCloseEvent>
#include <QDebug>
#include <QFile>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

MDownloadDlg::MDownloadDlg(const QString &title, QWidget *parent)
    : MBaseDialog(parent)
{
    setTitle(title);
    setBtns(DB_None);
    setHideInTaskbar(false);
    setMinEnable(true);
    setDestoryOnClose(true);

    m_label = new QLabel(this);
    m_label->setObjectName(QStringLiteral("lbProgress"));
    m_label->setOpenExternalLinks(true);
    m_label->setWordWrap(true);
    m_bar = new QProgressBar(this);
    m_bar->setObjectName(QStringLiteral("progressBarForImport"));
    m_bar->setRange(0, 100);
    m_bar->setTextVisible(false);
    m_button = new QPushButton(tr("Cancel"), this);
    m_button->setObjectName(QStringLiteral("BtnDialog"));
    connect(m_button, &QPushButton::clicked, this, &MDownloadDlg::cancelImport);

    auto *layout = new QVBoxLayout;
    layout->setContentsMargins(int(20 * Ratio()), int(15 * Ratio()), int(20 * Ratio()),
                               int(15 * Ratio()));
    layout->setSpacing(int(10 * Ratio()));
    layout->addWidget(m_label);
    layout->addWidget(m_bar);
    layout->addWidget(m_button, 0, Qt::AlignRight);
    setContentLayout(layout);
    resize(int(420 * Ratio()), int(170 * Ratio()));
    setProgress(0);
}

void MDownloadDlg::startDownload(const QString &url, const QString &savePath, int parts)
{
    m_url = url;
    m_savePath = savePath;
    m_job = new MMultiDownload(this, savePath);
    connect(m_job, &MMultiDownload::signalProgress, this, &MDownloadDlg::setProgress);
    connect(m_job, &MMultiDownload::signalFinished, this, &MDownloadDlg::slotDownloadFinised);
    connect(m_job, &MMultiDownload::signalError, this, &MDownloadDlg::slotDownloadError);
    connect(m_job, &MMultiDownload::signalStart, this, &MDownloadDlg::slotDownloadStart);
    connect(m_job, &MMultiDownload::signalEnd, this, &MDownloadDlg::slotDownloadEnd);
    m_running = true;
    m_job->start(QUrl(url), parts);
}

void MDownloadDlg::setProgress(int progress)
{
    m_bar->setValue(progress);
    m_label->setText(QString::number(progress) + QLatin1Char('%'));
}

void MDownloadDlg::cancelImport()
{
    if (m_running) {
        // The job may end while the question is open; its outcome waits for the answer.
        m_asking = true;
        const bool cancel = MMessageBox::ShowMessageBoxOkCancel(
                                tr("Cancel"), tr("Do you want to cancel current task?"), this)
            == 1;
        m_asking = false;
        const Outcome pending = m_pending;
        m_pending = Outcome::None;
        if (!cancel) {
            if (pending == Outcome::Finished)
                slotDownloadFinised();
            else if (pending == Outcome::Failed)
                slotDownloadError(m_pendingError);
            return;
        }
        m_cancelled = true;
        m_running = false;
        if (m_job)
            m_job->stop();
        if (pending == Outcome::Finished && m_job)
            QFile::remove(m_job->outputPath());
        emit signalClose();
    }
    close();
}

void MDownloadDlg::slotDownloadFinised()
{
    if (m_asking) {
        m_pending = Outcome::Finished;
        return;
    }
    m_running = false;
    setProgress(100);
    const QString file = m_job ? m_job->outputPath() : m_savePath;
    // Closed first: the owner may ask questions of its own next.
    close();
    emit signalFinished(file);
}

void MDownloadDlg::slotDownloadError(const QString &error)
{
    if (m_asking) {
        m_pending = Outcome::Failed;
        m_pendingError = error;
        return;
    }
    qInfo() << "MDownloadDlg::slotDownloadError:" << error;
    m_running = false;
    m_label->setText(tr("Failed to download,%1,you click %2 to download it manually.")
                         .arg(error.toHtmlEscaped(),
                              QStringLiteral("<a href='") + m_url.toHtmlEscaped()
                                  + QStringLiteral("' >Here</a>")));
    m_button->setText(tr("Close"));
    emit signalError(error);
}

void MDownloadDlg::slotDownloadStart() { }

void MDownloadDlg::slotDownloadEnd()
{
    if (!m_asking)
        m_running = false;
}

void MDownloadDlg::closeEvent(QCloseEvent *event)
{
    // The title bar's close button cancels like the Cancel button does.
    if (m_running) {
        event->ignore();
        cancelImport();
        return;
    }
    MBaseDialog::closeEvent(event);
}
