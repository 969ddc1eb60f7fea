#include "enginehost.h"

#include <QEventLoop>
#include <QThread>

#include <future>

namespace tunnelkit {

EngineHost::EngineHost(EngineSink sink)
{
    std::promise<Engine *> ready;
    std::future<Engine *> created = ready.get_future();
    m_thread = std::thread([this, &ready, sink = std::move(sink)]() mutable {
        QThread::currentThread()->setObjectName(QStringLiteral("tunnelkit"));
        QEventLoop loop;
        Engine engine(std::move(sink), &m_running);
        QObject::connect(&engine, &Engine::quitRequested, &loop, &QEventLoop::quit);
        ready.set_value(&engine);
        loop.exec();
    });
    m_engine = created.get();
}

EngineHost::~EngineHost()
{
    m_engine->requestQuit();
    m_thread.join();
}

void EngineHost::post(std::function<void(Engine &)> job)
{
    Engine *engine = m_engine;
    engine->post([engine, job = std::move(job)]() { job(*engine); });
}

void EngineHost::run(const std::function<void(Engine &)> &job)
{
    std::promise<void> done;
    post([&job, &done](Engine &engine) {
        job(engine);
        done.set_value();
    });
    done.get_future().wait();
}

} // namespace tunnelkit
