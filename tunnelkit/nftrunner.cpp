#include "nftrunner.h"

#include "environment.h"

#include <QProcess>

#include <nftables/libnftables.h>

namespace tunnelkit {

NftRunner::NftRunner(const QString &program)
    : m_program(program)
{ }

NftRunner::~NftRunner()
{
    if (m_context)
        nft_ctx_free(m_context);
}

bool NftRunner::run(const QString &script, QString *error)
{
    if (!m_program.isEmpty())
        return runProgram(script, error);
    if (!m_context) {
        m_context = nft_ctx_new(NFT_CTX_DEFAULT);
        if (!m_context) {
            *error = QStringLiteral("the nftables library cannot be used");
            return false;
        }
        // Errors are read back as text; nothing goes to this process's own stderr.
        nft_ctx_buffer_output(m_context);
        nft_ctx_buffer_error(m_context);
    }
    const QByteArray text = script.toUtf8();
    const int result = nft_run_cmd_from_buffer(m_context, text.constData());
    const QString output = QString::fromLocal8Bit(nft_ctx_get_error_buffer(m_context)).trimmed();
    // Reading the buffers resets them for the next run.
    nft_ctx_get_output_buffer(m_context);
    if (result != 0) {
        *error = output.isEmpty() ? QStringLiteral("nft failed")
                                  : QStringLiteral("nft failed: ") + output.left(2000);
        return false;
    }
    return true;
}

bool NftRunner::runProgram(const QString &script, QString *error) const
{
    const QString nft = resolveProgram(m_program);
    if (nft.isEmpty()) {
        *error = QStringLiteral("nft (%1) is not there").arg(m_program);
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
