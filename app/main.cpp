#include "mainwindow.h"
#include "mconfig.h"
#include "mnetwork.h"
#include "mlogger.h"
#include "resinit.h"
#include "startup.h"
#include "termination.h"

#include <QApplication>
#include <QDebug>
#include <QStandardPaths>

int main(int argc, char *argv[])
{
    QCoreApplication::setAttribute(Qt::AA_UseOpenGLES);
    QCoreApplication::setAttribute(Qt::AA_UseOpenGLES);
    QCoreApplication::setAttribute(Qt::AA_EnableHighDpiScaling);
    QCoreApplication::setAttribute(Qt::AA_UseHighDpiPixmaps);

    QApplication app(argc, argv);
    quellnetInitResources();

    if (!handleCommandLine(app, app.arguments()))
        return 0;

    qDebug() << "LogFile:" << getLogFile();
    qDebug() << "DocPath:" << QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    qDebug() << "AppData:" << QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);

    qInstallMessageHandler(logMethod);
    MConfig::loadCommConfig();
    startLog();

    logEnvironment();
    sendStartupEvents();

    MConfig::instance()->lang = normalizedLanguageFile(MConfig::instance()->lang);
    installTranslation(app, MConfig::instance()->lang);

    MainWindow *window = MainWindow::instance(nullptr);
    handleTerminationSignals([] { QCoreApplication::quit(); });

    window->show();
    const int exitCode = app.exec();

    qInstallMessageHandler(nullptr);
    // Every supported Linux counts as "later than Windows 7".
    qInfo() << "Clean LibCurl";
    MNetwork::globalClean();
    closeLog();
    return exitCode;
}
