#include "mcrashstack.h"

#include "mconfig.h"

#include <QDebug>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

namespace {

// The report holds the event's facts as lines "Version:...", "Module: <path>" and
// "ExceptionAddress: "<hex>" ...".
MCrashStack::Event eventFromReport(const QString &report, const QString &file)
{
    QString version;
    QString module;
    QString address;
    static const QRegularExpression kAddress(QStringLiteral("^ExceptionAddress: \"([0-9A-F]+)\""));
    const QStringList lines = report.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    for (const QString &line : lines) {
        if (version.isEmpty() && line.startsWith(QLatin1String("Version:")))
            version = line.mid(8);
        else if (module.isEmpty() && line.startsWith(QLatin1String("Module: ")))
            module = QFileInfo(line.mid(8)).fileName().section(QLatin1Char('.'), 0, 0);
        else if (address.isEmpty())
            address = kAddress.match(line).captured(1);
    }
    return {QStringLiteral("CrashDetails"), version, module + QLatin1Char(':') + address, file};
}

} // namespace

QString MCrashStack::dumpFolder()
{
    return MConfig::getAppDataFolder(QStringLiteral("logs/dump"));
}

QVector<MCrashStack::Event> MCrashStack::takeUnsentReports()
{
    QVector<Event> events;
    const QFileInfoList files
        = QDir(dumpFolder())
              .entryInfoList({QStringLiteral("*.dmp")}, QDir::Files, QDir::Time | QDir::Reversed);
    for (const QFileInfo &info : files) {
        QFile file(info.filePath());
        const QString report
            = file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.read(256 * 1024)) : QString();
        file.close();
        // Marked before it is handed out: one that cannot be marked would be sent at every start.
        const QString sent = info.filePath() + QStringLiteral(".sent");
        if (!QFile::rename(info.filePath(), sent)) {
            qWarning() << "Crash report cannot be marked sent:" << info.filePath();
            continue;
        }
        events.append(eventFromReport(report, sent));
    }
    return events;
}
