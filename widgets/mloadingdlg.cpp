#include "mloadingdlg.h"

#include "mutils.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QMovie>
#include <QProcess>
#include <QTimer>
#include <QVBoxLayout>

namespace {
constexpr int kBeginEventDelayMs = 100;
constexpr int kChildLifetimeMs = 20000;
} // namespace

MLoadingDlg::MLoadingDlg(const QString &text, bool textOnly, QWidget *parent)
    : QDialog(parent)
{
    setWindowFlags(Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint);
    setStyleSheet(
        QStringLiteral("MLoadingDlg{border:1px solid blue;background-color:rgb(113,200,210);}"));
    setWindowOpacity(1.0);
    setFixedSize(static_cast<int>(280 * Ratio()), static_cast<int>(60 * Ratio()));

    auto *layout = new QVBoxLayout(this);
    const int margin = static_cast<int>(5 * Ratio());
    layout->setContentsMargins(margin, margin, margin, margin);
    layout->setSpacing(0);
    layout->addSpacing(static_cast<int>(10 * Ratio()));

    m_label = new QLabel(text, this);
    if (textOnly) {
        m_label->setAlignment(Qt::AlignCenter);
        m_label->setStyleSheet(QStringLiteral("font-size:11pt;color:#000000;"));
        layout->addStretch();
        layout->addWidget(m_label);
        layout->addStretch();
    } else {
        m_label->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
        m_label->setStyleSheet(QStringLiteral("font-size:10pt;color:#000000;"));
        auto *animation = new QLabel(this);
        animation->setAlignment(Qt::AlignCenter);
        m_movie = new QMovie(QStringLiteral(":/Skin/loading_inner.gif"), QByteArray(), this);
        animation->setMovie(m_movie);
        // 60 pixels of height leave room for one row: message and animation side by side.
        auto *row = new QHBoxLayout;
        row->setContentsMargins(0, 0, 0, 0);
        row->setSpacing(0);
        row->addStretch();
        row->addWidget(m_label);
        row->addSpacing(static_cast<int>(10 * Ratio()));
        row->addWidget(animation);
        row->addSpacing(static_cast<int>(20 * Ratio()));
        row->addStretch();
        layout->addLayout(row);
        if (m_movie->isValid())
            m_movie->start();
        else
            animation->hide();
    }
    setCursor(Qt::BusyCursor);
}

MLoadingDlg::~MLoadingDlg() = default;

MLoadingDlg *MLoadingDlg::createDlg(const QString &text, bool textOnly)
{
    auto *dlg = new MLoadingDlg(text, textOnly, nullptr);
    dlg->setWindowFlags(dlg->windowFlags() | Qt::WindowStaysOnTopHint);
    return dlg;
}

void MLoadingDlg::hideLoading(MLoadingDlg *dlg)
{
    if (!dlg)
        return;
    dlg->hide();
    dlg->deleteLater();
}

void MLoadingDlg::createLoading(const QString &text, QProcess &process)
{
    process.start(QCoreApplication::applicationFilePath(), {QStringLiteral("--splash-inner"), text},
                  QIODevice::ReadWrite);
    // Bound to the process object: a QProcess destroyed earlier has ended the child itself.
    QProcess *child = &process;
    QTimer::singleShot(kChildLifetimeMs, child, [child] {
        if (child->state() != QProcess::NotRunning)
            child->kill();
    });
}

void MLoadingDlg::closeEvent(QCloseEvent *event)
{
    m_closed = true;
    QDialog::closeEvent(event);
}

void MLoadingDlg::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (m_beginEvent)
        QTimer::singleShot(kBeginEventDelayMs, this, &MLoadingDlg::signalBeginEvent);
}
