#pragma once

#include "vpnengine.h"

#include <QString>
#include <QStringList>

// A tunnel engine that records every call in order; start() returns startResult and makes
// isStart() true. The callbacks it was given are kept for a test to raise events with.
class FakeEngine : public VpnEngine
{
public:
    void setCallbacks(EventCallback event, LogCallback log, TrafficCallback traffic) override
    {
        calls << QStringLiteral("setCallbacks");
        this->event = event;
        this->log = log;
        this->traffic = traffic;
    }
    void setKillSwith(int level) override
    {
        calls << QStringLiteral("setKillSwith(%1)").arg(level);
    }
    void setKillDisconnect(bool keep) override
    {
        calls << QStringLiteral("setKillDisconnect(%1)").arg(keep);
    }
    void setKillLocal(bool allow) override
    {
        calls << QStringLiteral("setKillLocal(%1)").arg(allow);
    }
    void setconfig(const std::string &server, const std::string &config) override
    {
        calls << QStringLiteral("setconfig(%1,%2)")
                     .arg(QString::fromStdString(server), QString::fromStdString(config));
    }
    int start() override
    {
        calls << QStringLiteral("start");
        running = startResult == 0;
        return startResult;
    }
    int stop() override
    {
        calls << QStringLiteral("stop");
        running = false;
        return 0;
    }
    bool isStart() override { return running; }
    void close() override { calls << QStringLiteral("close"); }
    void repairNetwork(RepairDone done) override
    {
        calls << QStringLiteral("repairNetwork");
        done(repairOk, repairReport);
    }

    QStringList calls;
    int startResult = 0;
    bool repairOk = true;
    std::string repairReport = "repaired";
    bool running = false;
    EventCallback event = nullptr;
    LogCallback log = nullptr;
    TrafficCallback traffic = nullptr;
};
