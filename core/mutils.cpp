#include "mutils.h"

#include "mconfig.h"
#include "mplatform.h"
#include "quellnet_deploy.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QNetworkInterface>
#include <QRandomGenerator64>
#include <QRandomGenerator>
#include <QTextStream>
#include <QUuid>

QString appDir()
{
    return QCoreApplication::applicationDirPath();
}

QString getVer()
{
    return QStringLiteral(QUELLNET_VERSION);
}

float Ratio()
{
    return 1.0f;
}

double DPIRatio()
{
    return 1.0;
}

void MakeDir(const QString &path, bool recursive)
{
    const QString native = QDir::toNativeSeparators(path);
    QDir dir;
    if (dir.exists(native))
        return;
    const bool ok = recursive ? dir.mkpath(native) : dir.mkdir(native);
    if (!ok)
        qInfo() << "MakeDir,failed:" << native;
}

QString ReadFileX(const QString &path)
{
    if (path.isEmpty())
        return QString();
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return QString();
    QTextStream stream(&file);
    stream.setCodec("UTF-8");
    return stream.readAll();
}

bool SaveFile(const QString &path, const QString &text)
{
    QString error;
    return SaveFile(path, text, error);
}

bool SaveFile(const QString &path, const QString &text, QString &error)
{
    const QString native = QDir::toNativeSeparators(path);
    QFile file(native);
    bool ok = file.open(QIODevice::WriteOnly | QIODevice::Truncate);
    if (ok) {
        const QByteArray bytes = text.toUtf8();
        ok = file.write(bytes) == bytes.size();
        ok = file.flush() && ok;
    }
    if (!ok) {
        error = file.errorString();
        qInfo() << "SaveFile failed." << native << error;
    }
    return ok;
}

bool StrEquals(const QString &a, const QString &b)
{
    if (a.isEmpty() || b.isEmpty())
        return false;
    return a.trimmed().compare(b.trimmed(), Qt::CaseInsensitive) == 0;
}

QString UrlWithLang(const QString &url)
{
    if (url.isEmpty())
        return QString();
    QString lang = MConfig::instance()->lang;
    lang = lang.remove(QStringLiteral(".qm")).trimmed();
    if (lang == QLatin1String("0"))
        lang = QStringLiteral("en");
    if (url.indexOf(QLatin1Char('?')) > 5)
        return url + QStringLiteral("&lang=") + lang;
    if (url.indexOf(QLatin1String(".html")) > 5 || url.indexOf(QLatin1String(".htm")) > 5)
        return url + QStringLiteral("?lang=") + lang;
    return url;
}

QString Rand(bool uuidBased)
{
    if (!uuidBased)
        return QString::number(quint32(QRandomGenerator64::global()->generate64()));
    QString text = QUuid::createUuid().toString();
    text.remove(QLatin1Char('{')).remove(QLatin1Char('}')).remove(QLatin1Char('-'));
    text = text.trimmed();
    const int start = RandRange(0, text.length() - 12);
    return text.mid(start, 10).toUpper();
}

int RandRange(int lower, int upper)
{
    if (lower == upper)
        return lower;
    if (lower > upper)
        std::swap(lower, upper);
    return QRandomGenerator::global()->bounded(lower, upper);
}

QString GetMacAddress()
{
    const QList<QNetworkInterface> interfaces = QNetworkInterface::allInterfaces();
    for (const QNetworkInterface &ni : interfaces) {
        if (!ni.isValid() || ni.flags().testFlag(QNetworkInterface::IsLoopBack))
            continue;
        const QString mac = ni.hardwareAddress();
        // Tunnels and some virtual links have no (or an all-zero) hardware address.
        if (mac.length() != 17 || mac == QLatin1String("00:00:00:00:00:00"))
            continue;
        return mac.toUpper();
    }
    return Rand(true);
}

QString getCPUDetails()
{
    return Platform::cpuDetails();
}

QString getFile(const QString &folder, const QString &pattern, int &counter)
{
    QString base = folder;
    if (!base.endsWith(QLatin1Char('/')) && !base.endsWith(QDir::separator()))
        base += QLatin1Char('/');
    // Bounded: a folder cannot hold anywhere near this many entries of one pattern.
    for (int tries = 0; tries < 1000000; ++tries, ++counter) {
        const QString path = QDir::toNativeSeparators(base + pattern.arg(counter));
        if (!QFileInfo::exists(path))
            return path;
    }
    return QString();
}

void ShowInFolder(const QString &path)
{
    const QFileInfo info(path);
    const QString canonical = info.canonicalFilePath();
    if (canonical.isEmpty())
        return;
    Platform::showInFileManager(QDir::toNativeSeparators(canonical), !info.isDir());
}
