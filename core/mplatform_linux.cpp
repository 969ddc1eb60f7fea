#include "mplatform.h"

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QProcess>
#include <QSysInfo>
#include <QThread>
#include <QUrl>

#include <sys/sysinfo.h>

namespace {

// First processor's fields of /proc/cpuinfo ("key : value" lines up to the first blank line).
QHash<QString, QString> firstCpuFields()
{
    QHash<QString, QString> fields;
    QFile file(QStringLiteral("/proc/cpuinfo"));
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return fields;
    const QList<QByteArray> lines = file.readAll().split('\n');
    for (const QByteArray &raw : lines) {
        const QString line = QString::fromUtf8(raw);
        if (line.trimmed().isEmpty()) {
            if (!fields.isEmpty())
                break;
            continue;
        }
        const int colon = line.indexOf(QLatin1Char(':'));
        if (colon <= 0)
            continue;
        const QString key = line.left(colon).trimmed();
        if (!fields.contains(key))
            fields.insert(key, line.mid(colon + 1).trimmed());
    }
    return fields;
}

void openFolderWithXdgOpen(const QString &folder)
{
    QProcess::startDetached(QStringLiteral("xdg-open"), {folder});
}

} // namespace

namespace Platform {

QString cpuDetails()
{
    const QHash<QString, QString> f = firstCpuFields();
    QString identifier = QSysInfo::currentCpuArchitecture();
    if (f.contains(QStringLiteral("cpu family"))) {
        identifier
            += QStringLiteral(" Family %1 Model %2 Stepping %3")
                   .arg(f.value(QStringLiteral("cpu family")), f.value(QStringLiteral("model")),
                        f.value(QStringLiteral("stepping")));
    }
    QString name = f.value(QStringLiteral("model name"));
    if (name.isEmpty())
        name = f.value(QStringLiteral("Model")); // ARM boards
    return QStringLiteral("CPU ID:") + identifier + QStringLiteral(" ,")
        + QStringLiteral("CPU Name:") + name;
}

int processorCount()
{
    return QThread::idealThreadCount();
}

QString processorType()
{
    const QHash<QString, QString> f = firstCpuFields();
    return QStringLiteral("%1 family %2 model %3 stepping %4")
        .arg(f.value(QStringLiteral("vendor_id"), QSysInfo::currentCpuArchitecture()),
             f.value(QStringLiteral("cpu family")), f.value(QStringLiteral("model")),
             f.value(QStringLiteral("stepping")));
}

quint64 physicalMemoryMB()
{
    struct sysinfo info
    {
    };
    if (sysinfo(&info) != 0)
        return 0;
    return quint64(info.totalram) * info.mem_unit / (1024 * 1024);
}

int memoryLoadPercent()
{
    struct sysinfo info
    {
    };
    if (sysinfo(&info) != 0 || info.totalram == 0)
        return 0;
    // Page cache counts as free, as a desktop user would expect of "memory load".
    QFile meminfo(QStringLiteral("/proc/meminfo"));
    quint64 totalKb = 0;
    quint64 availableKb = 0;
    if (meminfo.open(QIODevice::ReadOnly | QIODevice::Text)) {
        for (const QByteArray &line : meminfo.readAll().split('\n')) {
            const QList<QByteArray> parts = line.simplified().split(' ');
            if (parts.size() < 2)
                continue;
            if (parts[0] == "MemTotal:")
                totalKb = parts[1].toULongLong();
            else if (parts[0] == "MemAvailable:")
                availableKb = parts[1].toULongLong();
        }
    }
    if (totalKb == 0 || availableKb > totalKb) {
        totalKb = quint64(info.totalram) * info.mem_unit / 1024;
        availableKb = quint64(info.freeram) * info.mem_unit / 1024;
    }
    return int((totalKb - availableKb) * 100 / totalKb);
}

QString osProductType()
{
    return QSysInfo::productType();
}

QString osProductVersion()
{
    return QSysInfo::productVersion();
}

void showInFileManager(const QString &canonicalPath, bool isFile)
{
    const QString folder = isFile ? QFileInfo(canonicalPath).absolutePath() : canonicalPath;
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected()) {
        openFolderWithXdgOpen(folder);
        return;
    }
    QDBusMessage call = QDBusMessage::createMethodCall(
        QStringLiteral("org.freedesktop.FileManager1"),
        QStringLiteral("/org/freedesktop/FileManager1"),
        QStringLiteral("org.freedesktop.FileManager1"),
        isFile ? QStringLiteral("ShowItems") : QStringLiteral("ShowFolders"));
    call << QStringList{QUrl::fromLocalFile(canonicalPath).toString()} << QString();
    // Asynchronous, so a missing file manager never blocks the caller's thread.
    auto *watcher
        = new QDBusPendingCallWatcher(bus.asyncCall(call, 3000), QCoreApplication::instance());
    QObject::connect(watcher, &QDBusPendingCallWatcher::finished, watcher,
                     [folder](QDBusPendingCallWatcher *w) {
                         if (w->isError())
                             openFolderWithXdgOpen(folder);
                         w->deleteLater();
                     });
}

} // namespace Platform
