#pragma once

#include "environment.h"

#include <QString>

namespace tunnelkit {

// The one place that runs nft: `nft -f -` with a script on standard input, directly or
// through pkexec. Runs on the calling thread and waits for nft, at most timeoutMs.
class NftRunner
{
public:
    NftRunner(const QString &nftProgram, const ElevationChoice &elevation)
        : m_nft(nftProgram)
        , m_elevation(elevation)
    { }
    bool run(const QString &script, QString *error) const;

private:
    QString m_nft;
    ElevationChoice m_elevation;
};

} // namespace tunnelkit
