#pragma once

#include <QHash>
#include <QObject>
#include <QSet>

#include <curl/curl.h>

class MCurlEasy;
class QTimer;

// A libcurl multi handle driven by the Qt event loop of the thread it lives on: socket
// notifiers and a timer instead of a blocking select. One per thread (threadMulti()), kept
// until the thread ends; all its transfers share its connection cache. Not thread-safe: use
// it only from its own thread.
class MCurlMulti : public QObject
{
    Q_OBJECT

public:
    explicit MCurlMulti(QObject *parent = nullptr);
    // Transfers still attached end with aborted() and quit().
    ~MCurlMulti() override;

    // The calling thread's driver, made on first use.
    static MCurlMulti *threadMulti();
    // Drops the calling thread's driver now (before curl_global_cleanup on the main thread).
    static void releaseThreadMulti();

    // False when libcurl refused the handle; nothing will be reported for it then.
    bool addTransfer(MCurlEasy *easy);
    void removeTransfer(MCurlEasy *easy);

private slots:
    void curlMultiTimeout();
    void socketReadyRead(int socketDescriptor);
    void socketReadyWrite(int socketDescriptor);
    void socketException(int socketDescriptor);

private:
    friend class MCurlEasy;
    struct SocketRecord;

    static int socketFunction(CURL *easy, curl_socket_t socket, int what, void *userData,
                              void *socketData);
    static int timerFunction(CURLM *multi, long timeoutMs, void *userData);

    void updateSocket(curl_socket_t socket, int what, SocketRecord *record);
    void socketAction(curl_socket_t socket, int eventBits);
    // True while a libcurl call of this driver runs: libcurl refuses re-entry then.
    bool isBusy() const { return m_busy > 0; }

    CURLM *m_multi = nullptr;
    QTimer *m_timer = nullptr;
    QSet<MCurlEasy *> m_transfers;
    QHash<curl_socket_t, SocketRecord *> m_sockets;
    int m_busy = 0;
};
