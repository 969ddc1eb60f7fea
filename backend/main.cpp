// quellnet-backend: the reference backend the client, the demo and the integration tests talk
// to. See README.md beside this file.
#include "backendcrypto.h"
#include "capturingserver.h"
#include "options.h"
#include "service.h"
#include "store.h"
#include "textutil.h"

#include "quellnet_deploy.h"

#include <httplib.h>

#include <atomic>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <memory>
#include <pthread.h>
#include <sstream>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace {

const char kProgram[] = "quellnet-backend";
const char kDemoEmail[] = "demo@quellnet.example";

void say(const std::string &text)
{
    std::fprintf(stderr, "%s: %s\n", kProgram, text.c_str());
}

bool readable(const std::string &path, std::string &error)
{
    std::ifstream in(path, std::ios::binary);
    char byte = 0;
    if (!in || !in.read(&byte, 1)) {
        error = errno ? std::strerror(errno) : "empty or unreadable";
        return false;
    }
    return true;
}

bool readableFolder(const std::string &path, std::string &error)
{
    std::error_code ec;
    std::filesystem::directory_iterator it(path, ec);
    if (ec) {
        error = ec.message();
        return false;
    }
    return true;
}

// The demo offers the version after this one, so that the client has an update to take.
std::string nextVersion(const std::string &version)
{
    const size_t dot = version.rfind('.');
    const size_t last = dot == std::string::npos ? 0 : dot + 1;
    return version.substr(0, last)
        + std::to_string(std::strtoul(version.c_str() + last, nullptr, 10) + 1);
}

bool seedDemo(backend::Store &store, const std::string &password)
{
    const std::time_t now = std::time(nullptr);
    backend::Account account;
    account.email = kDemoEmail;
    account.passwordHash = backend::hashPassword(password);
    account.expireDate = backend::utcText(now + 30 * 24 * 60 * 60);
    account.paymentDate = backend::utcText(now - 24 * 60 * 60);
    if (account.passwordHash.empty() || !store.putAccount(account))
        return false;
    const std::vector<backend::PriceEntry> prices = {
        {"30", "Monthly", "9.99", "/order.html?plan=30"},
        {"90", "Quarterly", "24.99", "/order.html?plan=90"},
        {"360", "Two years", "79.99", "/order.html?plan=360"},
    };
    const std::string next = nextVersion(QUELLNET_VERSION);
    const std::vector<backend::UpdateEntry> updates = {
        {"quellnet", next, "/download/quellnet_" + next + "_all.deb"},
    };
    return store.replacePrices(prices) && store.replaceUpdates(updates);
}

// One listening server with the thread that runs its accept loop.
struct Listener
{
    std::unique_ptr<httplib::Server> server;
    std::string description;
    std::thread thread;
};

std::atomic<bool> g_stopping{false};
std::atomic<bool> g_listenerFailed{false};

} // namespace

int main(int argc, char **argv)
{
    std::vector<std::string> args(argv + 1, argv + argc);
    const backend::ParsedCommandLine parsed = backend::parseCommandLine(args);
    switch (parsed.action) {
    case backend::ParsedCommandLine::Action::Help:
        std::fputs(backend::usageText(kProgram).c_str(), stdout);
        return 0;
    case backend::ParsedCommandLine::Action::Version:
        std::printf("%s %s\n", kProgram, QUELLNET_VERSION);
        return 0;
    case backend::ParsedCommandLine::Action::Error:
        std::fprintf(stderr, "%s: %s\nTry '%s --help'.\n", kProgram, parsed.error.c_str(),
                     kProgram);
        return 2;
    case backend::ParsedCommandLine::Action::Run:
        break;
    }
    backend::Options options = parsed.options;
    if (options.updateKey.empty() && options.demo)
        options.updateKey = QUELLNET_BACKEND_DEMO_DIR "/update-signing-key.pem";

    // Signals are taken by sigwait below; every thread started later inherits the mask.
    std::signal(SIGPIPE, SIG_IGN);
    sigset_t stopSignals;
    sigemptyset(&stopSignals);
    sigaddset(&stopSignals, SIGTERM);
    sigaddset(&stopSignals, SIGINT);
    pthread_sigmask(SIG_BLOCK, &stopSignals, nullptr);

    std::string error;
    if (!readable(options.cert, error)) {
        say("cannot read certificate " + options.cert + ": " + error);
        return 1;
    }
    if (!readable(options.key, error)) {
        say("cannot read key " + options.key + ": " + error);
        return 1;
    }
    std::string serverFolder = options.ovpnDir;
    if (serverFolder.empty() && options.demo)
        serverFolder = QUELLNET_BACKEND_DEMO_DIR;
    if (!serverFolder.empty() && !readableFolder(serverFolder, error)) {
        say("cannot read server folder " + serverFolder + ": " + error);
        return 1;
    }
    if (!options.filesDir.empty() && !readableFolder(options.filesDir, error)) {
        say("cannot read files folder " + options.filesDir + ": " + error);
        return 1;
    }

    std::string updateKeyPem;
    if (!options.updateKey.empty()) {
        std::ifstream in(options.updateKey, std::ios::binary);
        std::ostringstream text;
        text << in.rdbuf();
        updateKeyPem = text.str();
        if (!in || backend::signEd25519Base64(updateKeyPem, "check").empty()) {
            say("cannot use update key " + options.updateKey
                + ": not a readable Ed25519 private key");
            return 1;
        }
    }

    // The database holds password hashes and client data: owner only, WAL files included.
    ::umask(077);
    backend::Store store;
    if (!store.open(options.db, error)) {
        say("cannot open database " + options.db + ": " + error);
        return 1;
    }
    store.setRecordLimit(options.recordLimit);
    if (options.demo) {
        if (!seedDemo(store, options.demoPassword)) {
            say("cannot write the demo data into " + options.db);
            return 1;
        }
        say(std::string("demo account: ") + kDemoEmail + " password: " + options.demoPassword);
    }

    std::unique_ptr<SSL_CTX, decltype(&SSL_CTX_free)> tls(
        backend::makeServerTlsContext(options.cert, options.key, error), SSL_CTX_free);
    if (!tls) {
        say("cannot use " + error);
        return 1;
    }

    backend::Service service(store, options, serverFolder, updateKeyPem);
    std::vector<Listener> listeners;
    const auto add = [&](SSL_CTX *context, int port, const std::string &what) {
        const std::string scheme = context ? "https://" : "http://";
        listeners.push_back(
            {std::make_unique<backend::CapturingServer>(context),
             scheme + options.listen + ':' + std::to_string(port) + " (" + what + ')',
             {}});
        return listeners.back().server.get();
    };
    service.setupMain(*add(tls.get(), options.port, "main"));
    service.setupServerList(*add(tls.get(), options.serverListPort, "server list"));
    if (options.collectPort)
        service.setupCollector(*add(nullptr, options.collectPort, "analytics collector"));

    const int ports[] = {options.port, options.serverListPort, options.collectPort};
    for (size_t i = 0; i < listeners.size(); ++i) {
        errno = 0;
        if (!listeners[i].server->bind_to_port(options.listen, ports[i])) {
            const int code = errno;
            say("cannot listen on " + options.listen + ':' + std::to_string(ports[i]) + ": "
                + (code ? std::strerror(code) : "address not available"));
            return 1;
        }
        say("listening on " + listeners[i].description);
    }
    say(serverFolder.empty() ? std::string("no server folder: the server list is empty")
                             : "servers from " + serverFolder);
    if (!options.updateKey.empty())
        say("update entries signed with " + options.updateKey);

    const pthread_t mainThread = pthread_self();
    for (Listener &listener : listeners) {
        httplib::Server *server = listener.server.get();
        listener.thread = std::thread([server, mainThread] {
            if (!server->listen_after_bind() && !g_stopping) {
                g_listenerFailed = true;
                pthread_kill(mainThread, SIGTERM);
            }
        });
    }
    // stop() does nothing to a server whose accept loop has not begun yet, so wait for all
    // of them before a signal can be taken.
    for (int i = 0; i < 5000; ++i) {
        bool running = true;
        for (const Listener &listener : listeners)
            running = running && listener.server->is_running();
        if (running || g_listenerFailed)
            break;
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    say("ready");

    int signal = 0;
    while (sigwait(&stopSignals, &signal) != 0) { }
    g_stopping = true;
    say(g_listenerFailed ? "a listener stopped unexpectedly, shutting down"
                         : std::string("signal ") + strsignal(signal) + ", shutting down");
    for (Listener &listener : listeners)
        listener.server->stop();
    for (Listener &listener : listeners) {
        if (listener.thread.joinable())
            listener.thread.join();
    }
    store.close();
    say("stopped");
    return g_listenerFailed ? 1 : 0;
}
