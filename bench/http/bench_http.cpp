// Times sequential MNetwork::get calls against runs of the curl command line doing the same
// requests on a loopback HTTPS server. Exit code: 0 goal met, 1 a request failed, 2 goal missed.

#include "mnetwork.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QMap>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTextStream>

#include <httplib.h>

#include <cstdio>
#include <thread>

namespace {

const char kBody[] = "{\"error\":0,\"ip\":\"127.0.0.1\",\"country\":\"ZZ\"}";
const char kUserAgent[] = "Mozilla/5.0 (Windows NT 10.0; Win64; x64) AppleWebKit/537.36 "
                          "(KHTML, like Gecko) Chrome/81.0.4044.122 Safari/537.36";
constexpr double kGoal = 0.5;

// The bench prints its own lines; the per-request log would only measure stderr.
void quietHandler(QtMsgType type, const QMessageLogContext &, const QString &message)
{
    if (type != QtDebugMsg && type != QtInfoMsg)
        std::fprintf(stderr, "%s\n", qPrintable(message));
}

void print(const QString &line)
{
    std::printf("%s\n", qPrintable(line));
    std::fflush(stdout);
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const int requests = argc > 1 ? qBound(1, QString::fromLocal8Bit(argv[1]).toInt(), 10000) : 100;

    const QString curl = QStandardPaths::findExecutable(QStringLiteral("curl"));
    if (curl.isEmpty()) {
        print(QStringLiteral("curl not found (Debian package curl)"));
        return 1;
    }

    QTemporaryDir dir;
    QProcess makeCa;
    makeCa.start(QStringLiteral("bash"),
                 {QStringLiteral(QUELLNET_SOURCE_DIR "/scripts/make-test-ca.sh"), dir.path(),
                  QStringLiteral("localhost"), QStringLiteral("127.0.0.1")});
    if (!dir.isValid() || !makeCa.waitForFinished(30000) || makeCa.exitCode() != 0) {
        print(QStringLiteral("could not make the test CA"));
        return 1;
    }
    const QString caFile = dir.filePath(QStringLiteral("ca.pem"));

    httplib::SSLServer server(
        QFile::encodeName(dir.filePath(QStringLiteral("server.pem"))).constData(),
        QFile::encodeName(dir.filePath(QStringLiteral("server.key"))).constData());
    server.set_keep_alive_timeout(1);
    // Otherwise Nagle on the server adds the same 40 ms delayed-ACK wait to every request.
    server.set_tcp_nodelay(true);
    server.Get("/vpnserver/getip/", [](const httplib::Request &, httplib::Response &res) {
        res.set_content(kBody, "application/json");
    });
    const int port = server.bind_to_any_port("127.0.0.1");
    if (!server.is_valid() || port <= 0) {
        print(QStringLiteral("could not start the HTTPS server"));
        return 1;
    }
    std::thread serverThread([&server] { server.listen_after_bind(); });

    qputenv("QUELLNET_CA_FILE", QFile::encodeName(caFile));
    qInstallMessageHandler(quietHandler);
    MNetwork::globalInit();

    const QString url = QStringLiteral("https://localhost:%1/vpnserver/getip/").arg(port);
    const QMap<QString, QString> headers{{QStringLiteral("Identity"), QStringLiteral("bench")},
                                         {QStringLiteral("Version"), QStringLiteral("2.0.9.0")}};
    const QString expected = QString::fromLatin1(kBody);
    int failures = 0;

    QElapsedTimer clock;
    clock.start();
    for (int i = 0; i < requests; ++i) {
        if (MNetwork::get(url, headers) != expected)
            ++failures;
    }
    const qint64 ownMs = clock.elapsed();

    QStringList curlArguments{QStringLiteral("-sS"),      QStringLiteral("--fail"),
                              QStringLiteral("--proto"),  QStringLiteral("=http,https"),
                              QStringLiteral("--cacert"), caFile,
                              QStringLiteral("-A"),       QString::fromLatin1(kUserAgent)};
    for (auto it = headers.cbegin(); it != headers.cend(); ++it)
        curlArguments << QStringLiteral("-H") << it.key() + QLatin1Char(':') + it.value();
    curlArguments << url;

    clock.restart();
    for (int i = 0; i < requests; ++i) {
        QProcess process;
        process.start(curl, curlArguments);
        if (!process.waitForFinished(30000) || process.exitCode() != 0
            || QString::fromLatin1(process.readAllStandardOutput()).trimmed() != expected)
            ++failures;
    }
    const qint64 curlMs = clock.elapsed();

    MNetwork::globalClean();
    server.stop();
    serverThread.join();

    const double ratio = curlMs > 0 ? double(ownMs) / double(curlMs) : 0.0;
    print(QStringLiteral("MNetwork::get x%1: %2 ms (%3 ms each)")
              .arg(requests)
              .arg(ownMs)
              .arg(double(ownMs) / requests, 0, 'f', 2));
    print(QStringLiteral("curl x%1: %2 ms (%3 ms each)")
              .arg(requests)
              .arg(curlMs)
              .arg(double(curlMs) / requests, 0, 'f', 2));
    print(QStringLiteral("ratio MNetwork/curl: %1 (goal <= %2): %3")
              .arg(ratio, 0, 'f', 3)
              .arg(kGoal, 0, 'f', 2)
              .arg(ratio <= kGoal ? QStringLiteral("met") : QStringLiteral("missed")));
    if (failures > 0) {
        print(QStringLiteral("failed requests: %1").arg(failures));
        return 1;
    }
    return ratio <= kGoal ? 0 : 2;
}
