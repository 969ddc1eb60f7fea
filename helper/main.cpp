// quellnet-helper: the root service that runs the tunnel for the desktop client.
#include "helperserver.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QSocketNotifier>

#include <csignal>
#include <fcntl.h>
#include <unistd.h>

namespace {

int g_signalPipe[2] = {-1, -1};

void onSignal(int)
{
    const char byte = 1;
    // Nothing else is safe here; the event loop reads the byte.
    [[maybe_unused]] const ssize_t n = write(g_signalPipe[1], &byte, 1);
}

bool parseDns(const QString &text, tunnelkit::DnsMode *mode)
{
    if (text == QLatin1String("auto"))
        *mode = tunnelkit::DnsMode::Auto;
    else if (text == QLatin1String("resolved"))
        *mode = tunnelkit::DnsMode::Resolved;
    else if (text == QLatin1String("resolv.conf"))
        *mode = tunnelkit::DnsMode::ResolvConf;
    else if (text == QLatin1String("none"))
        *mode = tunnelkit::DnsMode::None;
    else
        return false;
    return true;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("quellnet-helper"));
    helper::HelperOptions options;

    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Runs the VPN tunnel, its firewall and DNS for Quellnet's desktop client."));
    parser.addHelpOption();
    const QCommandLineOption socket(QStringLiteral("socket"),
                                    QStringLiteral("Socket clients connect to."),
                                    QStringLiteral("path"), options.socketPath);
    const QCommandLineOption runtime(QStringLiteral("runtime-dir"),
                                     QStringLiteral("Folder for the session files."),
                                     QStringLiteral("path"), options.runtimeDir);
    const QCommandLineOption state(QStringLiteral("state-dir"),
                                   QStringLiteral("Folder for what must be undone after a crash "
                                                  "or a reboot (root only)."),
                                   QStringLiteral("path"), options.stateDir);
    const QCommandLineOption openvpn(QStringLiteral("openvpn"),
                                     QStringLiteral("The openvpn program."), QStringLiteral("path"),
                                     options.openvpn);
    const QCommandLineOption nft(QStringLiteral("nft"),
                                 QStringLiteral("Run this program as `nft -f -` instead of using "
                                                "the nftables library (tests)."),
                                 QStringLiteral("path"));
    const QCommandLineOption dns(QStringLiteral("dns"),
                                 QStringLiteral("How DNS is pointed into the tunnel: auto, "
                                                "resolved, resolv.conf or none."),
                                 QStringLiteral("mode"), QStringLiteral("auto"));
    const QCommandLineOption noRouteCheck(
        QStringLiteral("no-route-check"),
        QStringLiteral("Do not check that the default route leads into the tunnel (tests)."));
    const QCommandLineOption group(QStringLiteral("group"),
                                   QStringLiteral("Members of this group may always connect."),
                                   QStringLiteral("name"), options.group);
    const QCommandLineOption systemBus(
        QStringLiteral("system-bus"),
        QStringLiteral("Watch this D-Bus address for suspend and resume instead of the system "
                       "bus (tests)."),
        QStringLiteral("address"));
    const QCommandLineOption reconnect(
        QStringLiteral("reconnect-timeout"),
        QStringLiteral("Seconds a tunnel that was up may take to come back (1-600)."),
        QStringLiteral("seconds"), QString::number(options.reconnectTimeoutSeconds));
    parser.addOptions(
        {socket, runtime, state, openvpn, nft, dns, noRouteCheck, group, systemBus, reconnect});
    parser.process(app);

    options.socketPath = parser.value(socket);
    options.runtimeDir = parser.value(runtime);
    options.stateDir = parser.value(state);
    options.openvpn = parser.value(openvpn);
    options.nft = parser.value(nft);
    options.group = parser.value(group);
    options.checkRoutes = !parser.isSet(noRouteCheck);
    options.systemBus = parser.value(systemBus);
    bool number = false;
    options.reconnectTimeoutSeconds = parser.value(reconnect).toInt(&number);
    if (!number || options.reconnectTimeoutSeconds < 1 || options.reconnectTimeoutSeconds > 600) {
        qCritical("quellnet-helper: --reconnect-timeout must be 1 to 600 seconds");
        return 2;
    }
    if (!parseDns(parser.value(dns), &options.dns)) {
        qCritical("quellnet-helper: --dns must be auto, resolved, resolv.conf or none");
        return 2;
    }
    if (geteuid() != 0)
        qWarning("quellnet-helper: not running as root; openvpn and nft will fail");

    if (pipe2(g_signalPipe, O_CLOEXEC | O_NONBLOCK) != 0)
        return 1;
    QSocketNotifier notifier(g_signalPipe[0], QSocketNotifier::Read);
    QObject::connect(&notifier, &QSocketNotifier::activated, &app, &QCoreApplication::quit);
    struct sigaction action = {};
    action.sa_handler = onSignal;
    sigemptyset(&action.sa_mask);
    sigaction(SIGTERM, &action, nullptr);
    sigaction(SIGINT, &action, nullptr);
    signal(SIGPIPE, SIG_IGN);

    helper::HelperServer server(options);
    QString error;
    if (!server.start(&error)) {
        qCritical("quellnet-helper: %s", qPrintable(error));
        return 1;
    }
    const int code = app.exec();
    server.shutdown();
    qInfo("quellnet-helper: stopped");
    return code;
}
