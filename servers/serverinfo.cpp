#include "serverinfo.h"

#include <QFile>

ServerInfo::ServerInfo(QObject *parent)
    : QObject(parent)
{ }

namespace {

// The text comes from the server list: anything but a plain code must not reach the
// resource path (or the style sheet the window builds from it).
bool hasFlag(const QString &code)
{
    if (code.isEmpty())
        return false;
    for (const QChar c : code) {
        if (c < QLatin1Char('A') || c > QLatin1Char('Z'))
            return false;
    }
    return QFile::exists(QStringLiteral(":/flag/") + code + QStringLiteral(".png"));
}

} // namespace

QString flagCode(const QString &country)
{
    const QString text = country.trimmed();
    const QString upper = text.toUpper();
    if (hasFlag(upper))
        return upper;

    static const struct
    {
        const char *name;
        const char *code;
    } kNames[] = {
        {"chinese", "CN"},   {"janpanese", "JP"}, {"usa", "US"},
        {"hongkong", "HK"},  {"india", "IN"},     {"singapore", "SG"},
        {"australia", "AU"}, {"england", "GB"},   {"canada", "CA"},
    };
    QString code;
    for (const auto &entry : kNames) {
        if (text.compare(QLatin1String(entry.name), Qt::CaseInsensitive) == 0) {
            code = QLatin1String(entry.code);
            break;
        }
    }
    return hasFlag(code) ? code : QStringLiteral("US");
}
