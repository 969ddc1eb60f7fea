#include "mcrashstack.h"

#include "mlogger.h"
#include "mplatform.h"
#include "mutils.h"

#include <QDebug>
#include <QFile>
#include <QRandomGenerator>

#include <atomic>
#include <cerrno>
#include <csignal>
#include <cstdint>
#include <cstring>
#include <ctime>

#include <execinfo.h>
#include <fcntl.h>
#include <link.h>
#include <pthread.h>
#include <ucontext.h>
#include <unistd.h>

// Everything below install() runs inside a signal handler: no allocation, no stdio, no lock
// but the loader's (recursive) one that backtrace() and dl_iterate_phdr take; only static
// buffers, system calls and the unwinder, which install() loads early.

namespace {

constexpr int kSignals[] = {SIGSEGV, SIGBUS, SIGILL, SIGFPE, SIGABRT};
constexpr int kSignalCount = sizeof(kSignals) / sizeof(kSignals[0]);
constexpr int kMaxFrames = 64;

struct CrashState
{
    char dumpFolder[4096] = {};
    char exePath[4096] = {};
    char version[64] = {};
    char osVersion[128] = {};
    int logFd = -1;
    unsigned seed = 0;
    long utcOffset = 0;
    struct sigaction previous[kSignalCount] = {};
    bool installed = false;
};

CrashState g_state;
std::atomic<int> g_reporting{0};
std::atomic<unsigned> g_dumpCounter{0};
alignas(16) char g_altStack[64 * 1024];
char g_report[64 * 1024];
char g_line[4096];
char g_dumpPath[4096 + 32];

template<size_t N>
void copyText(char (&target)[N], const QByteArray &text)
{
    const size_t n = qMin(size_t(text.size()), N - 1);
    memcpy(target, text.constData(), n);
    target[n] = '\0';
}

// Appends to a fixed buffer, truncating; always NUL-terminated.
class Text
{
public:
    Text(char *buffer, size_t capacity)
        : m_buffer(buffer)
        , m_capacity(capacity)
    {
        *buffer = 0;
    }

    Text &str(const char *s)
    {
        while (s && *s && m_size + 1 < m_capacity)
            m_buffer[m_size++] = *s++;
        m_buffer[m_size] = '\0';
        return *this;
    }
    Text &chars(const char *s, size_t n)
    {
        while (n-- && m_size + 1 < m_capacity)
            m_buffer[m_size++] = *s++;
        m_buffer[m_size] = '\0';
        return *this;
    }
    Text &num(uintmax_t value, unsigned base = 10, int width = 1, bool upper = true)
    {
        const char *digits = upper ? "0123456789ABCDEF" : "0123456789abcdef";
        char tmp[32];
        int n = 0;
        do {
            tmp[n++] = digits[value % base];
            value /= base;
        } while (value && n < 32);
        while (n < width && n < 32)
            tmp[n++] = '0';
        while (n)
            chars(&tmp[--n], 1);
        return *this;
    }
    Text &snum(intmax_t value)
    {
        if (value < 0)
            str("-");
        return num(value < 0 ? uintmax_t(-(value + 1)) + 1 : uintmax_t(value));
    }
    Text &addr(uintptr_t value) { return num(value, 16, 2 * sizeof(void *)); }

    const char *data() const { return m_buffer; }
    size_t size() const { return m_size; }

private:
    char *m_buffer;
    size_t m_capacity;
    size_t m_size = 0;
};

void writeAll(int fd, const char *data, size_t size)
{
    while (fd >= 0 && size > 0) {
        const ssize_t n = write(fd, data, size);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return;
        data += n;
        size -= size_t(n);
    }
}

const char *signalName(int sig)
{
    switch (sig) {
    case SIGSEGV:
        return "SIGSEGV";
    case SIGBUS:
        return "SIGBUS";
    case SIGILL:
        return "SIGILL";
    case SIGFPE:
        return "SIGFPE";
    case SIGABRT:
        return "SIGABRT";
    default:
        return "?";
    }
}

struct ModuleQuery
{
    uintptr_t address;
    const char *path;
    uintptr_t bias;
};

int findModule(dl_phdr_info *info, size_t, void *data)
{
    auto *query = static_cast<ModuleQuery *>(data);
    for (int i = 0; i < info->dlpi_phnum; ++i) {
        const ElfW(Phdr) &segment = info->dlpi_phdr[i];
        const uintptr_t start = info->dlpi_addr + segment.p_vaddr;
        if (segment.p_type == PT_LOAD && query->address >= start
            && query->address - start < segment.p_memsz) {
            // The program itself has an empty name in the list.
            query->path = info->dlpi_name && *info->dlpi_name ? info->dlpi_name : g_state.exePath;
            query->bias = info->dlpi_addr;
            return 1;
        }
    }
    return 0;
}

// dl_iterate_phdr rather than a list taken at install time: plugins load later.
ModuleQuery moduleOf(uintptr_t address)
{
    ModuleQuery query{address, nullptr, 0};
    dl_iterate_phdr(findModule, &query);
    return query;
}

void appendFrame(Text &report, uintptr_t address)
{
    report.str("\n").addr(address).str("  ");
    const ModuleQuery module = moduleOf(address);
    if (module.path)
        report.str(module.path).str(" (+0x").num(address - module.bias, 16, 1, false).str(")");
}

// Same form as the logger's lines; local time from the offset taken at install time.
void logLine(const char *message, size_t length)
{
    timespec now{};
    clock_gettime(CLOCK_REALTIME, &now);
    const long long local = now.tv_sec + g_state.utcOffset;
    long long days = local / 86400;
    long long secs = local % 86400;
    if (secs < 0) {
        secs += 86400;
        --days;
    }
    // Civil date from days since 1970-01-01 (proleptic Gregorian).
    days += 719468;
    const long long era = (days >= 0 ? days : days - 146096) / 146097;
    const long long doe = days - era * 146097;
    const long long yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const long long doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const long long mp = (5 * doy + 2) / 153;
    const long long day = doy - (153 * mp + 2) / 5 + 1;
    const long long month = mp < 10 ? mp + 3 : mp - 9;
    const long long year = yoe + era * 400 + (month <= 2);

    Text line(g_line, sizeof(g_line));
    line.num(uintmax_t(year), 10, 4).num(uintmax_t(month), 10, 2).num(uintmax_t(day), 10, 2);
    line.str(" ").num(uintmax_t(secs / 3600)).str(":").num(uintmax_t(secs / 60 % 60), 10, 2);
    line.str(":").num(uintmax_t(secs % 60), 10, 2).str(".");
    line.num(uintmax_t(now.tv_nsec / 1000000), 10, 3).str(" Info: 0x");
    // pthread_self only reads the thread pointer; it is the id the logger prints.
    line.num(uintptr_t(pthread_self()), 16, 1, false).str(" 0 ").chars(message, length);
    line.str(" \n");
    writeAll(g_state.logFd, line.data(), line.size());
}

int openDumpFile()
{
    const unsigned pid = unsigned(getpid());
    for (int attempt = 0; attempt < 16; ++attempt) {
        const unsigned n = g_dumpCounter.fetch_add(1);
        const unsigned name = g_state.seed ^ (pid * 2654435761u) ^ (n * 40503u);
        Text path(g_dumpPath, sizeof(g_dumpPath));
        path.str(g_state.dumpFolder).num(name).str(".dmp");
        const int fd = open(g_dumpPath, O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
        if (fd >= 0 || errno != EEXIST)
            return fd;
    }
    return -1;
}

void writeReport(int sig, const siginfo_t *info, const ucontext_t *context)
{
    uintptr_t pc = 0;
    int access = -1; // 0 read, 1 write, -1 not known
#if defined(__x86_64__)
    pc = uintptr_t(context->uc_mcontext.gregs[REG_RIP]);
    // Bit 1 of a page fault's error code (trap 14) tells a write.
    if (context->uc_mcontext.gregs[REG_TRAPNO] == 14)
        access = (context->uc_mcontext.gregs[REG_ERR] & 2) ? 1 : 0;
#elif defined(__aarch64__)
    pc = uintptr_t(context->uc_mcontext.pc);
#else
    Q_UNUSED(context)
#endif
    Text report(g_report, sizeof(g_report));
    report.str("ExceptionAddress: \"").addr(pc).str("\" Signal: \"").str(signalName(sig));
    report.str("\" Code: \"").snum(info->si_code).str("\"\n");
    report.str("OS Version:").str(g_state.osVersion).str("\nProcess:").str(g_state.exePath);
    report.str("\nVersion:").str(g_state.version).str("\n");
    const ModuleQuery module = moduleOf(pc);
    if (module.path)
        report.str("Module: ").str(module.path).str("\n");
    report.str("Signal:  ").num(unsigned(sig)).str(" (").str(signalName(sig)).str("), code ");
    report.snum(info->si_code).str("\n");
    // A positive code means the kernel raised it for a fault at si_addr.
    if ((sig == SIGSEGV || sig == SIGBUS) && info->si_code > 0) {
        report.str(access == 1       ? "Write Address:  "
                       : access == 0 ? "Read Address:  "
                                     : "Address:  ");
        report.addr(uintptr_t(info->si_addr)).str("\n");
    }
    report.str("CallStack:");
    void *frames[kMaxFrames];
    const int count = backtrace(frames, kMaxFrames);
    // The frames above the faulting one are this handler's own.
    int first = 0;
    for (int i = 0; i < count; ++i) {
        if (uintptr_t(frames[i]) == pc) {
            first = i + 1;
            break;
        }
    }
    appendFrame(report, pc);
    for (int i = first; i < count; ++i)
        appendFrame(report, uintptr_t(frames[i]));
    report.str("\n");

    const int dump = openDumpFile();
    writeAll(dump, report.data(), report.size());
    if (dump >= 0)
        close(dump);

    static const char kStart[]
        = "======================Start Exception============================";
    static const char kEnd[] = "======================End Exception==============================";
    logLine(kStart, sizeof(kStart) - 1);
    const char *line = report.data();
    const char *const end = line + report.size();
    while (line < end) {
        const char *next = line;
        while (next < end && *next != '\n')
            ++next;
        if (next > line)
            logLine(line, size_t(next - line));
        line = next + 1;
    }
    logLine(kEnd, sizeof(kEnd) - 1);
}

void onFatalSignal(int sig, siginfo_t *info, void *context)
{
    // The unwinder and the module lookup take the loader's lock; should a thread in dlopen
    // hold it, the process still ends, by SIGALRM, instead of hanging.
    struct sigaction alarmDefault = {};
    alarmDefault.sa_handler = SIG_DFL;
    sigemptyset(&alarmDefault.sa_mask);
    sigaction(SIGALRM, &alarmDefault, nullptr);
    alarm(10);
    if (g_reporting.exchange(1) == 0) {
        writeReport(sig, info, static_cast<const ucontext_t *>(context));
    } else {
        // Another thread is writing its report and ends the process when done.
        const timespec pause{0, 50 * 1000 * 1000};
        for (int i = 0; i < 100; ++i)
            nanosleep(&pause, nullptr);
    }
    // The signal is blocked in here, so it arrives again, now with the default action, as
    // soon as the handler returns: exit status and core dump are the system's.
    struct sigaction fallback = {};
    fallback.sa_handler = SIG_DFL;
    sigemptyset(&fallback.sa_mask);
    sigaction(sig, &fallback, nullptr);
    raise(sig);
}

} // namespace

bool MCrashStack::install()
{
    if (g_state.installed)
        return true;
    copyText(g_state.dumpFolder, QFile::encodeName(dumpFolder()));
    const ssize_t n = readlink("/proc/self/exe", g_state.exePath, sizeof(g_state.exePath) - 1);
    g_state.exePath[n > 0 ? n : 0] = '\0';
    copyText(g_state.version, getVer().toUtf8());
    copyText(
        g_state.osVersion,
        (Platform::osProductType() + QLatin1Char(' ') + Platform::osProductVersion()).toUtf8());
    g_state.seed = QRandomGenerator::system()->generate();
    const time_t now = time(nullptr);
    tm local = {};
    localtime_r(&now, &local);
    g_state.utcOffset = local.tm_gmtoff;
    // A descriptor of its own: the logger's write path takes a lock and allocates.
    g_state.logFd = open(QFile::encodeName(getLogFile()).constData(),
                         O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC, 0666);

    // The first backtrace loads the unwinder library, which allocates: not at crash time.
    void *warmUp[2];
    backtrace(warmUp, 2);

    // Lets a stack overflow be reported. Per thread: only the installing thread gets one.
    stack_t current = {};
    if (sigaltstack(nullptr, &current) == 0 && (current.ss_flags & SS_DISABLE)) {
        stack_t stack = {};
        stack.ss_sp = g_altStack;
        stack.ss_size = sizeof(g_altStack);
        sigaltstack(&stack, nullptr);
    }

    bool ok = true;
    for (int i = 0; i < kSignalCount; ++i) {
        struct sigaction action = {};
        action.sa_sigaction = onFatalSignal;
        action.sa_flags = SA_SIGINFO | SA_ONSTACK;
        sigemptyset(&action.sa_mask);
        ok = sigaction(kSignals[i], &action, &g_state.previous[i]) == 0 && ok;
    }
    g_state.installed = true;
    if (!ok)
        qWarning() << "Crash handler: sigaction failed";
    return ok;
}

void MCrashStack::uninstall()
{
    if (!g_state.installed)
        return;
    for (int i = 0; i < kSignalCount; ++i)
        sigaction(kSignals[i], &g_state.previous[i], nullptr);
    if (g_state.logFd >= 0)
        close(g_state.logFd);
    g_state.logFd = -1;
    g_state.installed = false;
}
