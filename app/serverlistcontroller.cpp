#include "serverlistcontroller.h"

#include "latencytest.h"
#include "pages/loadingoverlay.h"
#include "pages/serverpage.h"
#include "serverlistloader.h"

#include <QDebug>

ServerListController::ServerListController(const QString &cachePath, ServerPage *page,
                                           LoadingOverlay *loading, QObject *parent)
    : QObject(parent)
    , m_page(page)
    , m_loading(loading)
    , m_loader(new ServerListLoader(cachePath, this))
    , m_latency(new LatencyTest(this))
{
    // The loader reports from its worker: queued, so the page changes on this thread.
    connect(m_loader, &ServerListLoader::signalLoadedServerList, this,
            &ServerListController::showList, Qt::QueuedConnection);
    connect(m_loader, &ServerListLoader::signalLoadedServerListFailed, this,
            &ServerListController::endLoading, Qt::QueuedConnection);
    connect(m_loader, &ServerListLoader::signalLoadServerListError, this,
            &ServerListController::failed, Qt::QueuedConnection);
    connect(m_latency, &LatencyTest::signalSpeed, this, [this](quint64 key, const QString &speed) {
        // A refill forgets the keys, and the rows they named are gone with it.
        m_page->setLatency(key, speed);
    });
    connect(m_latency, &LatencyTest::signalTestSpeedFinised, this,
            &ServerListController::endLoading, Qt::QueuedConnection);
    connect(m_page, &ServerPage::serverClicked, this, [this](const QString &host) {
        if (!m_loader->selectServer(host))
            return;
        qInfo().noquote() << "Change to:" << host;
        emit serverChosen(host);
    });
    connect(m_page, &ServerPage::refreshClicked, this, [this] {
        if (!m_loader->refresh())
            return;
        emit busyChanged(true);
        m_loading->setListLoading(true);
        m_page->setRefreshEnabled(false);
    });
}

void ServerListController::load()
{
    m_loading->setListLoading(true);
    m_loader->loadServerListTask();
}

void ServerListController::measure()
{
    QList<LatencyTest::Row> rows;
    for (const auto &row : m_page->latencyRows())
        rows.append({row.first, row.second});
    m_latency->start(rows);
}

void ServerListController::showList()
{
    emit busyChanged(false);
    m_loading->setListLoading(false);
    const ServerInfoList &servers = m_loader->serverList();
    emit listShown(servers.isEmpty());
    if (servers.isEmpty()) {
        m_page->setRefreshEnabled(true);
        return;
    }
    m_page->fill(servers, m_loader->currentServer());
    if (!m_filled) {
        m_filled = true;
        emit firstListShown();
    } else {
        m_loading->setListLoading(true);
    }
    measure();
}

void ServerListController::endLoading()
{
    emit busyChanged(false);
    m_loading->setListLoading(false);
    m_page->setRefreshEnabled(true);
}
