#include "mcurlmulti.h"

#include "mcurleasy.h"

#include <QDebug>
#include <QPointer>
#include <QSharedPointer>
#include <QSocketNotifier>
#include <QThreadStorage>
#include <QTimer>

#include <climits>

struct MCurlMulti::SocketRecord
{
    curl_socket_t socket = CURL_SOCKET_BAD;
    QSocketNotifier *readNotifier = nullptr;
    QSocketNotifier *writeNotifier = nullptr;

    SocketRecord() = default;
    ~SocketRecord()
    {
        delete readNotifier;
        delete writeNotifier;
    }
    SocketRecord(const SocketRecord &) = delete;
    SocketRecord &operator=(const SocketRecord &) = delete;
};

namespace {

QThreadStorage<QSharedPointer<MCurlMulti>> &threadDrivers()
{
    static QThreadStorage<QSharedPointer<MCurlMulti>> drivers;
    return drivers;
}

// Marks the driver busy for the length of one libcurl call, however it is left.
class BusyScope
{
public:
    explicit BusyScope(int &count)
        : m_count(count)
    {
        ++m_count;
    }
    ~BusyScope() { --m_count; }
    BusyScope(const BusyScope &) = delete;
    BusyScope &operator=(const BusyScope &) = delete;

private:
    int &m_count;
};

} // namespace

MCurlMulti::MCurlMulti(QObject *parent)
    : QObject(parent)
    , m_multi(curl_multi_init())
    , m_timer(new QTimer(this))
{
    if (m_multi) {
        curl_multi_setopt(m_multi, CURLMOPT_SOCKETFUNCTION, &MCurlMulti::socketFunction);
        curl_multi_setopt(m_multi, CURLMOPT_SOCKETDATA, static_cast<void *>(this));
        curl_multi_setopt(m_multi, CURLMOPT_TIMERFUNCTION, &MCurlMulti::timerFunction);
        curl_multi_setopt(m_multi, CURLMOPT_TIMERDATA, static_cast<void *>(this));
    } else {
        qInfo() << "MCurlMulti: curl_multi_init failed";
    }
    connect(m_timer, &QTimer::timeout, this, &MCurlMulti::curlMultiTimeout);
}

MCurlMulti::~MCurlMulti()
{
    // Whoever waits for these would otherwise wait for ever.
    const QList<MCurlEasy *> orphans = m_transfers.values();
    QList<QPointer<MCurlEasy>> waiting;
    for (MCurlEasy *easy : orphans) {
        removeTransfer(easy);
        waiting.append(easy);
    }
    for (const QPointer<MCurlEasy> &easy : qAsConst(waiting)) {
        if (easy)
            emit easy->aborted();
        if (easy)
            emit easy->quit();
    }
    if (m_multi) {
        BusyScope busy(m_busy);
        curl_multi_cleanup(m_multi);
        m_multi = nullptr;
    }
    m_timer->stop();
    qDeleteAll(m_sockets);
    m_sockets.clear();
}

MCurlMulti *MCurlMulti::threadMulti()
{
    auto &drivers = threadDrivers();
    if (!drivers.hasLocalData() || !drivers.localData())
        drivers.setLocalData(QSharedPointer<MCurlMulti>::create());
    return drivers.localData().data();
}

void MCurlMulti::releaseThreadMulti()
{
    auto &drivers = threadDrivers();
    if (drivers.hasLocalData())
        drivers.setLocalData(QSharedPointer<MCurlMulti>());
}

bool MCurlMulti::addTransfer(MCurlEasy *easy)
{
    if (!m_multi || !easy || !easy->m_handle)
        return false;
    if (m_transfers.contains(easy))
        return true;
    CURLMcode code;
    {
        BusyScope busy(m_busy);
        code = curl_multi_add_handle(m_multi, easy->m_handle);
    }
    if (code != CURLM_OK) {
        qInfo() << "MCurlMulti::addTransfer,failed:" << curl_multi_strerror(code);
        return false;
    }
    m_transfers.insert(easy);
    easy->m_attachedMulti = this;
    return true;
}

void MCurlMulti::removeTransfer(MCurlEasy *easy)
{
    if (!easy || !m_transfers.remove(easy))
        return;
    easy->m_attachedMulti = nullptr;
    if (m_multi) {
        BusyScope busy(m_busy);
        curl_multi_remove_handle(m_multi, easy->m_handle);
    }
}

void MCurlMulti::curlMultiTimeout()
{
    socketAction(CURL_SOCKET_TIMEOUT, 0);
}

void MCurlMulti::socketReadyRead(int socketDescriptor)
{
    socketAction(socketDescriptor, CURL_CSELECT_IN);
}

void MCurlMulti::socketReadyWrite(int socketDescriptor)
{
    socketAction(socketDescriptor, CURL_CSELECT_OUT);
}

void MCurlMulti::socketException(int socketDescriptor)
{
    socketAction(socketDescriptor, CURL_CSELECT_ERR);
}

int MCurlMulti::socketFunction(CURL *, curl_socket_t socket, int what, void *userData,
                               void *socketData)
{
    auto *self = static_cast<MCurlMulti *>(userData);
    if (self)
        self->updateSocket(socket, what, static_cast<SocketRecord *>(socketData));
    return 0;
}

int MCurlMulti::timerFunction(CURLM *, long timeoutMs, void *userData)
{
    auto *self = static_cast<MCurlMulti *>(userData);
    if (!self)
        return -1;
    if (timeoutMs >= INT_MAX)
        self->m_timer->start(INT_MAX);
    else if (timeoutMs < 0)
        self->m_timer->stop();
    else
        self->m_timer->start(int(timeoutMs));
    return 0;
}

void MCurlMulti::updateSocket(curl_socket_t socket, int what, SocketRecord *record)
{
    if (what == CURL_POLL_REMOVE) {
        if (record) {
            curl_multi_assign(m_multi, socket, nullptr);
            m_sockets.remove(socket);
            // Unregister now: libcurl closes the descriptor right after this call.
            delete record;
        }
        return;
    }
    if (!record) {
        if (what == CURL_POLL_NONE)
            return;
        // A record left for a reused descriptor would keep a notifier on it.
        delete m_sockets.take(socket);
        record = new SocketRecord;
        record->socket = socket;
        m_sockets.insert(socket, record);
        curl_multi_assign(m_multi, socket, record);
    }

    if (what == CURL_POLL_IN || what == CURL_POLL_INOUT) {
        if (!record->readNotifier) {
            record->readNotifier = new QSocketNotifier(socket, QSocketNotifier::Read, this);
            const int descriptor = int(socket);
            connect(record->readNotifier, &QSocketNotifier::activated, this,
                    [this, descriptor] { socketReadyRead(descriptor); });
        }
        record->readNotifier->setEnabled(true);
    } else if (record->readNotifier) {
        record->readNotifier->setEnabled(false);
    }

    if (what == CURL_POLL_OUT || what == CURL_POLL_INOUT) {
        if (!record->writeNotifier) {
            record->writeNotifier = new QSocketNotifier(socket, QSocketNotifier::Write, this);
            const int descriptor = int(socket);
            connect(record->writeNotifier, &QSocketNotifier::activated, this,
                    [this, descriptor] { socketReadyWrite(descriptor); });
        }
        record->writeNotifier->setEnabled(true);
    } else if (record->writeNotifier) {
        record->writeNotifier->setEnabled(false);
    }
}

void MCurlMulti::socketAction(curl_socket_t socket, int eventBits)
{
    if (!m_multi)
        return;
    try {
        int running = 0;
        {
            BusyScope busy(m_busy);
            curl_multi_socket_action(m_multi, socket, eventBits, &running);
        }
        int pending = 0;
        while (CURLMsg *message = curl_multi_info_read(m_multi, &pending)) {
            if (message->msg != CURLMSG_DONE || !message->easy_handle)
                continue;
            // The message is gone once its handle is removed: copy what is needed first.
            CURL *handle = message->easy_handle;
            const int result = message->data.result;
            char *owner = nullptr;
            curl_easy_getinfo(handle, CURLINFO_PRIVATE, &owner);
            auto *easy = reinterpret_cast<MCurlEasy *>(owner);
            if (easy && m_transfers.contains(easy))
                easy->finish(result);
        }
    } catch (...) {
        // Nothing may escape into the event loop; the pass just ends.
    }
}
