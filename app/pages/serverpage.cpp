#include "serverpage.h"

#include "serveritem.h"

#include <QPushButton>

ServerPage::ServerPage(QWidget *parent)
    : Page(tr("Servers"), parent)
    , m_list(new ServerListWidget(this))
{
    m_list->setObjectName(QStringLiteral("ServerList"));
    m_list->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_list->setSelectionMode(QAbstractItemView::SingleSelection);
    addWidget(m_list);
    getLayout()->setStretchFactor(m_list, 1);
    m_refresh = makeButton(QStringLiteral("BTNRefresh"), QString(), this);
    m_refresh->setText(tr("Refresh"));
    addWidget(m_refresh);

    connect(m_list, &QListWidget::itemClicked, this, [this](QListWidgetItem *item) {
        emit serverClicked(item->data(ServerListWidget::HostRole).toString());
    });
    connect(m_refresh, &QPushButton::clicked, this, &ServerPage::refreshClicked);
}

void ServerPage::fill(const ServerInfoList &servers, const ServerInfoPtr &current)
{
    m_latencyRows.clear();
    fillServerRows(m_list, servers, current, scaled(26));
}

QList<QPair<quint64, QString>> ServerPage::latencyRows()
{
    QList<QPair<quint64, QString>> rows;
    rows.reserve(m_list->count());
    for (int i = 0; i < m_list->count(); ++i) {
        const QModelIndex index = m_list->model()->index(i, 0);
        const quint64 key = ++m_nextKey;
        m_latencyRows.insert(key, index);
        rows.append({key, index.data(ServerListWidget::HostRole).toString()});
    }
    return rows;
}

int ServerPage::setLatency(quint64 key, const QString &speed)
{
    const QPersistentModelIndex row = m_latencyRows.take(key);
    if (!row.isValid())
        return -1;
    // Kept in the row: a row without a widget shows it once scrolled into view.
    m_list->setRowSpeed(row.row(), speed);
    return row.row();
}

void ServerPage::setRefreshEnabled(bool enabled)
{
    m_refresh->setEnabled(enabled);
}
