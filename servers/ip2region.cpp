#include "ip2region.h"

#include <QFile>

#include <cstdlib>
#include <cstring>
#include <new>

namespace {

constexpr quint64 kHeadSize = 8; // first and last index pointer
constexpr quint64 kHeaderIndexOffset = 8;
constexpr quint64 kHeaderIndexSize = 8192;
constexpr quint32 kHeaderMaxEntries = kHeaderIndexSize / 8;
constexpr quint32 kHeaderTableSlots = 2048;
constexpr quint64 kIndexBlockSize = 12;
constexpr quint32 kDataOffsetMask = 0x00FFFFFF;
constexpr quint64 kMaxUsefulSize = quint64(0xFFFFFFFFu) + kIndexBlockSize;

quint32 getUnsignedInt(const uchar *buffer, quint64 offset)
{
    const uchar *p = buffer + offset;
    return quint32(p[0]) | (quint32(p[1]) << 8) | (quint32(p[2]) << 16) | (quint32(p[3]) << 24);
}

bool fitsInFile(quint64 offset, quint64 length, quint64 size)
{
    return offset <= size && length <= size - offset;
}

bool readFile(IpRegionHandle &handle, quint64 offset, uchar *buffer, quint64 length)
{
    if (!handle.dbFile || !fitsInFile(offset, length, handle.dbSize))
        return false;
    if (std::fseek(handle.dbFile, long(offset), SEEK_SET) != 0)
        return false;
    return std::fread(buffer, 1, length, handle.dbFile) == length;
}

// The index must lie inside the file and run forwards; the block count follows from it, so a
// damaged head can never make a search read or allocate past the end.
bool loadIndexBounds(IpRegionHandle &handle, const uchar *head, quint64 size)
{
    const quint32 first = getUnsignedInt(head, 0);
    const quint32 last = getUnsignedInt(head, 4);
    if (first < kHeadSize || first > last || !fitsInFile(last, kIndexBlockSize, size))
        return false;
    handle.firstIndexPtr = first;
    handle.lastIndexPtr = last;
    handle.totalBlocks = (last - first) / kIndexBlockSize + 1;
    return true;
}

struct NoPrefetch
{
    void operator()(quint64) const { }
};

// Binary search over `blocks` index blocks starting at `base`; `read` fetches one block,
// `prefetch` may announce the offsets the next step can need.
template<typename ReadBlock, typename Prefetch = NoPrefetch>
bool findDataPtr(ReadBlock &&read, quint64 base, quint32 blocks, quint32 ip, quint32 &dataPtr,
                 Prefetch &&prefetch = Prefetch())
{
    qint64 l = 0;
    qint64 h = qint64(blocks) - 1;
    uchar block[kIndexBlockSize];
    while (l <= h) {
        const qint64 m = (l + h) / 2;
        prefetch(base + quint64((l + m - 1) / 2) * kIndexBlockSize);
        prefetch(base + quint64((m + 1 + h) / 2) * kIndexBlockSize);
        if (!read(base + quint64(m) * kIndexBlockSize, block))
            return false;
        if (ip < getUnsignedInt(block, 0)) {
            h = m - 1;
        } else if (ip <= getUnsignedInt(block, 4)) {
            dataPtr = getUnsignedInt(block, 8);
            return true;
        } else {
            l = m + 1;
        }
    }
    return false;
}

// Checks a data pointer against the file; on success gives the record's offset and length.
bool dataRecord(quint32 dataPtr, quint64 size, quint64 &offset, quint32 &length)
{
    if (dataPtr == 0)
        return false;
    offset = dataPtr & kDataOffsetMask;
    length = dataPtr >> 24;
    return length >= 4 && fitsInFile(offset, length, size);
}

void fillResult(const uchar *record, quint32 length, IpRegionResult &result)
{
    // length < 256, so the text and its terminator always fit.
    result.cityId = getUnsignedInt(record, 0);
    std::memcpy(result.region, record + 4, length - 4);
    result.region[length - 4] = '\0';
}

bool readRecordFromFile(IpRegionHandle &handle, quint32 dataPtr, IpRegionResult &result)
{
    quint64 offset = 0;
    quint32 length = 0;
    if (!dataRecord(dataPtr, handle.dbSize, offset, length))
        return false;
    uchar record[kIpRegionTextSize];
    if (!readFile(handle, offset, record, length))
        return false;
    fillResult(record, length, result);
    return true;
}

bool loadHeaderIndex(IpRegionHandle &handle)
{
    std::unique_ptr<uchar[]> buffer(new uchar[kHeaderIndexSize]);
    if (!readFile(handle, kHeaderIndexOffset, buffer.get(), kHeaderIndexSize))
        return false;
    quint32 count = 0;
    for (quint32 i = 0; i < kHeaderMaxEntries; ++i) {
        const quint32 ptr = getUnsignedInt(buffer.get(), quint64(i) * 8 + 4);
        if (ptr == 0)
            break;
        handle.headerSip[i] = getUnsignedInt(buffer.get(), quint64(i) * 8);
        handle.headerPtr[i] = ptr;
        ++count;
    }
    handle.headerLength = count;
    return count > 0;
}

// Picks the run of index blocks [start, end] that must hold ip if any block does.
bool headerRange(const IpRegionHandle &handle, quint32 ip, quint32 &start, quint32 &end)
{
    const qint64 n = handle.headerLength;
    const quint32 *sip = handle.headerSip.get();
    const quint32 *ptr = handle.headerPtr.get();
    // With a single entry there is no neighbour; the range is that one block.
    const auto next = [n](qint64 m) {
        return m + 1 < n ? m + 1 : m;
    };
    const auto prev = [](qint64 m) {
        return m > 0 ? m - 1 : m;
    };
    qint64 l = 0;
    qint64 h = n;
    while (l <= h) {
        const qint64 m = (l + h) / 2;
        if (m >= n)
            return false;
        if (ip == sip[m]) {
            start = m > 0 ? ptr[m - 1] : ptr[m];
            end = m > 0 ? ptr[m] : ptr[next(m)];
            return true;
        }
        if (ip < sip[m]) {
            if (m == 0) {
                start = ptr[0];
                end = ptr[next(0)];
                return true;
            }
            if (ip > sip[m - 1]) {
                start = ptr[m - 1];
                end = ptr[m];
                return true;
            }
            h = m - 1;
        } else {
            if (m == n - 1) {
                start = ptr[prev(m)];
                end = ptr[m];
                return true;
            }
            if (ip <= sip[m + 1]) {
                start = ptr[m];
                end = ptr[m + 1];
                return true;
            }
            l = m + 1;
        }
    }
    return false;
}

bool ensureIndexBounds(IpRegionHandle &handle)
{
    if (handle.totalBlocks != 0)
        return true;
    uchar head[kHeadSize];
    return readFile(handle, 0, head, kHeadSize) && loadIndexBounds(handle, head, handle.dbSize);
}

// A header range must name whole index blocks, in order, inside the index.
bool rangeInIndex(const IpRegionHandle &handle, quint32 start, quint32 end)
{
    return start >= handle.firstIndexPtr && start <= end && end <= handle.lastIndexPtr
        && (start - handle.firstIndexPtr) % kIndexBlockSize == 0
        && (end - handle.firstIndexPtr) % kIndexBlockSize == 0;
}

} // namespace

IpRegionHandle::~IpRegionHandle()
{
    ip2region_destroy(*this);
}

bool ip2region_create(IpRegionHandle &handle, const QString &path)
{
    ip2region_destroy(handle);
    handle.headerSip.reset(new quint32[kHeaderTableSlots]());
    handle.headerPtr.reset(new quint32[kHeaderTableSlots]());
    handle.dbFile = std::fopen(QFile::encodeName(path).constData(), "rb");
    bool ok = handle.dbFile != nullptr;
    // Lookups read a dozen bytes at scattered offsets; a read-ahead buffer only costs.
    if (ok)
        std::setvbuf(handle.dbFile, nullptr, _IONBF, 0);
    if (ok && std::fseek(handle.dbFile, 0, SEEK_END) == 0) {
        const long size = std::ftell(handle.dbFile);
        ok = size >= 0;
        handle.dbSize = ok ? quint64(size) : 0;
    } else {
        ok = false;
    }
    if (!ok) {
        ip2region_destroy(handle);
        return false;
    }
    return true;
}

bool ip2region_destroy(IpRegionHandle &handle)
{
    handle.headerSip.reset();
    handle.headerPtr.reset();
    handle.headerLength = 0;
    if (handle.dbFile) {
        std::fclose(handle.dbFile);
        handle.dbFile = nullptr;
    }
    handle.dbSize = 0;
    handle.dbBinStr.reset();
    handle.dbBinSize = 0;
    handle.firstIndexPtr = 0;
    handle.lastIndexPtr = 0;
    handle.totalBlocks = 0;
    return true;
}

quint32 ip2long(const QString &text)
{
    quint32 value = 0;
    int shift = 24;
    int taken = 0;
    QByteArray part;
    for (const QChar c : text) {
        if (c == QLatin1Char(' '))
            continue;
        if (c != QLatin1Char('.')) {
            if (part.size() > 3)
                return 0; // already too long; no need to keep collecting
            part.append(c.toLatin1());
            continue;
        }
        if (part.size() > 3)
            return 0;
        if (taken == 4)
            break;
        // Unsigned throughout: a part such as "999" or "-1" wraps instead of overflowing.
        value |= quint32(std::atoi(part.constData())) << shift;
        shift = shift >= 8 ? shift - 8 : 0;
        ++taken;
        part.clear();
    }
    if (part.size() > 3)
        return 0;
    return value | quint32(std::atoi(part.constData()));
}

bool ip2region_binary_search(IpRegionHandle &handle, quint32 ip, IpRegionResult &result)
{
    if (!ensureIndexBounds(handle))
        return false;
    const auto read = [&handle](quint64 offset, uchar *block) {
        return readFile(handle, offset, block, kIndexBlockSize);
    };
    quint32 dataPtr = 0;
    if (!findDataPtr(read, handle.firstIndexPtr, handle.totalBlocks, ip, dataPtr))
        return false;
    return readRecordFromFile(handle, dataPtr, result);
}

bool ip2region_btree_search(IpRegionHandle &handle, quint32 ip, IpRegionResult &result)
{
    if (!handle.headerSip || !handle.headerPtr)
        return false;
    if (handle.headerLength == 0 && !loadHeaderIndex(handle))
        return false;
    // The index bounds (8 bytes, read once) tell which header pointers can be followed.
    if (!ensureIndexBounds(handle))
        return false;
    quint32 start = 0;
    quint32 end = 0;
    if (!headerRange(handle, ip, start, end) || !rangeInIndex(handle, start, end))
        return false;
    const quint64 length = quint64(end - start) + kIndexBlockSize;
    std::unique_ptr<uchar[]> range(new (std::nothrow) uchar[length]);
    if (!range || !readFile(handle, start, range.get(), length))
        return false;
    const auto read = [&range](quint64 offset, uchar *block) {
        std::memcpy(block, range.get() + offset, kIndexBlockSize);
        return true;
    };
    quint32 dataPtr = 0;
    if (!findDataPtr(read, 0, (end - start) / kIndexBlockSize + 1, ip, dataPtr))
        return false;
    return readRecordFromFile(handle, dataPtr, result);
}

bool ip2region_memory_search(IpRegionHandle &handle, quint32 ip, IpRegionResult &result)
{
    if (!handle.dbBinStr) {
        // Nothing past 4 GiB can be addressed by the file's 32-bit pointers.
        if (!handle.dbFile || handle.dbSize < kHeadSize || handle.dbSize > kMaxUsefulSize)
            return false;
        std::unique_ptr<uchar[]> whole(new (std::nothrow) uchar[handle.dbSize]);
        if (!whole || !readFile(handle, 0, whole.get(), handle.dbSize)
            || !loadIndexBounds(handle, whole.get(), handle.dbSize))
            return false;
        handle.dbBinStr = std::move(whole);
        handle.dbBinSize = handle.dbSize;
    }
    const uchar *db = handle.dbBinStr.get();
    const auto read = [db](quint64 offset, uchar *block) {
        std::memcpy(block, db + offset, kIndexBlockSize);
        return true;
    };
    // Random lookups miss the cache at almost every step; fetching both possible next
    // blocks while this one is compared hides much of that.
    const auto prefetch = [db](quint64 offset) {
        __builtin_prefetch(db + offset);
    };
    quint32 dataPtr = 0;
    if (!findDataPtr(read, handle.firstIndexPtr, handle.totalBlocks, ip, dataPtr, prefetch))
        return false;
    quint64 offset = 0;
    quint32 length = 0;
    if (!dataRecord(dataPtr, handle.dbBinSize, offset, length))
        return false;
    fillResult(db + offset, length, result);
    return true;
}

bool ip2region_binary_search_string(IpRegionHandle &handle, const QString &ip,
                                    IpRegionResult &result)
{
    return ip2region_binary_search(handle, ip2long(ip), result);
}

bool ip2region_btree_search_string(IpRegionHandle &handle, const QString &ip,
                                   IpRegionResult &result)
{
    return ip2region_btree_search(handle, ip2long(ip), result);
}

bool ip2region_memory_search_string(IpRegionHandle &handle, const QString &ip,
                                    IpRegionResult &result)
{
    return ip2region_memory_search(handle, ip2long(ip), result);
}
