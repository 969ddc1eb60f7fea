#pragma once

#include <functional>
#include <string>

// The calls the client makes on the tunnel engine, as an interface, so that the connection
// controller can be driven by tests without the real engine. The program's implementation
// forwards to vpnclient::instance() (see app/vpnclientengine.h). GUI thread only, except
// for the callbacks, which the engine may run on any of its threads.
class VpnEngine
{
public:
    using EventCallback = void (*)(const std::string &name, const std::string &info);
    using LogCallback = void (*)(const std::string &line);
    using TrafficCallback = void (*)(float inMb, float outMb);

    virtual ~VpnEngine() = default;

    // Registered once, before any other call.
    virtual void setCallbacks(EventCallback event, LogCallback log, TrafficCallback traffic) = 0;
    virtual void setKillSwith(int level) = 0;
    virtual void setKillDisconnect(bool keep) = 0;
    virtual void setKillLocal(bool allow) = 0;
    // Both texts UTF-8.
    virtual void setconfig(const std::string &server, const std::string &config) = 0;
    // 0 when started, any other value is a failure.
    virtual int start() = 0;
    virtual int stop() = 0;
    virtual bool isStart() = 0;
    virtual void close() = 0;
    // The network repair: returns at once; done runs later, on any thread, exactly once.
    using RepairDone = std::function<void(bool ok, const std::string &report)>;
    virtual void repairNetwork(RepairDone done) = 0;
};
