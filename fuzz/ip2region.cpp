// The geo-IP reader over a database made of the input bytes. Whatever the bytes, a search finds
// only the record of an index block that holds the address (none when the head puts the index
// outside the file or backwards). Over ordered, disjoint blocks the file and memory searches
// give what a plain scan finds, and so does the header search unless the header table
// disagrees with the index, when it may find nothing instead.
// With --write-seeds DIR (before any libFuzzer flag) it writes seed databases.
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

// The index blocks as the reader takes them from the head; none when it must refuse the head.
std::vector<Block> readIndex(const QByteArray &db)
{
    std::vector<Block> blocks;
    const quint32 first = db.size() >= 8 ? word(db, 0) : 0;
    const quint32 last = db.size() >= 8 ? word(db, 4) : 0;
    if (first < 8 || last < first || last + 12ull > quint64(db.size()))
        return blocks;
    for (quint64 at = first; at <= last; at += 12)
        blocks.push_back({word(db, at), word(db, at + 4), word(db, at + 8)});
    return blocks;
}

bool ordered(const std::vector<Block> &blocks)
{
    for (size_t i = 0; i < blocks.size(); ++i) {
        if (blocks[i].start > blocks[i].end || (i > 0 && blocks[i - 1].end >= blocks[i].start))
            return false;
    }
    return true;
}

// The header table as the writer lays it out: entries from the first block to the last, each
// naming a block by its start address.
bool headerAgrees(const QByteArray &db, const std::vector<Block> &blocks)
{
    if (db.size() < 8 + 8192 || blocks.empty())
        return false;
    const quint32 first = word(db, 0);
    quint32 previous = 0;
    int entries = 0;
    for (; entries < 1024 && word(db, 8 + 8 * entries + 4) != 0; ++entries) {
        const quint32 sip = word(db, 8 + 8 * entries);
        const quint32 ptr = word(db, 8 + 8 * entries + 4);
        const quint64 block = (quint64(ptr) - first) / 12;
        if (ptr < first || (ptr - first) % 12 != 0 || block >= blocks.size()
            || (entries > 0 && ptr <= previous) || (entries == 0 && ptr != first)
            || blocks[block].start != sip)
            return false;
        previous = ptr;
    }
    return entries > 0 && previous == word(db, 4);
}

// The record a block names, when its data pointer lies inside the file.
bool record(const QByteArray &db, const Block &b, IpRegionResult &result)
{
    const quint64 offset = b.dataPtr & 0xFFFFFF;
    const quint32 length = b.dataPtr >> 24;
    if (b.dataPtr == 0 || length < 4 || offset + length > quint64(db.size()))
        return false;
    result.cityId = word(db, offset);
    std::memcpy(result.region, db.constData() + offset + 4, length - 4);
    return true;
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
    const auto write = [&folder](const QString &name, const QByteArray &bytes) {
        IpDb::write(QDir(folder).filePath(name), bytes);
    };
    for (int i = 0; i < lists.size(); ++i)
        write(QStringLiteral("seed%1.db").arg(i), IpDb::build(lists[i], i + 1).bytes);
    IpDb::Layout damaged = IpDb::build(lists[2], 2);
    IpDb::putUInt(damaged.bytes, 12 + 8, damaged.headerPtr[1] + 5); // between two blocks
    write(QStringLiteral("damaged-header.db"), damaged.bytes);
    IpDb::putUInt(damaged.bytes, 4, quint32(damaged.bytes.size()) - 11); // last block cut short
    write(QStringLiteral("damaged-head.db"), damaged.bytes);
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
    const std::vector<Block> blocks = readIndex(db);
    const bool sorted = ordered(blocks);
    const bool headerSound = sorted && headerAgrees(db, blocks);
    std::vector<quint32> probes = {0, 0xFFFFFFFFu, size >= 4 ? word(db, size - 4) : 0};
    for (size_t i = 0; i < blocks.size() && i < 64; ++i) {
        for (quint32 ip : {blocks[i].start, blocks[i].end})
            probes.insert(probes.end(), {ip - 1, ip, ip + 1});
    }
    IpRegionHandle handle;
    FUZZ_CHECK(ip2region_create(handle, path));
    QFile::remove(path); // the handle keeps the file open
    for (quint32 ip : probes) {
        IpRegionResult got[3];
        const bool found[] = {ip2region_binary_search(handle, ip, got[0]),
                              ip2region_btree_search(handle, ip, got[1]),
                              ip2region_memory_search(handle, ip, got[2])};
        // The readable records of the blocks that hold ip: of ordered blocks, one at most.
        std::vector<IpRegionResult> named;
        for (const Block &b : blocks) {
            IpRegionResult r;
            if (ip >= b.start && ip <= b.end && record(db, b, r))
                named.push_back(r);
        }
        for (int k = 0; k < 3; ++k) {
            bool matches = false;
            for (const IpRegionResult &r : named)
                matches = matches || std::memcmp(&got[k], &r, sizeof r) == 0;
            FUZZ_CHECK(!found[k] || matches);
            // Only the header search may miss, and only when its table is off.
            FUZZ_CHECK(found[k] || !sorted || named.empty() || (k == 1 && !headerSound));
        }
    }
    return 0;
}
