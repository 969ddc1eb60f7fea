#pragma once

#include <QProcess>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <memory>

// quellnet-helper started by a test, with a private socket and runtime folder below /tmp (a
// unix socket path has at most 107 bytes) and the programs the test chooses.
class HelperProcess
{
public:
    struct Options
    {
        QString openvpn = QStringLiteral("/usr/sbin/openvpn");
        QString nft; // empty: the nftables library
        QString dns = QStringLiteral("none");
        bool routeCheck = false;
        QString group; // empty: the test user's own primary group, so it is authorised
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        QStringList prefix; // e.g. {"ip", "netns", "exec", NAME}: how the helper is started
        QString runtimeDir; // empty: a fresh one; given: reused (a restart after a crash)
        QStringList arguments; // more options
    };

    ~HelperProcess();

    // Starts it and waits (at most 10 s) until its socket answers.
    bool start(const Options &options, QString *error);
    // SIGTERM, as a service stop; SIGKILL after 15 s.
    bool stop();
    // SIGKILL, as a crash.
    void kill();

    QString socketPath() const { return m_runtime + QStringLiteral("/helper.sock"); }
    QString runtimeDir() const { return m_runtime; }
    // What it printed so far (its log).
    QString output();
    static QString program();

private:
    std::unique_ptr<QTemporaryDir> m_dir;
    QString m_runtime;
    QProcess m_process;
    QString m_output;
};
