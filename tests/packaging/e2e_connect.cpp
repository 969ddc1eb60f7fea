// The smallest client of an installed quellnet-helper, run as an unprivileged user inside the
// test network by package-e2e.sh: connects, waits for CONNECTED, disconnects, waits for the
// end. --keep-block asks for the kill switch with "block while disconnected", so the block
// outlives the session. Exit code 0 when both steps were seen in time.
//
//   e2e_connect CONFIG SERVER [--keep-block]

#include "vpnclient.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QFile>
#include <QThread>

#include <atomic>
#include <cstdio>

static std::atomic<int> g_stage{0}; // 1 connected, 2 disconnected

static void onEvent(const std::string &name, const std::string &info)
{
    std::fprintf(stderr, "e2e_connect: %s %s\n", name.c_str(), info.c_str());
    if (name == "CONNECTED" || name == "DISCONNECTED")
        g_stage = name == "CONNECTED" ? 1 : 2;
}

static bool reach(int stage, int ms)
{
    for (QDeadlineTimer deadline(ms); g_stage != stage && !deadline.hasExpired();) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
        QThread::msleep(50);
    }
    return g_stage == stage;
}

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QFile config(QString::fromLocal8Bit(argc > 1 ? argv[1] : ""));
    if (argc < 3 || !config.open(QIODevice::ReadOnly))
        return 2;
    const bool keep = argc > 3 && qstrcmp(argv[3], "--keep-block") == 0;
    vpn_event_set_callback(&onEvent);
    vpnclient *vpn = vpnclient::instance();
    vpn->setKillSwith(keep ? 3 : 0);
    vpn->setKillDisconnect(keep);
    vpn->setconfig(argv[2], config.readAll().toStdString());
    const bool connected = vpn->start() == 0 && reach(1, 60000);
    vpn->stop();
    const bool ended = reach(2, 20000);
    vpn->close();
    return connected && ended ? 0 : 1;
}
