#pragma once

#include <QByteArray>
#include <QCoreApplication>
#include <QDir>
#include <QString>

#include <cstdio>
#include <cstdlib>
#include <string>

// A broken invariant is a finding: libFuzzer keeps the input that caused the abort.
#define FUZZ_CHECK(condition)                                                                      \
    do {                                                                                           \
        if (!(condition)) {                                                                        \
            std::fprintf(stderr, "%s:%d: invariant broken: %s\n", __FILE__, __LINE__, #condition); \
            std::abort();                                                                          \
        }                                                                                          \
    } while (false)

namespace fuzz {

// The code under test logs through Qt; a fuzzer runs it millions of times.
inline const bool kQtSilenced
    = (qInstallMessageHandler([](QtMsgType, const QMessageLogContext &, const QString &) {}), true);

inline std::string text(const uint8_t *data, size_t size)
{
    return std::string(reinterpret_cast<const char *>(data), size);
}

inline QByteArray bytes(const uint8_t *data, size_t size)
{
    return QByteArray(reinterpret_cast<const char *>(data), int(size));
}

// A scratch file of this process; the caller removes it after each input, since libFuzzer
// ends without running destructors.
inline QString scratchFile(const char *name)
{
    return QDir::tempPath()
        + QStringLiteral("/quellnet-fuzz-%1-").arg(QCoreApplication::applicationPid())
        + QLatin1String(name);
}

} // namespace fuzz
