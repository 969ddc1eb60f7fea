#include "startup.h"

#include "mconfig.h"
#include "mcrashstack.h"
#include "mlogger.h"
#include "mplatform.h"
#include "mprocessmgr.h"
#include "muatracker.h"
#include "mutils.h"

#include <QApplication>
#include <QDebug>
#include <QFileInfo>
#include <QLibraryInfo>
#include <QScreen>
#include <QStandardPaths>
#include <QTextCodec>
#include <QTranslator>

namespace {

const char kProduct[] = "Quellnet";

void runTapInstaller(bool install)
{
    const QString tap = QStringLiteral("tap0901");
    if (install) {
        const QString program = appDir() + QStringLiteral("/TAP/tapinstall");
        MProcessMgr::OpenSubProcess(program, {QStringLiteral("remove"), tap}, 1, true);
        MProcessMgr::OpenSubProcess(
            program,
            {QStringLiteral("install"), appDir() + QStringLiteral("/TAP/OemVista.inf"), tap}, 1,
            true);
        return;
    }
    // Every supported Linux counts as "later than Windows 7".
    const QString program = appDir() + QStringLiteral("/TAP-Win10/bin/tapinstall");
    MProcessMgr::OpenSubProcess(program, {QStringLiteral("remove"), tap}, 1, true);
}

QString documentsLocation()
{
    return QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
}

QString appDataLocation()
{
    return QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
}

} // namespace

bool handleCommandLine(QApplication &app, const QStringList &arguments)
{
    QCoreApplication::setApplicationName(QString::fromLatin1(kProduct));
    QCoreApplication::setAttribute(Qt::AA_UseHighDpiPixmaps);
    QTextCodec::setCodecForLocale(QTextCodec::codecForName("UTF-8"));
    app.setStyleSheet(ReadFileX(QStringLiteral(":/light.qss"))
                      + ReadFileX(QStringLiteral(":/comm.qss")));
    MLogger::setProductFolder(QString::fromLatin1(kProduct));

    if (arguments.size() >= 2) {
        const QString &sw = arguments.at(1);
        if (StrEquals(sw, QStringLiteral("--language"))) {
            MConfig::loadCommConfig();
            MConfig::instance()->lang = languageFileForName(arguments.value(2));
            MConfig::saveCommConfig();
            return false;
        }
        if (StrEquals(sw, QStringLiteral("--install-tap"))) {
            runTapInstaller(true);
            return false;
        }
        if (StrEquals(sw, QStringLiteral("--uninstall-tap"))) {
            runTapInstaller(false);
            return false;
        }
    }

    MConfig::getAppDataFolder(QString());
    MConfig::loadCommConfig();
    return true;
}

QString languageFileForName(const QString &name)
{
    static const struct
    {
        const char *name;
        const char *file;
    } table[] = {
        {"Japanese", "ja.qm"},    {"Chinese", "zh-CN.qm"}, {"Taiwan", "zh-TW.qm"},
        {"HongKong", "zh-TW.qm"}, {"German", "de.qm"},     {"French", "fr.qm"},
        {"Spanish", "es.qm"},     {"Israel", "he.qm"},     {"Italiano", "it.qm"},
        {"Portuguese", "pt.qm"},  {"Russian", "ru.qm"},    {"Poland", "pl.qm"},
        {"Dutch", "nl.qm"},       {"Korean", "ko.qm"},
    };
    for (const auto &entry : table) {
        if (StrEquals(name, QLatin1String(entry.name)))
            return QLatin1String(entry.file);
    }
    return QStringLiteral("en.qm");
}

QString normalizedLanguageFile(const QString &lang)
{
    if (lang.isEmpty())
        return QStringLiteral("en.qm");
    if (lang == QLatin1String("zh-cn.qm"))
        return QStringLiteral("zh-CN.qm");
    if (lang == QLatin1String("zh-tw.qm"))
        return QStringLiteral("zh-TW.qm");
    return lang;
}

void logEnvironment()
{
    qInfo() << "DocPath:" << documentsLocation();
    qInfo() << "AppData:" << appDataLocation();
    qInfo() << "DBFile:" << MConfig::getAppDataFolder(QString()) + QStringLiteral("config.db");
    qInfo() << "System:" << getVer() << Platform::osProductType() << Platform::osProductVersion();
    if (const QScreen *screen = QGuiApplication::primaryScreen())
        qInfo() << "Resolution:" << screen->size();
    qInfo() << "App Dir:" << QCoreApplication::applicationFilePath();
    qInfo() << "CPU:" << Platform::processorCount();
    qInfo() << "CPU Type:" << Platform::processorType();
    qInfo() << "Memeory(MB):" << Platform::physicalMemoryMB();
    qInfo() << "Memeory Used(%):" << Platform::memoryLoadPercent();
}

void sendStartupEvents()
{
    qInfo() << "Product Version:" << Platform::osProductType() << Platform::osProductVersion();
    qInfo() << "DocPath:" << documentsLocation();
    qInfo() << "AppData:" << appDataLocation();

    MUATracker *tracker = MUATracker::instance();
    const MConfig &config = *MConfig::instance();
    QString language = config.lang.toLower();
    language.remove(QStringLiteral(".qm"));
    tracker->sendEvent(QStringLiteral("Language"), language, getVer(), 1);
    tracker->sendEvent(QStringLiteral("OS"), Platform::osProductType(), getVer(), 1);
    tracker->sendEvent(QStringLiteral("OSVer"), Platform::osProductVersion(), getVer(), 1);

    const QString marker = MConfig::getAppDataFolder(QString()) + QStringLiteral("first.text");
    if (ReadFileX(marker).isEmpty()) {
        qInfo() << "First Run";
        tracker->sendEvent(QStringLiteral("NewUser"), getVer(), config.appId, 1);
        SaveFile(marker, QStringLiteral("VPN"));
    }
    // Crashes of earlier runs, reported now: a signal handler does no networking.
    for (const MCrashStack::Event &crash : MCrashStack::takeUnsentReports())
        tracker->sendEvent(crash.category, crash.action, crash.label, 1);
}

void installTranslation(QApplication &app, const QString &lang)
{
    // Installed for the rest of the process; the application owns it.
    auto *translator = new QTranslator(&app);
    if (!translator->load(lang, QStringLiteral(":/lang/")))
        qInfo() << "Load Lang Failed:" << lang;
    app.installTranslator(translator);
    // Qt's own texts (standard buttons, dialogs) where the system has them.
    const QString locale
        = QFileInfo(lang).completeBaseName().replace(QLatin1Char('-'), QLatin1Char('_'));
    auto *qtTexts = new QTranslator(&app);
    if (qtTexts->load(QStringLiteral("qtbase_") + locale,
                      QLibraryInfo::location(QLibraryInfo::TranslationsPath)))
        app.installTranslator(qtTexts);
    if (locale == QLatin1String("he"))
        app.setLayoutDirection(Qt::RightToLeft);
}
