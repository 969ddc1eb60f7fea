// Two figures of the server page. First, a list of many servers made by the reference backend
// is parsed, decrypted and put into the server page's list (ServerListWidget) as the main
// window does; the baseline is a bare QJsonDocument parse of the same text in the same run, so
// the ratio means the same on a slower or busier machine. Second, the resident memory of the
// real client once it sits idle with the demo list shown.

#include "backendprotocol.h"
#include "mconfig.h"
#include "mnetwork.h"
#include "mutils.h"
#include "resinit.h"
#include "serverinfo.h"
#include "serveritem.h"
#include "serverlistloader.h"
#include "testbackend.h"

#include <QApplication>
#include <QDate>
#include <QDir>
#include <QDirIterator>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QListWidget>
#include <QProcess>
#include <QTemporaryDir>
#include <QTextStream>
#include <QTimer>

#include <algorithm>
#include <memory>
#include <vector>

namespace {

constexpr int kDefaultServers = 10000;
constexpr int kDefaultRepeats = 3;
constexpr double kGoalRatio = 3.0;
constexpr int kListWaitMs = 20000;
constexpr int kSettleMs = 1000;
constexpr int kTermWaitMs = 10000;

QTextStream &out()
{
    static QTextStream stream(stdout);
    return stream;
}

QTextStream &err()
{
    static QTextStream stream(stderr);
    return stream;
}

// parseServerList logs every record; the timing is about the work, not the terminal.
QtMessageHandler s_previousHandler = nullptr;
bool s_quiet = false;

void messageHandler(QtMsgType type, const QMessageLogContext &context, const QString &message)
{
    if (s_quiet && (type == QtDebugMsg || type == QtInfoMsg))
        return;
    if (s_previousHandler)
        s_previousHandler(type, context, message);
}

void spin(int ms)
{
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    const size_t n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

// The backend takes country and name from the file name and the address from "remote".
bool writeServerFiles(const QString &folder, int count)
{
    static const char *const kPlaces[]
        = {"jp-tokyo", "us-dallas", "de-berlin", "gb-london", "sg-singapore", "fr-paris"};
    const int places = int(sizeof(kPlaces) / sizeof(kPlaces[0]));
    for (int i = 0; i < count; ++i) {
        const QString name = QStringLiteral("%1-%2.ovpn")
                                 .arg(QLatin1String(kPlaces[i % places]))
                                 .arg(i / places + 1);
        QFile file(QDir(folder).filePath(name));
        if (!file.open(QIODevice::WriteOnly))
            return false;
        const QByteArray text = QStringLiteral("client\ndev tun\nproto udp\n"
                                               "remote 127.66.%1.%2 1194\nverb 3\n")
                                    .arg(i / 250)
                                    .arg(i % 250 + 1)
                                    .toLatin1();
        if (file.write(text) != text.size())
            return false;
    }
    return true;
}

// The body the loader works on: Latin-1 transport, then UTF-8.
QString fetchList()
{
    HeaderMap headers;
    makeRequestHeaders(headers);
    return QString::fromUtf8(MNetwork::getWebConent(Endpoint::serverList(), headers).toLatin1());
}

// The main window's fill of its server page, on a list widget of its own; returns the rows.
int fillList(QListWidget *listWidget, const ServerInfoList &servers)
{
    fillServerRows(listWidget, servers, servers.isEmpty() ? ServerInfoPtr() : servers.first(),
                   int(26 * Ratio()));
    return listWidget->count();
}

struct PipelineFigures
{
    double pipelineMs = 0;
    double jsonMs = 0;
    double parseMs = 0; // the parse+decrypt share of pipelineMs
};

bool benchPipeline(const QString &workDir, int count, int repeats, PipelineFigures *figures)
{
    const QString serverDir = QDir(workDir).filePath(QStringLiteral("servers"));
    if (!QDir().mkpath(serverDir) || !writeServerFiles(serverDir, count)) {
        err() << "cannot write the server files in " << serverDir << Qt::endl;
        return false;
    }
    TestBackend backend;
    TestBackend::Options options;
    options.ovpnDir = serverDir;
    if (!backend.start(options)) {
        err() << "backend did not start: " << backend.stderrText() << Qt::endl;
        return false;
    }
    backend.exportClientEnvironment();
    const QString text = fetchList();
    backend.stop();

    // Warm both paths once, so neither timing pays for the allocator's first growth.
    {
        bool ok = false;
        s_quiet = true;
        const ServerInfoList warm = ServerListLoader::parseServerList(text, &ok);
        s_quiet = false;
        const QJsonDocument document = QJsonDocument::fromJson(text.toUtf8());
        Q_UNUSED(warm);
        Q_UNUSED(document);
    }
    std::vector<double> pipeline;
    std::vector<double> json;
    std::vector<double> parse;
    for (int i = 0; i < repeats; ++i) {
        auto listWidget = std::make_unique<ServerListWidget>();
        listWidget->resize(300, 400);
        listWidget->show();
        QCoreApplication::processEvents();

        QElapsedTimer timer;
        timer.start();
        s_quiet = true;
        bool ok = false;
        const ServerInfoList servers = ServerListLoader::parseServerList(text, &ok);
        s_quiet = false;
        parse.push_back(timer.nsecsElapsed() / 1e6);
        const int rows = fillList(listWidget.get(), servers);
        // The layout and paint the new rows cause belong to the fill.
        QCoreApplication::processEvents();
        pipeline.push_back(timer.nsecsElapsed() / 1e6);
        if (!ok || rows != count || servers.first()->ovpn.indexOf(QLatin1String("remote")) < 0) {
            err() << "pipeline: " << rows << " rows of " << count << " expected (" << text.size()
                  << " characters received)" << Qt::endl;
            return false;
        }

        timer.restart();
        const QJsonDocument document = QJsonDocument::fromJson(text.toUtf8());
        const int entries = document.object().value(QLatin1String("Servers")).toArray().size();
        json.push_back(timer.nsecsElapsed() / 1e6);
        if (entries != count) {
            err() << "json: " << entries << " entries of " << count << " expected" << Qt::endl;
            return false;
        }

        listWidget.reset();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    figures->pipelineMs = median(pipeline);
    figures->jsonMs = median(json);
    figures->parseMs = median(parse);
    return true;
}

// Any daily log of the client under dataHome with a line of a parsed list.
bool listLoaded(const QString &dataHome)
{
    QDirIterator it(QDir(dataHome).filePath(QStringLiteral("Quellnet/logs")),
                    {QStringLiteral("*.log")}, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        QFile file(it.next());
        if (file.open(QIODevice::ReadOnly) && file.readAll().contains("OVPN:"))
            return true;
    }
    return false;
}

qint64 residentKiB(qint64 pid)
{
    QFile status(QStringLiteral("/proc/%1/status").arg(pid));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray &line : status.readAll().split('\n')) {
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').value(0).toLongLong();
    }
    return -1;
}

bool benchIdleMemory(const QString &workDir, double *mib, bool *listSeen)
{
    TestBackend backend;
    if (!backend.start()) {
        err() << "demo backend did not start: " << backend.stderrText() << Qt::endl;
        return false;
    }
    backend.exportClientEnvironment();

    const QString home = QDir(workDir).filePath(QStringLiteral("client-home"));
    const QString dataHome = QDir(home).filePath(QStringLiteral(".local/share"));
    const QString configHome = QDir(home).filePath(QStringLiteral(".config"));
    const QString cacheHome = QDir(home).filePath(QStringLiteral(".cache"));
    for (const QString &dir : {dataHome, configHome, cacheHome})
        QDir().mkpath(dir);
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("HOME"), home);
    env.insert(QStringLiteral("XDG_DATA_HOME"), dataHome);
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), configHome);
    env.insert(QStringLiteral("XDG_CACHE_HOME"), cacheHome);
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));

    QProcess client;
    client.setProcessEnvironment(env);
    client.setProgram(QStringLiteral(QUELLNET_BIN_DIR "/quellnet"));
    client.setStandardOutputFile(QProcess::nullDevice());
    client.setStandardErrorFile(QDir(workDir).filePath(QStringLiteral("client-stderr.txt")));
    client.start();
    if (!client.waitForStarted(kTermWaitMs)) {
        err() << "client did not start: " << client.errorString() << Qt::endl;
        return false;
    }

    QElapsedTimer waited;
    waited.start();
    *listSeen = false;
    while (waited.elapsed() < kListWaitMs && client.state() == QProcess::Running) {
        if (listLoaded(dataHome)) {
            *listSeen = true;
            break;
        }
        spin(100);
    }
    // The window fills its page after the list arrives.
    spin(kSettleMs);

    const qint64 kib = client.state() == QProcess::Running ? residentKiB(client.processId()) : -1;
    client.terminate();
    if (!client.waitForFinished(kTermWaitMs)) {
        err() << "client ignored SIGTERM; killed" << Qt::endl;
        client.kill();
        client.waitForFinished(kTermWaitMs);
    }
    if (kib < 0) {
        err() << "client ended early or VmRSS unreadable; see "
              << QDir(workDir).filePath(QStringLiteral("client-stderr.txt")) << Qt::endl;
        return false;
    }
    *mib = kib / 1024.0;
    return true;
}

} // namespace

int main(int argc, char *argv[])
{
    // Settings, cache and logs of this run stay in a folder of its own.
    QTemporaryDir work;
    if (!work.isValid())
        return 2;
    const QString home = QDir(work.path()).filePath(QStringLiteral("home"));
    QDir().mkpath(home);
    qputenv("HOME", home.toUtf8());
    qputenv("XDG_DATA_HOME", QDir(home).filePath(QStringLiteral(".local/share")).toUtf8());
    qputenv("XDG_CONFIG_HOME", QDir(home).filePath(QStringLiteral(".config")).toUtf8());
    qputenv("XDG_CACHE_HOME", QDir(home).filePath(QStringLiteral(".cache")).toUtf8());
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");

    QApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("Quellnet"));
    quellnetInitResources();
    s_previousHandler = qInstallMessageHandler(messageHandler);
    MConfig::loadCommConfig();
    MNetwork::globalInit();

    const QStringList args = app.arguments();
    const int count
        = std::max(1, args.value(1).toInt() > 0 ? args.value(1).toInt() : kDefaultServers);
    const int repeats = args.value(2).toInt() > 0 ? args.value(2).toInt() : kDefaultRepeats;

    PipelineFigures figures;
    const bool pipelineRan = benchPipeline(work.path(), count, repeats, &figures);
    double mib = 0;
    bool listSeen = false;
    const bool memoryRan = benchIdleMemory(work.path(), &mib, &listSeen);
    MNetwork::globalClean();

    out() << "server list: " << count << " servers from the backend, median of " << repeats
          << " runs\n";
    if (pipelineRan) {
        const double ratio = figures.jsonMs > 0 ? figures.pipelineMs / figures.jsonMs : 0;
        out() << QStringLiteral("  %1 %2 ms\n")
                     .arg(QStringLiteral("parse+decrypt+fill rows"), -28)
                     .arg(figures.pipelineMs, 10, 'f', 1);
        out() << QStringLiteral("  %1 %2 ms\n")
                     .arg(QStringLiteral("  of which parse+decrypt"), -28)
                     .arg(figures.parseMs, 10, 'f', 1);
        out() << QStringLiteral("  %1 %2 ms\n")
                     .arg(QStringLiteral("QJsonDocument::fromJson"), -28)
                     .arg(figures.jsonMs, 10, 'f', 1);
        out() << QStringLiteral("  %1 %2 x  (goal <= %3 x: %4)\n")
                     .arg(QStringLiteral("ratio"), -28)
                     .arg(ratio, 10, 'f', 1)
                     .arg(kGoalRatio, 0, 'f', 0)
                     .arg(ratio <= kGoalRatio ? QStringLiteral("met") : QStringLiteral("missed"));
    } else {
        out() << "  FAILED\n";
    }
    out() << "idle client (demo list, offscreen)\n";
    if (memoryRan) {
        out() << QStringLiteral("  %1 %2 MiB%3\n")
                     .arg(QStringLiteral("VmRSS"), -28)
                     .arg(mib, 10, 'f', 1)
                     .arg(listSeen ? QString() : QStringLiteral("  (list load not seen in log)"));
    } else {
        out() << "  FAILED\n";
    }
    out().flush();
    return pipelineRan && memoryRan ? 0 : 1;
}
