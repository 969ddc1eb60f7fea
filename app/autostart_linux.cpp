#include "autostart.h"

#include "mconfig.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStandardPaths>
#include <QTextStream>

namespace {

// A path as one argument of an Exec key: quoted, with the characters the desktop entry
// format reserves inside quotes escaped, then escaped once more as a string value.
QString execArgument(const QString &path)
{
    QString quoted;
    for (const QChar c : path) {
        if (c == QLatin1Char('"') || c == QLatin1Char('`') || c == QLatin1Char('$')
            || c == QLatin1Char('\\'))
            quoted += QLatin1Char('\\');
        quoted += c;
    }
    quoted = QLatin1Char('"') + quoted + QLatin1Char('"');
    return quoted.replace(QLatin1Char('\\'), QStringLiteral("\\\\"));
}

QString programFromExec(QString exec)
{
    exec.replace(QStringLiteral("\\\\"), QStringLiteral("\\"));
    if (!exec.startsWith(QLatin1Char('"')))
        return exec.section(QLatin1Char(' '), 0, 0);
    QString path;
    for (int i = 1; i < exec.size(); ++i) {
        if (exec.at(i) == QLatin1Char('\\') && i + 1 < exec.size()) {
            path += exec.at(++i);
            continue;
        }
        if (exec.at(i) == QLatin1Char('"'))
            return path;
        path += exec.at(i);
    }
    return QString();
}

bool writeEntry(const QString &exec, bool enabled)
{
    const QString file = launchAtLoginFile();
    if (!QDir().mkpath(QFileInfo(file).absolutePath()))
        return false;
    QSaveFile out(file);
    if (!out.open(QIODevice::WriteOnly | QIODevice::Text))
        return false;
    QTextStream text(&out);
    text.setCodec("UTF-8");
    text << "[Desktop Entry]\n"
         << "Type=Application\n"
         << "Name=" << MConfig::instance()->appName << "\n"
         << "Comment=Connect to the VPN at login\n"
         << "Exec=" << exec << "\n"
         << "Icon=quellnet\n"
         << "Terminal=false\n"
         << "Hidden=" << (enabled ? "false" : "true") << "\n"
         << "X-GNOME-Autostart-enabled=" << (enabled ? "true" : "false") << "\n";
    text.flush();
    return out.commit();
}

QString readKey(const QString &content, const QString &key)
{
    for (const QString &line : content.split(QLatin1Char('\n'))) {
        if (line.startsWith(key + QLatin1Char('=')))
            return line.mid(key.size() + 1).trimmed();
    }
    return QString();
}

} // namespace

QString launchAtLoginFile()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation)
        + QStringLiteral("/autostart/quellnet.desktop");
}

bool enableLaunchAtLogin(const QString &program)
{
    return writeEntry(execArgument(QFileInfo(program).absoluteFilePath()), true);
}

bool disableLaunchAtLogin()
{
    QFile file(launchAtLoginFile());
    QString exec;
    if (file.open(QIODevice::ReadOnly))
        exec = readKey(QString::fromUtf8(file.readAll()), QStringLiteral("Exec"));
    file.close();
    // The entry stays, disabled, as the Windows value stays empty.
    return writeEntry(exec.isEmpty() ? QStringLiteral("quellnet") : exec, false);
}

bool launchAtLoginEnabled()
{
    QFile file(launchAtLoginFile());
    if (!file.open(QIODevice::ReadOnly))
        return false;
    const QString content = QString::fromUtf8(file.readAll());
    if (readKey(content, QStringLiteral("Hidden")) == QLatin1String("true")
        || readKey(content, QStringLiteral("X-GNOME-Autostart-enabled")) == QLatin1String("false"))
        return false;
    const QString program = programFromExec(readKey(content, QStringLiteral("Exec")));
    return !program.isEmpty() && QFileInfo(program).isFile();
}
