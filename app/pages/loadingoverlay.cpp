#include "loadingoverlay.h"

#include "mgiflable.h"
#include "page.h"

#include <QDebug>
#include <QEvent>
#include <QMovie>

LoadingOverlay::LoadingOverlay(QWidget *host)
    : MPanel(Qt::Vertical, host)
    , m_movie(new QMovie(QStringLiteral(":/wnd/loading.gif"), QByteArray(), this))
{
    setObjectName(QStringLiteral("PanelLoading"));
    auto *label = new MGifLable(this);
    label->setObjectName(QStringLiteral("LBLoading"));
    label->setFixedSize(scaled(120), scaled(120));
    label->setOpacity(0.7f);
    label->setScaledContents(true);
    if (!m_movie->isValid())
        qInfo() << "Movie is bad";
    label->setMovie(m_movie);
    addStretch(1);
    addWidget(label, 1);
    addStretch(1);
    setGeometry(host->rect());
    hide();
    host->installEventFilter(this);
}

void LoadingOverlay::setListLoading(bool loading)
{
    m_listLoading = loading;
    update();
}

void LoadingOverlay::setAccountBusy(bool busy)
{
    m_accountBusy = qMax(0, m_accountBusy + (busy ? 1 : -1));
    update();
}

void LoadingOverlay::stop()
{
    m_movie->stop();
}

bool LoadingOverlay::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == parentWidget() && event->type() == QEvent::Resize)
        setGeometry(parentWidget()->rect());
    return MPanel::eventFilter(watched, event);
}

void LoadingOverlay::update()
{
    const bool shown = m_listLoading || m_accountBusy > 0;
    if (shown == !isHidden())
        return;
    if (shown) {
        setGeometry(parentWidget()->rect());
        show();
        raise();
        m_movie->start();
    } else {
        hide();
        m_movie->stop();
    }
}
