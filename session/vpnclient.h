#pragma once

#include <string>

// The tunnel engine the client drives (implemented by tunnelkit/). One process-wide object,
// reached through vpnclient::instance() before every call; all calls come from the client's
// main thread. Callbacks are registered once, before any other engine call, and may run on
// any engine thread: they must not block and must not call back into the engine.
class vpnclient
{
public:
    static vpnclient *instance();

    // Kill-switch level: 0 off, 3 on (block everything outside the tunnel).
    void setKillSwith(int level);
    // Keep the block after a user stop.
    void setKillDisconnect(bool keep);
    // Let local-network traffic through while blocked.
    void setKillLocal(bool allow);
    // server: the chosen server's address; config: its (untrusted) tunnel configuration.
    void setconfig(const std::string &server, const std::string &config);
    // 0 once the tunnel process runs and its management session is up; non-zero on failure.
    int start();
    int stop();
    // True from start() until the session has ended.
    bool isStart();
    // Final clean-up at program exit, after stop().
    void close();

    vpnclient(const vpnclient &) = delete;
    vpnclient &operator=(const vpnclient &) = delete;

private:
    vpnclient();
    ~vpnclient();
    struct Private;
    Private *d;
};

void vpn_event_set_callback(void (*callback)(const std::string &name, const std::string &info));
void vpn_log_set_callback(void (*callback)(const std::string &line));
void vpn_traffic_set_callback(void (*callback)(float inMb, float outMb));
