#pragma once

#include "clicklimiter.h"
#include "serverinfo.h"

#include <QObject>
#include <QString>

struct ServerListOutcome;

// Loads the server list and keeps it, with the current choice, for the window.
//
// Sources: the encrypted cache (when "/save/lastLoadServerListDate" is less than six days
// away from today), the server-list host, the backend's "serverlist/" endpoint. Requests and
// parsing run as worker tasks on the global thread pool; each task builds a new list and
// hands it to the loader's thread, where it replaces the old one and the signals below are
// emitted. Everything else (the accessors, the settings) belongs to the loader's thread.
// Tasks started while others run are not refused; their results are applied as they end.
// A task still running when the loader is destroyed runs to its end; its result is dropped.
class ServerListLoader : public QObject
{
    Q_OBJECT

public:
    // cachePath: the encrypted cache file "server_content.fg".
    explicit ServerListLoader(const QString &cachePath, QObject *parent = nullptr);
    ~ServerListLoader() override;

    QString cachePath() const { return m_cachePath; }

    // In the order of the JSON. Records are never changed once listed.
    const ServerInfoList &serverList() const { return m_serverList; }
    // Chosen whenever a list is swapped in: the record whose host is "/save/lastServIp",
    // else the first one (an empty "/save/lastServIp" then takes the first one's host). An
    // empty list keeps the previous choice, which stays valid (it is shared).
    ServerInfoPtr currentServer() const { return m_currentServer; }
    // The first record with that host, or null.
    ServerInfoPtr findServer(const QString &host) const;
    // A click on a row: the record becomes current, its host is stored in
    // "/save/lastServIp" and the settings are saved. Null (and nothing changes) when no
    // record has that host.
    ServerInfoPtr selectServer(const QString &host);

    // Worker tasks under way.
    int runningTasks() const { return m_running; }

    // Start-up load: cache, else the remote sources.
    void loadServerListTask();
    // The two remote sources; what the refresh button starts.
    void loadServerListFromServer();
    // The refresh button: 5 served clicks, then nothing until a 5-minute timer has reset
    // the count. A served click starts loadServerListFromServer() and returns true.
    bool refresh();
    ClickLimiter *refreshLimiter() { return &m_refreshLimiter; }

    // Parses text on this thread and swaps the list in, as a task's result would be.
    void setServerList(const QString &text);

    // The parsing itself, for any thread. ok is false for a text under 30 characters or one
    // that is not JSON; otherwise the list has one record per element of "Servers" (none
    // when the member is missing). Records belong to the calling thread.
    static ServerInfoList parseServerList(const QString &text, bool *ok);

signals:
    // A new list is in place (it may be empty); currentServer() is up to date.
    void signalLoadedServerList();
    // The text was too short or not JSON; the previous list stays.
    void signalLoadedServerListFailed();
    // The backend answered with an error text ("error:" past the first character). Title
    // and text are translated; signalLoadedServerListFailed() follows, so the window
    // restores its cursor and refresh button.
    void signalLoadServerListError(const QString &title, const QString &text);

private:
    void startTask(bool cacheFirst);
    void apply(const ServerListOutcome &outcome);
    void chooseCurrentServer();

    const QString m_cachePath;
    ServerInfoList m_serverList;
    ServerInfoPtr m_currentServer;
    ClickLimiter m_refreshLimiter{5};
    int m_running = 0;
};
