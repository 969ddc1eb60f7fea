#include "updatepackage.h"

#include <QDebug>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>

#include <sys/stat.h>
#include <unistd.h>

QString UpdatePackage::downloadFolder()
{
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::CacheLocation)
        + QStringLiteral("/update");
    QDir().mkpath(folder);
    const QByteArray native = QFile::encodeName(folder);
    struct stat st;
    // Not a link, and ours: nobody else may place or swap the package we verify and open.
    if (::lstat(native.constData(), &st) != 0 || !S_ISDIR(st.st_mode) || st.st_uid != ::getuid()
        || ::chmod(native.constData(), S_IRWXU) != 0)
        return QString();
    return folder;
}

bool UpdatePackage::handOver(const QString &file)
{
    // Tests and the demo name a stand-in; it gets the package as its only argument.
    const QString standIn = qEnvironmentVariable("QUELLNET_PACKAGE_INSTALLER");
    if (!standIn.isEmpty())
        return QProcess::startDetached(standIn, {file});
    const QList<QStringList> installers = {
        {QStringLiteral("gnome-software"), QStringLiteral("--local-filename"), file},
        {QStringLiteral("plasma-discover"), file},
        {QStringLiteral("gdebi-gtk"), file},
        {QStringLiteral("xdg-open"), file},
    };
    for (const QStringList &command : installers) {
        const QString program = QStandardPaths::findExecutable(command.first());
        if (!program.isEmpty() && QProcess::startDetached(program, command.mid(1))) {
            qInfo() << "Update: package handed to" << program;
            return true;
        }
    }
    return false;
}
