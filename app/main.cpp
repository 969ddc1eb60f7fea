#include "countryrestriction.h"
#include "desktopservices.h"
#include "mainwindow.h"
#include "mconfig.h"
#include "mcrashstack.h"
#include "mloadingdlg.h"
#include "mlogger.h"
#include "mnetwork.h"
#include "muatracker.h"
#include "mutils.h"
#include "resinit.h"
#include "singleapplication.h"
#include "starttrace.h"
#include "startup.h"
#include "termination.h"
#include "vpnclientengine.h"

#include <QApplication>
#include <QDebug>
#include <QStandardPaths>

int main(int argc, char *argv[])
{
    StartTrace::step("main");
    // Nothing here draws with OpenGL: plain raster windows keep the GL driver (tens of MiB,
    // and the longest step of the first show) out of the process.
    QCoreApplication::setAttribute(Qt::AA_ForceRasterWidgets);
    QCoreApplication::setAttribute(Qt::AA_UseOpenGLES);
    QCoreApplication::setAttribute(Qt::AA_UseOpenGLES);
    QCoreApplication::setAttribute(Qt::AA_EnableHighDpiScaling);
    QCoreApplication::setAttribute(Qt::AA_UseHighDpiPixmaps);

    QApplication app(argc, argv);
    quellnetInitResources();
    StartTrace::step("application");

    // A please-wait box started by a running client: it shows only the box until its
    // parent kills it, and touches no settings, log or single-instance state.
    const QStringList arguments = app.arguments();
    if (arguments.size() >= 2 && StrEquals(arguments.at(1), QStringLiteral("--splash-inner"))) {
        MLoadingDlg *splash = MLoadingDlg::createDlg(arguments.value(2), false);
        splash->show();
        return app.exec();
    }

    if (!handleCommandLine(app, arguments))
        return 0;

    // One instance per user: a second start wakes the first and ends here.
    SingleApplication single(false, SingleApplication::User, 1000);
    if (single.exitCode() >= 0)
        return single.exitCode();
    StartTrace::step("single instance");

    qDebug() << "LogFile:" << getLogFile();
    qDebug() << "DocPath:" << QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    qDebug() << "AppData:" << QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);

    qInstallMessageHandler(logMethod);
    MConfig::loadCommConfig();
    startLog();
    MCrashStack::install();

    logEnvironment();
    sendStartupEvents();
    StartTrace::step("config and log");

    MConfig::instance()->lang = normalizedLanguageFile(MConfig::instance()->lang);
    installTranslation(app, MConfig::instance()->lang);

    // A tray program: closing the last visible window must not end it.
    app.setQuitOnLastWindowClosed(false);
    AppServices services = desktopServices();
    // The country check runs off the GUI thread; a prohibited country ends the program.
    auto *restriction = new CountryRestriction(services, &app);
    services.countryCheck = [restriction] {
        restriction->check();
    };
    StartTrace::step("translation");
    MainWindow *window = MainWindow::instance(services, defaultVpnEngine());
    StartTrace::step("window built");
    // The network and the analytics sender start once the window is up; the hits queued
    // until then go out at that point.
    QObject::connect(window, &MainWindow::firstFramePainted, window, [] {
        MNetwork::globalInit();
        MUATracker::instance()->start();
    });
    QObject::connect(restriction, &CountryRestriction::finished, window,
                     [window](bool prohibited, const QString &message) {
                         if (!prohibited)
                             return;
                         window->showMessage(CountryRestriction::title(), message);
                         window->requestExit();
                     });
    // A session logout or Ctrl+C exits as the menu's Exit does: tunnel stopped, settings saved.
    handleTerminationSignals([window] { window->requestExit(); });
    QObject::connect(&single, &SingleApplication::instanceStarted, window,
                     &MainWindow::slotShowMainWindow);

    window->show();
    StartTrace::step("show called");
    const int exitCode = app.exec();

    qInstallMessageHandler(nullptr);
    MCrashStack::uninstall();
    MUATracker::instance()->stop();
    // Every supported Linux counts as "later than Windows 7".
    qInfo() << "Clean LibCurl";
    MNetwork::globalClean();
    closeLog();
    return exitCode;
}
