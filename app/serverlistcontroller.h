#pragma once

#include "serverinfo.h"

#include <QObject>

class LatencyTest;
class LoadingOverlay;
class ServerListLoader;
class ServerPage;

// The server list between its loader, the latency test and the server page: loads at first
// show, fills the page, measures every row once filled, refreshes on request and reports a
// chosen server. The loading picture is up while the list loads or is measured. GUI thread.
class ServerListController : public QObject
{
    Q_OBJECT

public:
    // cachePath: where the loader keeps its last good list.
    ServerListController(const QString &cachePath, ServerPage *page, LoadingOverlay *loading,
                         QObject *parent);

    ServerListLoader *loader() const { return m_loader; }
    LatencyTest *latencyTest() const { return m_latency; }
    // The first show: the list from cache or network.
    void load();
    // Measures the rows shown now ("Speed Test").
    void measure();

signals:
    // The list arrived; empty means nothing can be connected to.
    void listShown(bool empty);
    // The first list chose the current server (shown without connecting).
    void firstListShown();
    // A row was chosen and is now the current server.
    void serverChosen(const QString &host);
    void busyChanged(bool busy);
    void failed(const QString &title, const QString &text);

private:
    void showList();
    void endLoading();

    ServerPage *m_page;
    LoadingOverlay *m_loading;
    ServerListLoader *m_loader;
    LatencyTest *m_latency;
    bool m_filled = false;
};
