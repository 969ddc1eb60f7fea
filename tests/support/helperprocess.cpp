#include "helperprocess.h"

#include <QDeadlineTimer>
#include <QFile>
#include <QLocalSocket>
#include <QThread>

#include <csignal>
#include <grp.h>
#include <unistd.h>

HelperProcess::~HelperProcess()
{
    stop();
}

QString HelperProcess::program()
{
    return QStringLiteral(QUELLNET_BIN_DIR "/quellnet-helper");
}

bool HelperProcess::start(const Options &options, QString *error)
{
    if (options.runtimeDir.isEmpty()) {
        m_dir = std::make_unique<QTemporaryDir>(QStringLiteral("/tmp/qnh-XXXXXX"));
        if (!m_dir->isValid()) {
            *error = m_dir->errorString();
            return false;
        }
        m_runtime = m_dir->path();
    } else {
        m_runtime = options.runtimeDir;
    }
    QString group = options.group;
    if (group.isEmpty()) {
        const struct group *g = getgrgid(getgid());
        group = g ? QString::fromLocal8Bit(g->gr_name) : QStringLiteral("root");
    }
    QStringList args = options.prefix;
    args << program() << QStringLiteral("--socket") << socketPath()
         << QStringLiteral("--runtime-dir") << m_runtime << QStringLiteral("--state-dir")
         << m_runtime + QStringLiteral("/state") << QStringLiteral("--openvpn") << options.openvpn
         << QStringLiteral("--nft") << options.nft << QStringLiteral("--dns") << options.dns
         << QStringLiteral("--group") << group;
    if (!options.routeCheck)
        args << QStringLiteral("--no-route-check");
    args << options.arguments;
    m_output.clear();
    m_process.setProcessEnvironment(options.environment);
    m_process.setProcessChannelMode(QProcess::MergedChannels);
    m_process.start(args.takeFirst(), args);
    if (!m_process.waitForStarted(5000)) {
        *error = m_process.errorString();
        return false;
    }
    const QDeadlineTimer deadline(10000);
    while (!deadline.hasExpired() && m_process.state() == QProcess::Running) {
        QLocalSocket probe;
        probe.connectToServer(socketPath());
        if (probe.waitForConnected(200))
            return true;
        QThread::msleep(20);
    }
    *error = QStringLiteral("the helper did not come up: ") + output();
    return false;
}

bool HelperProcess::stop()
{
    if (m_process.state() == QProcess::NotRunning)
        return true;
    m_process.terminate();
    if (m_process.waitForFinished(15000))
        return m_process.exitStatus() == QProcess::NormalExit && m_process.exitCode() == 0;
    m_process.kill();
    m_process.waitForFinished(5000);
    return false;
}

void HelperProcess::kill()
{
    if (m_process.state() == QProcess::NotRunning)
        return;
    ::kill(pid_t(m_process.processId()), SIGKILL);
    m_process.waitForFinished(5000);
}

QString HelperProcess::output()
{
    m_output += QString::fromLocal8Bit(m_process.readAll());
    return m_output;
}
