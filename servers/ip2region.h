#pragma once

#include <QString>
#include <QtGlobal>

#include <cstdio>
#include <memory>

// Reader of the geo-IP database "ip.db": IPv4 ranges mapped to region texts ("|"-separated,
// country first). The file is untrusted: every pointer and length read from it is checked
// against the file size before it is followed, so a damaged file only ever gives "not found".
// A handle is not thread-safe; use one per thread.

constexpr int kIpRegionTextSize = 256;

struct IpRegionResult
{
    quint32 cityId = 0;
    char region[kIpRegionTextSize] = {}; // zero-terminated UTF-8
};

struct IpRegionHandle
{
    IpRegionHandle() = default;
    IpRegionHandle(const IpRegionHandle &) = delete;
    IpRegionHandle &operator=(const IpRegionHandle &) = delete;
    ~IpRegionHandle();

    std::unique_ptr<quint32[]> headerSip; // header start addresses
    std::unique_ptr<quint32[]> headerPtr; // header index pointers
    quint32 headerLength = 0; // loaded by the first header-index search

    std::FILE *dbFile = nullptr;
    quint64 dbSize = 0; // size when opened; the bound for every pointer read from the file

    std::unique_ptr<uchar[]> dbBinStr; // whole file, loaded by the first whole-file search
    quint64 dbBinSize = 0;

    quint32 firstIndexPtr = 0;
    quint32 lastIndexPtr = 0;
    quint32 totalBlocks = 0;
};

// Opens the database read-only; false (with nothing left allocated) when it cannot.
bool ip2region_create(IpRegionHandle &handle, const QString &path);
// Releases everything the handle holds; safe to call twice.
bool ip2region_destroy(IpRegionHandle &handle);

// Dotted quad to number, first part in the top byte; spaces are ignored, a part of more
// than three characters gives 0.
quint32 ip2long(const QString &text);

// The three searches give the same answers on a sound file. File index: reads about
// log2(blocks) index blocks per lookup. Header index: keeps the header tables and reads one
// index range. Whole file: reads the file into memory once.
bool ip2region_binary_search(IpRegionHandle &handle, quint32 ip, IpRegionResult &result);
bool ip2region_btree_search(IpRegionHandle &handle, quint32 ip, IpRegionResult &result);
bool ip2region_memory_search(IpRegionHandle &handle, quint32 ip, IpRegionResult &result);

bool ip2region_binary_search_string(IpRegionHandle &handle, const QString &ip,
                                    IpRegionResult &result);
bool ip2region_btree_search_string(IpRegionHandle &handle, const QString &ip,
                                   IpRegionResult &result);
bool ip2region_memory_search_string(IpRegionHandle &handle, const QString &ip,
                                    IpRegionResult &result);
