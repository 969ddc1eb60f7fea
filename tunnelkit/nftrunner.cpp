#include "nftrunner.h"

#include <QProcess>

namespace tunnelkit {

bool NftRunner::run(const QString &script, QString *error) const
{
    const QString nft = resolveProgram(m_nft);
    if (nft.isEmpty()) {
        *error = QStringLiteral("nft (%1) is not there").arg(m_nft);
        return false;
    }
    const int timeoutMs = 30000;

    QProcess process;
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(nft, {QStringLiteral("-f"), QStringLiteral("-")});
    if (!process.waitForStarted(10000)) {
        *error = QStringLiteral("cannot start %1: %2").arg(nft, process.errorString());
        return false;
    }
    process.write(script.toUtf8());
    process.closeWriteChannel();
    if (!process.waitForFinished(timeoutMs)) {
        process.kill();
        process.waitForFinished(3000);
        *error = QStringLiteral("nft did not finish within %1 s").arg(timeoutMs / 1000);
        return false;
    }
    const QString output = QString::fromLocal8Bit(process.readAll()).trimmed();
    if (process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0) {
        const QString why = QStringLiteral("nft failed (exit code %1)").arg(process.exitCode());
        *error = output.isEmpty() ? why : why + QStringLiteral(": ") + output.left(2000);
        return false;
    }
    return true;
}

} // namespace tunnelkit
