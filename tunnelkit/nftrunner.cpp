#include "nftrunner.h"

#include <QProcess>

namespace tunnelkit {

bool NftRunner::run(const QString &script, QString *error) const
{
    if (m_elevation.how == Elevation::Unavailable) {
        *error = m_elevation.problem;
        return false;
    }
    const QString nft = resolveProgram(m_nft);
    if (nft.isEmpty()) {
        *error = QStringLiteral("nft (%1) is not there").arg(m_nft);
        return false;
    }
    const Command command
        = elevatedCommand(m_elevation, nft, {QStringLiteral("-f"), QStringLiteral("-")});
    // A password prompt may stand between pkexec and nft.
    const int timeoutMs = m_elevation.how == Elevation::Pkexec ? 180000 : 30000;

    QProcess process;
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(command.program, command.arguments);
    if (!process.waitForStarted(10000)) {
        *error = QStringLiteral("cannot start %1: %2").arg(command.program, process.errorString());
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
        QString why = QStringLiteral("nft failed (exit code %1)").arg(process.exitCode());
        if (m_elevation.how == Elevation::Pkexec
            && (process.exitCode() == 126 || process.exitCode() == 127))
            why = QStringLiteral("pkexec refused or the authorisation was dismissed "
                                 "(exit code %1)")
                      .arg(process.exitCode());
        *error = output.isEmpty() ? why : why + QStringLiteral(": ") + output.left(2000);
        return false;
    }
    return true;
}

} // namespace tunnelkit
