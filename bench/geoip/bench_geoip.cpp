// Measures the three geo-IP searches on one core with random addresses. The baseline is a
// plain binary search over the start addresses already in memory, measured in the same run,
// so the ratios mean the same on a slower or busier machine.

#include "ip2region.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QRandomGenerator>
#include <QTextStream>
#include <QVector>

#include <algorithm>

namespace {

constexpr int kAddressCount = 1 << 20;

struct Figure
{
    qint64 lookups = 0;
    double seconds = 0;
    quint64 checksum = 0;
    double perSecond() const { return seconds > 0 ? lookups / seconds : 0; }
};

// Runs `lookup` over the addresses, in rounds, until `budget` seconds have passed.
template<typename Lookup>
Figure measure(const QVector<quint32> &addresses, double budget, Lookup &&lookup)
{
    Figure f;
    QElapsedTimer timer;
    timer.start();
    const qint64 budgetNs = qint64(budget * 1e9);
    int i = 0;
    while (timer.nsecsElapsed() < budgetNs) {
        for (int n = 0; n < 1024; ++n) {
            f.checksum += lookup(addresses[i]);
            i = (i + 1) & (kAddressCount - 1);
        }
        f.lookups += 1024;
    }
    f.seconds = timer.nsecsElapsed() / 1e9;
    return f;
}

QVector<quint32> startAddresses(const QString &path)
{
    QVector<quint32> starts;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return starts;
    const QByteArray db = file.readAll();
    const auto u32 = [&db](int at) {
        quint32 v = 0;
        for (int k = 3; k >= 0; --k)
            v = (v << 8) | uchar(db.at(at + k));
        return v;
    };
    if (db.size() < 8)
        return starts;
    const quint32 first = u32(0);
    const quint32 last = u32(4);
    if (first > last || quint64(last) + 12 > quint64(db.size()))
        return starts;
    for (quint32 at = first; at <= last; at += 12)
        starts.append(u32(int(at)));
    return starts;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QTextStream out(stdout);
    const QStringList args = app.arguments();
    const QString path
        = args.size() > 1 ? args.at(1) : app.applicationDirPath() + QStringLiteral("/ip.db");
    const double budget = args.size() > 2 ? qBound(0.1, args.at(2).toDouble(), 60.0) : 2.0;

    IpRegionHandle handle;
    if (!ip2region_create(handle, path)) {
        out << "cannot open " << path << "\n";
        return 1;
    }
    const QVector<quint32> starts = startAddresses(path);
    if (starts.isEmpty()) {
        out << "no index in " << path << "\n";
        return 1;
    }

    QRandomGenerator random(1);
    QVector<quint32> addresses(kAddressCount);
    for (quint32 &a : addresses)
        a = random.generate();

    IpRegionResult result;
    // Load the lazily read parts first so that they are not timed.
    ip2region_memory_search(handle, 0, result);
    ip2region_btree_search(handle, 0, result);

    const Figure baseline = measure(addresses, budget, [&starts](quint32 ip) {
        return quint64(std::upper_bound(starts.cbegin(), starts.cend(), ip) - starts.cbegin());
    });
    const Figure memory = measure(addresses, budget, [&](quint32 ip) {
        return ip2region_memory_search(handle, ip, result) ? quint64(result.cityId) : 0;
    });
    const Figure header = measure(addresses, budget, [&](quint32 ip) {
        return ip2region_btree_search(handle, ip, result) ? quint64(result.cityId) : 0;
    });
    const Figure file = measure(addresses, budget, [&](quint32 ip) {
        return ip2region_binary_search(handle, ip, result) ? quint64(result.cityId) : 0;
    });

    out << "geo-IP lookups per second, one core, " << path << " (" << starts.size()
        << " index blocks)\n";
    const auto line = [&](const char *name, const Figure &f, double goal) {
        out << qSetFieldWidth(30) << Qt::left << name << qSetFieldWidth(12) << Qt::right
            << qRound64(f.perSecond()) << qSetFieldWidth(0) << "  x"
            << QString::number(f.perSecond() / baseline.perSecond(), 'f', 3) << " of baseline";
        if (goal > 0)
            out << "  goal " << qRound64(goal) << (f.perSecond() >= goal ? " met" : " MISSED");
        out << "  (checksum " << f.checksum % 1000 << ")\n";
    };
    line("baseline (sorted array)", baseline, 0);
    line("whole-file search", memory, 5e6);
    line("header-index search", header, 0);
    line("file-index search", file, 1e5);
    return 0;
}
