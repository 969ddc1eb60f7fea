#pragma once

#include <QByteArray>
#include <QJsonArray>
#include <QList>
#include <QPair>
#include <QProcess>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <memory>

// A real quellnet-backend for integration tests: a throw-away CA, a private database and a
// private loopback address 127.0.0.N (so the fixed server-list port 4430 never clashes with
// another test). start() also points the client at it through the environment overrides.
// The process dies with the test, even when the test crashes.
class TestBackend
{
public:
    struct Options // always with the demo data
    {
        QString ovpnDir; // empty: the bundled demo servers
        QStringList extra; // more command-line arguments
    };

    TestBackend();
    ~TestBackend();
    TestBackend(const TestBackend &) = delete;
    TestBackend &operator=(const TestBackend &) = delete;

    bool start(const Options &options);
    bool start() { return start(Options()); }
    bool stop();
    bool isRunning() const;

    QString address() const { return m_address; }
    int port() const { return m_port; }
    QString hostWithPort() const; // "127.0.0.N:port"
    QString caFile() const;
    QString folder() const { return m_dir.path(); }
    QByteArray stderrText();

    // The requests the backend received, oldest first: path and the header lines exactly as
    // they arrived on the wire.
    struct Request
    {
        QString path;
        QList<QPair<QString, QString>> wireHeaders;
    };
    QList<Request> requests();
    bool resetRequests();
    QJsonArray hits();

    // Environment overrides that make the client code talk to this backend (start() sets them).
    void exportClientEnvironment() const;

private:
    QTemporaryDir m_dir;
    std::unique_ptr<QProcess> m_process;
    QString m_address;
    int m_port = 0;
    QByteArray m_stderr;
};

// Runs a program to its end with a bound; exit code, or -1 when it did not end in time.
int runCommand(const QString &program, const QStringList &arguments, QByteArray *output = nullptr,
               int timeoutMs = 30000);
