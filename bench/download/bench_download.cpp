// Times a download from the reference backend on loopback in four byte ranges (and in one)
// against the curl command line fetching the same file in the same run; medians of five.
// Exit code: 0 goal met, 1 a download failed, 2 goal missed.

#include "mmultidownload.h"
#include "testbackend.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QRandomGenerator>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>

namespace {

constexpr double kGoal = 1.2;
constexpr int kRounds = 5;

void quietHandler(QtMsgType type, const QMessageLogContext &, const QString &message)
{
    if (type != QtDebugMsg && type != QtInfoMsg)
        std::fprintf(stderr, "%s\n", qPrintable(message));
}

qint64 median(QList<qint64> values)
{
    std::sort(values.begin(), values.end());
    return values.value(values.size() / 2, -1);
}

// Milliseconds for one job, -1 when it failed or the file came out wrong.
qint64 fetch(const QUrl &url, const QString &target, int parts, qint64 size)
{
    QFile::remove(target);
    MMultiDownload job(nullptr, target);
    QSignalSpy finished(&job, &MMultiDownload::signalFinished);
    QSignalSpy ended(&job, &MMultiDownload::signalEnd);
    QElapsedTimer clock;
    clock.start();
    job.start(url, parts);
    if (!ended.wait(120000) || finished.isEmpty())
        return -1;
    const qint64 ms = clock.elapsed();
    return QFile(target).size() == size ? ms : -1;
}

qint64 curl(const QString &program, const QUrl &url, const QString &target, const QString &ca)
{
    QFile::remove(target);
    QProcess process;
    QElapsedTimer clock;
    clock.start();
    process.start(program,
                  {QStringLiteral("-sSf"), QStringLiteral("--cacert"), ca, QStringLiteral("-o"),
                   target, url.toString()});
    if (!process.waitForFinished(120000) || process.exitCode() != 0)
        return -1;
    return clock.elapsed();
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    qInstallMessageHandler(quietHandler);
    const qint64 megabytes
        = argc > 1 ? qBound(1, QString::fromLocal8Bit(argv[1]).toInt(), 4096) : 200;
    const qint64 size = megabytes * 1000 * 1000;
    const QString program = QStandardPaths::findExecutable(QStringLiteral("curl"));
    QTemporaryDir files;
    QTemporaryDir out;
    if (program.isEmpty() || !files.isValid() || !out.isValid()) {
        std::printf("needs curl and a writable temporary folder\n");
        return 1;
    }
    {
        QFile file(files.filePath(QStringLiteral("big.bin")));
        if (!file.open(QIODevice::WriteOnly))
            return 1;
        QByteArray block(1 << 20, Qt::Uninitialized);
        for (qint64 written = 0; written < size; written += block.size()) {
            QRandomGenerator::global()->fillRange(reinterpret_cast<quint32 *>(block.data()),
                                                  block.size() / 4);
            file.write(block.constData(), qMin<qint64>(block.size(), size - written));
        }
    }
    TestBackend backend;
    TestBackend::Options options;
    options.extra = QStringList{QStringLiteral("--files-dir"), files.path()};
    if (!backend.start(options)) {
        std::printf("the backend did not start\n");
        return 1;
    }
    backend.exportClientEnvironment();
    const QUrl url(QStringLiteral("https://%1/download/big.bin").arg(backend.hostWithPort()));
    const QString target = out.filePath(QStringLiteral("big.bin"));

    QList<qint64> baseline, four, one;
    for (int i = 0; i < kRounds; ++i) {
        baseline << curl(program, url, target, backend.caFile());
        four << fetch(url, target, 4, size);
        one << fetch(url, target, 1, size);
    }
    QFile::remove(target);
    if (baseline.contains(-1) || four.contains(-1) || one.contains(-1)) {
        std::printf("a download failed\n");
        return 1;
    }
    const double ratio = double(median(four)) / double(median(baseline));
    std::printf("%lld MB: curl %lld ms, 4 parts %lld ms (ratio %.2f, goal <= %.1f), 1 part %lld "
                "ms (ratio %.2f)\n",
                megabytes, median(baseline), median(four), ratio, kGoal, median(one),
                double(median(one)) / double(median(baseline)));
    return ratio <= kGoal ? 0 : 2;
}
