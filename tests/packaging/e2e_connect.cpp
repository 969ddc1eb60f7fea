// The smallest client of an installed quellnet-helper: connects with the e2e network's client
// configuration, waits for CONNECTED, disconnects and waits for the end. Run as an
// unprivileged user inside the test network by package-e2e.sh.
//
//   e2e_connect CONFIG SERVER [--keep-block]
//
// --keep-block turns the kill switch on with "block while disconnected", so that the block
// outlives the session. Exit code 0 when both steps were seen within their time.

#include "vpnclient.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QThread>

#include <atomic>
#include <cstdio>
#include <mutex>
#include <string>

namespace {

std::mutex g_lock;
std::string g_last;

void onEvent(const std::string &name, const std::string &info)
{
    std::fprintf(stderr, "e2e_connect: %s %s\n", name.c_str(), info.c_str());
    std::lock_guard<std::mutex> hold(g_lock);
    g_last = name;
}

bool waitFor(const char *name, int ms)
{
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < ms) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
        {
            std::lock_guard<std::mutex> hold(g_lock);
            if (g_last == name)
                return true;
        }
        QThread::msleep(50);
    }
    return false;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    if (argc < 3)
        return 2;
    QFile file(QString::fromLocal8Bit(argv[1]));
    if (!file.open(QIODevice::ReadOnly))
        return 2;
    const bool keepBlock = argc > 3 && qstrcmp(argv[3], "--keep-block") == 0;
    vpn_event_set_callback(&onEvent);
    vpnclient *vpn = vpnclient::instance();
    vpn->setKillSwith(keepBlock ? 3 : 0);
    vpn->setKillDisconnect(keepBlock);
    vpn->setconfig(argv[2], file.readAll().toStdString());
    const bool connected = vpn->start() == 0 && waitFor("CONNECTED", 60000);
    vpn->stop();
    const bool ended = waitFor("DISCONNECTED", 20000);
    vpn->close();
    return connected && ended ? 0 : 1;
}
