#pragma once

#include "page.h"
#include "serverinfo.h"

#include <QHash>
#include <QList>
#include <QPersistentModelIndex>

class ServerListWidget;

// The server list with its refresh button. It keeps which row each latency result belongs
// to, so a result that arrives after a refill goes nowhere.
class ServerPage : public Page
{
    Q_OBJECT

public:
    explicit ServerPage(QWidget *parent);

    void fill(const ServerInfoList &servers, const ServerInfoPtr &current);
    // The rows to measure, each under a new key (host as the address).
    QList<QPair<quint64, QString>> latencyRows();
    // The result of one key; its row, -1 when the row went.
    int setLatency(quint64 key, const QString &speed);
    void setRefreshEnabled(bool enabled);
    ServerListWidget *list() const { return m_list; }
    QPushButton *refreshButton() const { return m_refresh; }

signals:
    void serverClicked(const QString &host);
    void refreshClicked();

private:
    ServerListWidget *m_list;
    QPushButton *m_refresh;
    QHash<quint64, QPersistentModelIndex> m_latencyRows;
    quint64 m_nextKey = 0;
};
