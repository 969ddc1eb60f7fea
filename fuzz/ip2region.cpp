// The geo-IP reader over a database made of the input bytes. On a sound file the three
// searches give, for the probed addresses, the record a plain scan of the index finds; on a
// damaged one they may miss but never read outside the file.
// With --write-seeds DIR (before any libFuzzer flag) it writes sound seed databases.
#include "ip2region.h"
#include "fuzzsupport.h"
#include "ipdbwriter.h"

#include <QDir>

#include <cstring>
#include <vector>

namespace {

quint32 word(const QByteArray &db, quint64 offset)
{
    return quint32(uchar(db[int(offset)])) | quint32(uchar(db[int(offset + 1)])) << 8
        | quint32(uchar(db[int(offset + 2)])) << 16 | quint32(uchar(db[int(offset + 3)])) << 24;
}

struct Block
{
    quint32 start, end, dataPtr;
};

// The index blocks of a sound file, in order: head, index and header table agree with each
// other as the writer lays them out. Empty when anything disagrees.
std::vector<Block> soundIndex(const QByteArray &db)
{
    const quint64 size = quint64(db.size());
    if (size < 8 + 8192)
        return {};
    const quint32 first = word(db, 0);
    const quint32 last = word(db, 4);
    if (first < 8 + 8192 || last < first || (last - first) % 12 != 0 || last + 12ull > size)
        return {};
    std::vector<Block> blocks;
    for (quint64 at = first; at <= last; at += 12) {
        blocks.push_back({word(db, at), word(db, at + 4), word(db, at + 8)});
        if (blocks.back().start > blocks.back().end
            || (blocks.size() > 1 && blocks[blocks.size() - 2].end >= blocks.back().start))
            return {};
    }
    quint32 previous = 0;
    int entries = 0;
    for (; entries < 1024 && word(db, 8 + 8 * entries + 4) != 0; ++entries) {
        const quint32 sip = word(db, 8 + 8 * entries);
        const quint32 ptr = word(db, 8 + 8 * entries + 4);
        if (ptr < first || ptr > last || (ptr - first) % 12 != 0 || (entries > 0 && ptr <= previous)
            || (entries == 0 && ptr != first) || blocks[(ptr - first) / 12].start != sip)
            return {};
        previous = ptr;
    }
    return entries > 0 && previous == last ? blocks : std::vector<Block>();
}

bool expected(const QByteArray &db, const std::vector<Block> &blocks, quint32 ip,
              IpRegionResult &result)
{
    for (const Block &b : blocks) {
        if (ip < b.start || ip > b.end)
            continue;
        const quint64 offset = b.dataPtr & 0xFFFFFF;
        const quint32 length = b.dataPtr >> 24;
        if (b.dataPtr == 0 || length < 4 || offset + length > quint64(db.size()))
            return false;
        result.cityId = word(db, offset);
        std::memcpy(result.region, db.constData() + offset + 4, length - 4);
        return true;
    }
    return false;
}

void writeSeeds(const QString &folder)
{
    using IpDb::Range;
    const QVector<QVector<Range>> lists = {
        {{16777216, 16777471, 7, "Australia|0|0|0|0"}},
        {{0, 255, 1, "Reserved|0|0|0|0"},
         {16777216, 16777471, 7, "Australia|0|Queensland|Brisbane|0"},
         {16777472, 16778239, 9, "China|0|Fujian|Fuzhou|0", false},
         {3758096384u, 4294967295u, 0, "0|0|0|0|0"}},
        {{10, 20, 1, "A"}, {30, 40, 2, "B"}, {41, 41, 3, "C"}, {50, 90, 4, "D"}, {91, 99, 5, "E"}},
    };
    for (int i = 0; i < lists.size(); ++i)
        IpDb::write(QDir(folder).filePath(QStringLiteral("seed%1.db").arg(i)),
                    IpDb::build(lists[i], i + 1).bytes);
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv)
{
    for (int i = 1; i + 1 < *argc; ++i) {
        if (std::strcmp((*argv)[i], "--write-seeds") == 0) {
            writeSeeds(QString::fromLocal8Bit((*argv)[i + 1]));
            std::exit(0);
        }
    }
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray db = fuzz::bytes(data, size);
    const QString path = fuzz::scratchFile("ip.db");
    FUZZ_CHECK(IpDb::write(path, db));
    const std::vector<Block> blocks = soundIndex(db);
    std::vector<quint32> probes = {0, 0xFFFFFFFFu, size >= 4 ? word(db, size - 4) : 0};
    for (size_t i = 0; i < blocks.size() && i < 64; ++i) {
        for (quint32 ip : {blocks[i].start, blocks[i].end})
            probes.insert(probes.end(), {ip - 1, ip, ip + 1});
    }
    IpRegionHandle handle;
    FUZZ_CHECK(ip2region_create(handle, path));
    QFile::remove(path); // the handle keeps the file open
    for (quint32 ip : probes) {
        IpRegionResult byFile, byHeader, inMemory, want;
        const bool found[] = {ip2region_binary_search(handle, ip, byFile),
                              ip2region_btree_search(handle, ip, byHeader),
                              ip2region_memory_search(handle, ip, inMemory)};
        if (blocks.empty())
            continue;
        const bool exists = expected(db, blocks, ip, want);
        for (int k = 0; k < 3; ++k) {
            const IpRegionResult &got = k == 0 ? byFile : k == 1 ? byHeader : inMemory;
            FUZZ_CHECK(found[k] == exists);
            FUZZ_CHECK(std::memcmp(&got, &want, sizeof want) == 0);
        }
    }
    return 0;
}
