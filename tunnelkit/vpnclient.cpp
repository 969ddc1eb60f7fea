#include "vpnclient.h"

#include "engine.h"

#include <QEventLoop>
#include <QThread>

#include <atomic>
#include <functional>
#include <future>
#include <thread>

namespace {

using EventCallback = void (*)(const std::string &, const std::string &);
using LogCallback = void (*)(const std::string &);
using TrafficCallback = void (*)(float, float);

std::atomic<EventCallback> g_event{nullptr};
std::atomic<LogCallback> g_log{nullptr};
std::atomic<TrafficCallback> g_traffic{nullptr};

tunnelkit::EngineSink makeSink()
{
    tunnelkit::EngineSink sink;
    sink.event = [](const std::string &name, const std::string &info) {
        if (const EventCallback cb = g_event.load())
            cb(name, info);
    };
    sink.log = [](const std::string &line) {
        if (const LogCallback cb = g_log.load())
            cb(line);
    };
    sink.traffic = [](float inMb, float outMb) {
        if (const TrafficCallback cb = g_traffic.load())
            cb(inMb, outMb);
    };
    return sink;
}

} // namespace

struct vpnclient::Private
{
    tunnelkit::KillSwitchSettings killSwitch;
    std::string server;
    std::string config;
    std::atomic<bool> running{false};
    // The engine thread runs a Qt event loop of its own; a std::thread so that ending it is a
    // join, which thread checkers understand.
    std::thread thread;
    tunnelkit::Engine *engine = nullptr; // lives on the engine thread's stack

    void ensureEngine()
    {
        if (engine)
            return;
        std::promise<tunnelkit::Engine *> ready;
        std::future<tunnelkit::Engine *> created = ready.get_future();
        thread = std::thread([this, &ready]() {
            QThread::currentThread()->setObjectName(QStringLiteral("tunnelkit"));
            QEventLoop loop;
            tunnelkit::Engine engine(makeSink(), &running);
            QObject::connect(&engine, &tunnelkit::Engine::quitRequested, &loop, &QEventLoop::quit);
            ready.set_value(&engine);
            loop.exec();
        });
        engine = created.get();
    }

    // Runs f on the engine thread and waits for it.
    void onEngine(const std::function<void()> &f)
    {
        ensureEngine();
        std::promise<void> done;
        std::future<void> finished = done.get_future();
        engine->post([&f, &done]() {
            f();
            done.set_value();
        });
        finished.wait();
    }

    void shutdown()
    {
        if (!engine)
            return;
        engine->requestQuit();
        thread.join();
        engine = nullptr;
    }
};

vpnclient *vpnclient::instance()
{
    static vpnclient client;
    return &client;
}

vpnclient::vpnclient()
    : d(new Private)
{ }

vpnclient::~vpnclient()
{
    d->shutdown();
    delete d;
}

void vpnclient::setKillSwith(int level)
{
    // Only 0 and 3 are defined; anything else errs on the side of blocking.
    d->killSwitch.level = level == 0 ? 0 : 3;
    d->killSwitch.known = true;
}

void vpnclient::setKillDisconnect(bool keep)
{
    d->killSwitch.keepBlocked = keep;
}

void vpnclient::setKillLocal(bool allow)
{
    d->killSwitch.allowLan = allow;
}

void vpnclient::setconfig(const std::string &server, const std::string &config)
{
    d->server = server;
    d->config = config;
}

int vpnclient::start()
{
    tunnelkit::StartRequest request;
    request.killSwitch = d->killSwitch;
    request.server = d->server;
    request.config = d->config;
    request.environment = tunnelkit::Environment::fromProcess();
    int result = tunnelkit::StartLaunchFailed;
    d->onEngine([&]() { result = d->engine->start(request); });
    return result;
}

int vpnclient::stop()
{
    const tunnelkit::KillSwitchSettings killSwitch = d->killSwitch;
    const tunnelkit::Environment environment = tunnelkit::Environment::fromProcess();
    d->onEngine([&]() { d->engine->stop(killSwitch, environment); });
    return 0;
}

bool vpnclient::isStart()
{
    return d->running.load();
}

void vpnclient::close()
{
    stop();
    d->shutdown();
}

void vpn_event_set_callback(void (*callback)(const std::string &name, const std::string &info))
{
    g_event.store(callback);
}

void vpn_log_set_callback(void (*callback)(const std::string &line))
{
    g_log.store(callback);
}

void vpn_traffic_set_callback(void (*callback)(float inMb, float outMb))
{
    g_traffic.store(callback);
}
