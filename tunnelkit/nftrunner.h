#pragma once

#include "environment.h"

#include <QString>

namespace tunnelkit {

// The one place that runs nft: `nft -f -` with a script on standard input. Runs on the
// calling thread and waits for nft (at most 30 s).
class NftRunner
{
public:
    explicit NftRunner(const QString &nftProgram)
        : m_nft(nftProgram)
    { }
    bool run(const QString &script, QString *error) const;

private:
    QString m_nft;
};

} // namespace tunnelkit
