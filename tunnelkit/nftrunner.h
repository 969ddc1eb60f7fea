#pragma once

#include <QString>

struct nft_ctx;

namespace tunnelkit {

// The one place that applies nft scripts. By default through the nftables library, in this
// process: no program start on the way to CONNECTED. With a program path (tests give a
// recording fake) it runs `PROGRAM -f -` with the script on standard input and waits for it
// (at most 30 s). Not thread-safe; the engine uses it on its own thread only.
class NftRunner
{
public:
    explicit NftRunner(const QString &program = QString());
    ~NftRunner();
    bool run(const QString &script, QString *error);

    NftRunner(const NftRunner &) = delete;
    NftRunner &operator=(const NftRunner &) = delete;

private:
    bool runProgram(const QString &script, QString *error) const;

    QString m_program;
    nft_ctx *m_context = nullptr;
};

} // namespace tunnelkit
