#include "vpnclientengine.h"

#include "networkrepair.h"
#include "vpnclient.h"

namespace {

class VpnClientEngine : public VpnEngine
{
public:
    void setCallbacks(EventCallback event, LogCallback log, TrafficCallback traffic) override
    {
        vpn_event_set_callback(event);
        vpn_log_set_callback(log);
        vpn_traffic_set_callback(traffic);
    }
    void setKillSwith(int level) override { vpnclient::instance()->setKillSwith(level); }
    void setKillDisconnect(bool keep) override { vpnclient::instance()->setKillDisconnect(keep); }
    void setKillLocal(bool allow) override { vpnclient::instance()->setKillLocal(allow); }
    void setconfig(const std::string &server, const std::string &config) override
    {
        vpnclient::instance()->setconfig(server, config);
    }
    int start() override { return vpnclient::instance()->start(); }
    int stop() override { return vpnclient::instance()->stop(); }
    bool isStart() override { return vpnclient::instance()->isStart(); }
    void close() override { vpnclient::instance()->close(); }
    void repairNetwork(RepairDone done) override
    {
        // Lives until its one answer; the caller's thread runs it.
        auto *repair = new NetworkRepair;
        QObject::connect(repair, &NetworkRepair::finished, repair,
                         [repair, done](bool ok, const QString &report) {
                             done(ok, report.toStdString());
                             repair->deleteLater();
                         });
        repair->start();
    }
};

} // namespace

VpnEngine *defaultVpnEngine()
{
    static VpnClientEngine engine;
    return &engine;
}
