#include "muatracker.h"

#include "mconfig.h"
#include "mcurleasy.h"
#include "mdeploy.h"
#include "mnetwork.h"
#include "mutils.h"

#include <QCryptographicHash>
#include <QDeadlineTimer>
#include <QDebug>
#include <QEventLoop>
#include <QLocale>
#include <QMutex>
#include <QMutexLocker>
#include <QRegularExpression>
#include <QStringList>
#include <QSysInfo>
#include <QThread>
#include <QWaitCondition>

#include <algorithm>

namespace {

using Params = QList<QPair<QString, QString>>;

constexpr int kStopWaitMs = 800;
constexpr int kPauseMs = 50;
// A stalled collector must not hold the queue for the HTTP client's usual two minutes.
constexpr long kHitTimeoutSec = 10;

// "key=value&" per parameter, keys ascending, values percent-encoded.
QString joinQuery(Params params)
{
    std::sort(params.begin(), params.end(),
              [](const auto &a, const auto &b) { return a.first < b.first; });
    QString out;
    for (const auto &param : params)
        out += param.first + QLatin1Char('=') + MNetwork::encodeUrlPara(param.second)
            + QLatin1Char('&');
    return out;
}

// Hits leave the machine: no text of theirs may carry the account's secrets.
QString scrub(QString text)
{
    static const QRegularExpression email(QStringLiteral("[^\\s@]+@[^\\s@]+"));
    const MConfig &config = *MConfig::instance();
    for (const QString &secret : {config.loginPassword, config.loginEmail}) {
        if (!secret.isEmpty())
            text.replace(secret, QStringLiteral("-"));
    }
    return text.replace(email, QStringLiteral("-"));
}

} // namespace

// Sends queued hit addresses one at a time; all its state is guarded by one lock, which is
// released while a hit is in flight.
class MGAThread : public QThread
{
public:
    using QThread::QThread;

    void enqueue(const QString &url)
    {
        QMutexLocker lock(&m_mutex);
        if (m_queue.size() >= MUATracker::kMaxQueued) {
            m_queue.removeFirst();
            if (!m_overflowLogged)
                qInfo() << "MUATracker: queue full, dropping the oldest hits.";
            m_overflowLogged = true;
        }
        m_queue.append(url);
        m_wake.wakeAll();
    }

    void prepareStart()
    {
        QMutexLocker lock(&m_mutex);
        m_stop = false;
    }

    void requestStop()
    {
        QMutexLocker lock(&m_mutex);
        m_stop = true;
        m_wake.wakeAll();
        // The transfer lives on the worker: it must be aborted there. A transfer that ends
        // first takes the posted call with it.
        if (MCurlEasy *easy = m_current)
            QMetaObject::invokeMethod(
                easy, [easy] { easy->abort(); }, Qt::QueuedConnection);
    }

protected:
    void run() override
    {
        QMutexLocker lock(&m_mutex);
        while (!m_stop) {
            if (m_queue.isEmpty()) {
                m_wake.wait(&m_mutex);
                continue;
            }
            const QString url = m_queue.takeFirst();
            lock.unlock();
            send(url);
            lock.relock();
            const QDeadlineTimer pause(kPauseMs);
            while (!m_stop && !pause.hasExpired())
                m_wake.wait(&m_mutex, pause);
        }
        m_queue.clear();
        lock.unlock();
        qInfo() << "MGAThread Exit.";
    }

private:
    void send(const QString &url)
    {
        MCurlEasy easy;
        easy.setUrl(url);
        easy.setRequestHeaderValue(QStringLiteral("User-Agent"), QStringLiteral("Quellnet Client"));
        easy.setOption(CURLOPT_TIMEOUT, kHitTimeoutSec);
        easy.setOption(CURLOPT_VERBOSE, 0L);
        QEventLoop loop;
        QObject::connect(&easy, &MCurlEasy::quit, &loop, &QEventLoop::quit);
        {
            QMutexLocker lock(&m_mutex);
            if (m_stop)
                return;
            m_current = &easy;
        }
        if (easy.perform(true))
            loop.exec();
        {
            QMutexLocker lock(&m_mutex);
            m_current = nullptr;
        }
        qDebug() << "GA:" << url;
        if (easy.getResult() != CURLE_OK)
            qDebug() << "GA: not delivered:" << easy.errorString();
    }

    QMutex m_mutex;
    QWaitCondition m_wake;
    QStringList m_queue;
    bool m_stop = false;
    bool m_overflowLogged = false;
    MCurlEasy *m_current = nullptr;
};

MUATracker::MUATracker(const Settings &settings, QObject *parent)
    : QObject(parent)
    , m_collectUrl(settings.collectUrl.trimmed())
    , m_thread(new MGAThread(this))
{
    const QByteArray doNotTrack = qgetenv("DO_NOT_TRACK").trimmed();
    m_enabled = !m_collectUrl.isEmpty() && (doNotTrack.isEmpty() || doNotTrack == "0");
    const QString clientId = settings.userId.isEmpty()
        ? QString()
        : QString::fromLatin1(
            QCryptographicHash::hash(settings.userId.toLatin1(), QCryptographicHash::Md5).toHex());
    const QString userAgent = QStringLiteral("Quellnet/%4 (%1_%2;%3)")
                                  .arg(QSysInfo::productType(), QSysInfo::productVersion(),
                                       QSysInfo::currentCpuArchitecture(), getVer());
    m_commonQuery = joinQuery(
        {{QStringLiteral("v"), QStringLiteral("1")},
         {QStringLiteral("tid"), settings.trackingId},
         {QStringLiteral("cid"), clientId},
         {QStringLiteral("uid"), settings.userId},
         {QStringLiteral("ua"), userAgent},
         {QStringLiteral("ul"), QLocale::system().uiLanguages().join(QLatin1Char(';'))}});
    m_collectUrl += m_collectUrl.contains(QLatin1Char('?')) ? QLatin1Char('&') : QLatin1Char('?');
}

MUATracker::~MUATracker()
{
    stop();
    // Destroying a running thread ends the process: let one that would not end run out alone.
    if (m_thread->isRunning()) {
        m_thread->setParent(nullptr);
        connect(m_thread, &QThread::finished, m_thread, &QObject::deleteLater);
    }
}

MUATracker *MUATracker::instance()
{
    static MUATracker *const tracker = [] {
        return new MUATracker(
            {Deploy::collectUrl(), MConfig::instance()->gaTrackerId, MConfig::getUserId()});
    }();
    return tracker;
}

void MUATracker::start()
{
    if (!m_enabled || m_thread->isRunning())
        return;
    m_thread->prepareStart();
    m_thread->start();
}

void MUATracker::stop()
{
    if (!m_thread->isRunning())
        return;
    m_thread->requestStop();
    m_thread->requestInterruption();
    if (!m_thread->wait(kStopWaitMs))
        m_thread->quit();
    qInfo() << "Stop GA.";
}

bool MUATracker::sendEvent(const QString &category, const QString &action, const QString &label,
                           int value)
{
    if (!m_enabled)
        return false;
    Params hit = {{QStringLiteral("t"), QStringLiteral("event")},
                  {QStringLiteral("ec"), scrub(category)},
                  {QStringLiteral("ea"), scrub(action)},
                  {QStringLiteral("el"), scrub(label)}};
    if (value >= 0)
        hit.append({QStringLiteral("ev"), QString::number(value)});
    return enqueue(hit);
}

bool MUATracker::sendPageView(const QString &title, const QString &path, int queueTime)
{
    if (!m_enabled)
        return false;
    Params hit = {{QStringLiteral("t"), QStringLiteral("pageview")},
                  {QStringLiteral("dh"), Deploy::webHost()},
                  {QStringLiteral("dp"), scrub(path)},
                  {QStringLiteral("dt"), scrub(title)}};
    if (queueTime > 0)
        hit.append({QStringLiteral("qt"), QString::number(queueTime)});
    return enqueue(hit);
}

bool MUATracker::enqueue(const QList<QPair<QString, QString>> &hit)
{
    m_thread->enqueue(m_collectUrl + m_commonQuery + joinQuery(hit));
    return true;
}
