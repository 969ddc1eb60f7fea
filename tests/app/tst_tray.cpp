// The tray icon on a desktop with a StatusNotifier host: it registers with the watcher, and a
// change of the connection state sends a new icon. A private session bus and a stand-in
// watcher (this program, run with --watcher) take the desktop's place; X comes from xvfb-run.

#include "appservices.h"
#include "resinit.h"
#include "traycontroller.h"

#include <QApplication>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QMenu>
#include <QProcess>
#include <QtTest>

class Watcher : public QObject
{
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.kde.StatusNotifierWatcher")
    Q_PROPERTY(bool IsStatusNotifierHostRegistered READ hostRegistered)
    Q_PROPERTY(int ProtocolVersion READ protocolVersion)

public:
    bool hostRegistered() const { return true; }
    int protocolVersion() const { return 0; }

public slots:
    void RegisterStatusNotifierItem(const QString &service)
    {
        // The test reads the item's name from here.
        printf("%s\n", qPrintable(service));
        fflush(stdout);
    }
};

class TrayTest : public QObject
{
    Q_OBJECT

public:
    QProcess *watcher = nullptr;

private slots:
    void registersWithTheHostAndChangesItsIcon()
    {
        QMenu menu;
        menu.addAction(QStringLiteral("Exit"));
        TrayController tray(AppServices(), &menu, nullptr);
        tray.show();
        // The watcher process was started before the event loop existed: read it directly.
        QVERIFY(QTest::qWaitFor(
            [this] { return watcher->canReadLine() || watcher->waitForReadyRead(20); }, 5000));
        const QString item = QString::fromUtf8(watcher->readLine()).trimmed();
        QVERIFY2(item.startsWith(QLatin1String("org.kde.StatusNotifierItem-")), qPrintable(item));

        int newIcons = 0;
        QVERIFY(QDBusConnection::sessionBus().connect(item, QStringLiteral("/StatusNotifierItem"),
                                                      QStringLiteral("org.kde.StatusNotifierItem"),
                                                      QStringLiteral("NewIcon"), this,
                                                      SLOT(countIcon())));
        connect(this, &TrayTest::iconSeen, this, [&newIcons] { ++newIcons; });
        tray.setConnected(true);
        QTRY_VERIFY_WITH_TIMEOUT(newIcons > 0, 5000);
    }

public slots:
    void countIcon() { emit iconSeen(); }

signals:
    void iconSeen();
};

int main(int argc, char **argv)
{
    if (argc > 1 && qstrcmp(argv[1], "--watcher") == 0) {
        QCoreApplication core(argc, argv);
        Watcher watcher;
        QDBusConnection bus = QDBusConnection::sessionBus();
        bus.registerObject(QStringLiteral("/StatusNotifierWatcher"), &watcher,
                           QDBusConnection::ExportAllSlots | QDBusConnection::ExportAllProperties);
        if (!bus.registerService(QStringLiteral("org.kde.StatusNotifierWatcher")))
            return 1;
        printf("ready\n");
        fflush(stdout);
        return core.exec();
    }
    if (qEnvironmentVariableIsEmpty("DISPLAY")) {
        QStringList arguments = {QStringLiteral("-a"), QString::fromLocal8Bit(argv[0])};
        for (int i = 1; i < argc; ++i)
            arguments << QString::fromLocal8Bit(argv[i]);
        return QProcess::execute(QStringLiteral("xvfb-run"), arguments);
    }
    // The host must be there before the application decides which kind of tray it uses.
    QProcess daemon;
    daemon.start(QStringLiteral("dbus-daemon"),
                 {QStringLiteral("--session"), QStringLiteral("--nofork"),
                  QStringLiteral("--print-address")});
    if (!daemon.waitForReadyRead(5000))
        return 2;
    qputenv("DBUS_SESSION_BUS_ADDRESS", daemon.readLine().trimmed());
    QProcess watcher;
    watcher.start(QString::fromLocal8Bit(argv[0]), {QStringLiteral("--watcher")});
    if (!watcher.waitForReadyRead(5000) || watcher.readLine().trimmed() != "ready")
        return 3;
    qputenv("QT_QPA_PLATFORM", "xcb");
    QApplication app(argc, argv);
    quellnetInitResources();
    TrayTest test;
    test.watcher = &watcher;
    const int result = QTest::qExec(&test, argc, argv);
    watcher.kill();
    daemon.kill();
    watcher.waitForFinished();
    daemon.waitForFinished();
    return result;
}

#include "tst_tray.moc"
