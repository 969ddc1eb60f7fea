#include "serverlistloader.h"

#include "backendprotocol.h"
#include "encryptedfiles.h"
#include "mconfig.h"
#include "mdeploy.h"
#include "mnetwork.h"
#include "serverlistreader.h"

#include <QDate>
#include <QDebug>
#include <QFutureWatcher>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLoggingCategory>
#include <QThread>
#include <QtConcurrent>

// What a worker task found, handed to the loader's thread.
struct ServerListOutcome
{
    enum Kind { Loaded, Failed, BackendError };
    Kind kind = Failed;
    ServerInfoList list;
    QString errorReply;
    QString cachedOn; // the date to store when the task rewrote the cache
};

namespace {

constexpr int kMinCacheLength = 50;
constexpr int kMinHostReplyLength = 51;
constexpr int kMinListLength = 30;
constexpr int kCacheDays = 6;

QString dateFormat()
{
    return QStringLiteral("yyyy-MM-dd");
}

// Copied on the loader's thread when the task starts: the task reads no shared state.
struct TaskInput
{
    QString cachePath;
    QString lastLoadDate;
    QDate today;
    QThread *target = nullptr;
    bool cacheFirst = false;
};

// The HTTP client hands bodies over one character per byte; the list is UTF-8.
QString decodeReply(const QString &received)
{
    return QString::fromUtf8(received.toLatin1());
}

ServerListOutcome parsed(const QString &text, QThread *target)
{
    ServerListOutcome outcome;
    bool ok = false;
    outcome.list = ServerListLoader::parseServerList(text, &ok);
    outcome.kind = ok ? ServerListOutcome::Loaded : ServerListOutcome::Failed;
    for (const ServerInfoPtr &info : qAsConst(outcome.list))
        info->moveToThread(target);
    return outcome;
}

ServerListOutcome loadFromServer(const TaskInput &input)
{
    QMap<QString, QString> hostHeaders;
    hostHeaders.insert(QStringLiteral("Identity"), QString::fromLatin1(Deploy::identity()));
    const QString hostReply
        = MNetwork::getWebConent(Endpoint::serverListHost(), hostHeaders, MNetwork::Call::List);
    if (hostReply.size() >= kMinHostReplyLength) {
        const QString text = decodeReply(hostReply);
        ServerListOutcome outcome = parsed(text, input.target);
        // Only a list that reads replaces the cache: a broken reply must not destroy it.
        if (outcome.kind == ServerListOutcome::Loaded && save_config(input.cachePath, text))
            outcome.cachedOn = input.today.toString(dateFormat());
        return outcome;
    }

    HeaderMap headers;
    makeRequestHeaders(headers);
    const QString url = Endpoint::serverList();
    const QString reply = decodeReply(MNetwork::get(url, headers, MNetwork::Call::List));
    qInfo() << "Get List From:" << url;
    // One at the very start is left to the parser, which refuses it as JSON.
    if (reply.indexOf(QLatin1String("error:")) > 0) {
        qInfo() << "Error:" << reply;
        ServerListOutcome outcome;
        outcome.kind = ServerListOutcome::BackendError;
        outcome.errorReply = reply;
        return outcome;
    }
    return parsed(reply, input.target);
}

ServerListOutcome runTask(const TaskInput &input)
{
    if (input.cacheFirst && !input.lastLoadDate.isEmpty()) {
        const QDate last = QDate::fromString(input.lastLoadDate, dateFormat());
        if (last.isValid() && qAbs(last.daysTo(input.today)) < kCacheDays) {
            const QString text = load_config(input.cachePath);
            if (text.size() >= kMinCacheLength) {
                qInfo() << "Load ser list from local...";
                ServerListOutcome outcome = parsed(text, input.target);
                if (outcome.kind == ServerListOutcome::Loaded)
                    return outcome;
                qInfo() << "The cached server list does not read; asking the network.";
            }
        }
    }
    return loadFromServer(input);
}

// What qInfo() << "OVPN:" << name << size << "characters" logs, without a QDebug stream per
// record: a list has thousands. A name that QDebug would escape still goes through QDebug.
void logRecord(const QString &name, int size)
{
    if (!QLoggingCategory::defaultCategory()->isInfoEnabled())
        return;
    for (const QChar c : name) {
        const ushort u = c.unicode();
        if (u < 0x20 || u > 0x7e || u == '"' || u == '\\') {
            qInfo() << "OVPN:" << name << size << "characters";
            return;
        }
    }
    QChar digits[12];
    QChar *const digitsEnd = digits + 12;
    QChar *first = digitsEnd;
    unsigned value = unsigned(size); // a text length, never negative
    do {
        *--first = QLatin1Char(char('0' + value % 10));
        value /= 10;
    } while (value != 0);
    const QString line = QLatin1String("OVPN: \"") + name + QLatin1String("\" ")
        + QString::fromRawData(first, int(digitsEnd - first)) + QLatin1String(" characters");
    // Where qInfo() would send it, with the same context.
    const QMessageLogContext context(QT_MESSAGELOG_FILE, QT_MESSAGELOG_LINE, QT_MESSAGELOG_FUNC,
                                     "default");
    qt_message_output(QtInfoMsg, context, line);
}

// The texts of every element of "Servers" (none when it is missing or not an array); false
// with the parser's message when the text is not JSON.
bool readServerListDocument(const QString &text, QVector<RawServerEntry> *out, QString *error)
{
    QJsonParseError parseError;
    const QJsonDocument document = QJsonDocument::fromJson(text.toUtf8(), &parseError);
    if (parseError.error != QJsonParseError::NoError) {
        *error = parseError.errorString();
        return false;
    }
    const QJsonArray servers = document.object().value(QLatin1String("Servers")).toArray();
    out->clear();
    out->reserve(servers.size());
    for (const QJsonValue &value : servers) {
        const QJsonObject object = value.toObject();
        RawServerEntry entry;
        entry.ip = object.value(QLatin1String("Ip")).toString();
        entry.name = object.value(QLatin1String("Name")).toString();
        entry.country = object.value(QLatin1String("Country")).toString();
        entry.ovpn = object.value(QLatin1String("Ovpn")).toString();
        out->append(std::move(entry));
    }
    return true;
}

} // namespace

ServerListLoader::ServerListLoader(const QString &cachePath, QObject *parent)
    : QObject(parent)
    , m_cachePath(cachePath)
{
    qRegisterMetaType<ServerInfoList>();
}

ServerListLoader::~ServerListLoader() = default;

ServerInfoPtr ServerListLoader::findServer(const QString &host) const
{
    for (const ServerInfoPtr &info : m_serverList) {
        if (info->host == host)
            return info;
    }
    return ServerInfoPtr();
}

ServerInfoPtr ServerListLoader::selectServer(const QString &host)
{
    const ServerInfoPtr info = findServer(host);
    if (!info)
        return info;
    m_currentServer = info;
    MConfig::instance()->lastServIp = info->host;
    MConfig::saveCommConfig();
    return info;
}

void ServerListLoader::loadServerListTask()
{
    startTask(true);
}

void ServerListLoader::loadServerListFromServer()
{
    startTask(false);
}

bool ServerListLoader::refresh()
{
    if (!m_refreshLimiter.click())
        return false;
    loadServerListFromServer();
    return true;
}

void ServerListLoader::setServerList(const QString &text)
{
    apply(parsed(text, thread()));
}

ServerInfoList ServerListLoader::parseServerList(const QString &text, bool *ok)
{
    *ok = false;
    if (text.size() < kMinListLength)
        return ServerInfoList();
    QVector<RawServerEntry> entries;
    // The document is the reference; the reader only spares it the plain lists.
    if (!readServerListFast(text, &entries)) {
        QString error;
        if (!readServerListDocument(text, &entries, &error)) {
            qInfo() << "setServerList,QJsonParseError:" << error;
            return ServerInfoList();
        }
    }
    *ok = true;

    ServerInfoList list;
    list.reserve(entries.size());
    ConfigDecryptor decryptor;
    for (const RawServerEntry &entry : qAsConst(entries)) {
        const ServerInfoPtr info = ServerInfoPtr::create();
        info->ip = entry.ip.trimmed();
        info->name = entry.name.trimmed();
        info->country = entry.country.trimmed();
        info->host = info->ip;
        info->ovpn = decryptor.decryptBase64(entry.ovpn);
        // The configuration carries the inline keys: the log names it, never shows it.
        logRecord(info->name, info->ovpn.size());
        list.append(info);
    }
    return list;
}

void ServerListLoader::startTask(bool cacheFirst)
{
    TaskInput input;
    input.cachePath = m_cachePath;
    input.lastLoadDate = MConfig::instance()->lastLoadServerListDate;
    input.today = QDate::currentDate();
    input.target = thread();
    input.cacheFirst = cacheFirst;

    // The watcher's signal reaches this thread queued; with the loader gone, the watcher is
    // gone too and the result is dropped.
    auto *watcher = new QFutureWatcher<ServerListOutcome>(this);
    connect(watcher, &QFutureWatcherBase::finished, this, [this, watcher] {
        --m_running;
        const ServerListOutcome outcome = watcher->result();
        watcher->deleteLater();
        apply(outcome);
    });
    ++m_running;
    watcher->setFuture(QtConcurrent::run(runTask, input));
}

void ServerListLoader::apply(const ServerListOutcome &outcome)
{
    if (!outcome.cachedOn.isEmpty()) {
        MConfig::instance()->lastLoadServerListDate = outcome.cachedOn;
        MConfig::saveCommConfig();
    }
    switch (outcome.kind) {
    case ServerListOutcome::Loaded:
        m_serverList = outcome.list;
        chooseCurrentServer();
        emit signalLoadedServerList();
        break;
    case ServerListOutcome::BackendError:
        emit signalLoadServerListError(tr("Failed"),
                                       tr("Load Server List Failed,") + outcome.errorReply);
        emit signalLoadedServerListFailed();
        break;
    case ServerListOutcome::Failed:
        emit signalLoadedServerListFailed();
        break;
    }
}

void ServerListLoader::chooseCurrentServer()
{
    MConfig *config = MConfig::instance();
    ServerInfoPtr chosen;
    for (const ServerInfoPtr &info : qAsConst(m_serverList)) {
        // Nothing remembered yet: the first server becomes the remembered choice.
        if (config->lastServIp.isEmpty())
            config->lastServIp = info->host;
        if (info->host == config->lastServIp) {
            chosen = info;
            break;
        }
    }
    if (!chosen && !m_serverList.isEmpty())
        chosen = m_serverList.first();
    if (chosen)
        m_currentServer = chosen;
}
