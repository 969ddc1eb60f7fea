#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>
#include <QVector>

// Writes small geo-IP databases in the "ip.db" layout, so tests know every range they hold.
namespace IpDb {

struct Range
{
    quint32 start = 0;
    quint32 end = 0;
    quint32 cityId = 0;
    QByteArray region; // UTF-8, at most 251 bytes
    bool hasData = true; // false: data pointer 0
};

struct Layout
{
    QByteArray bytes;
    quint32 firstIndexPtr = 0;
    quint32 lastIndexPtr = 0;
    QVector<quint32> headerSip;
    QVector<quint32> headerPtr;
};

inline void putUInt(QByteArray &bytes, int offset, quint32 value)
{
    for (int i = 0; i < 4; ++i)
        bytes[offset + i] = char((value >> (8 * i)) & 0xFF);
}

// Ranges must be sorted and disjoint. A header entry is written for every
// `blocksPerHeaderEntry`-th index block and for the last one (as the format expects).
inline Layout build(const QVector<Range> &ranges, int blocksPerHeaderEntry)
{
    Layout layout;
    QByteArray &db = layout.bytes;
    db = QByteArray(8 + 8192, '\0');
    QVector<quint32> dataPtr; // per range, 0 when it has no data
    for (const Range &r : ranges) {
        if (!r.hasData) {
            dataPtr.append(0);
            continue;
        }
        dataPtr.append((quint32(4 + r.region.size()) << 24) | quint32(db.size()));
        QByteArray record(4, '\0');
        putUInt(record, 0, r.cityId);
        db += record + r.region;
    }
    layout.firstIndexPtr = quint32(db.size());
    for (int i = 0; i < ranges.size(); ++i) {
        QByteArray block(12, '\0');
        putUInt(block, 0, ranges[i].start);
        putUInt(block, 4, ranges[i].end);
        putUInt(block, 8, dataPtr[i]);
        const bool last = i == ranges.size() - 1;
        if ((i % blocksPerHeaderEntry == 0 || last) && layout.headerSip.size() < 1024) {
            layout.headerSip.append(ranges[i].start);
            layout.headerPtr.append(quint32(db.size()));
        }
        db += block;
    }
    layout.lastIndexPtr = quint32(db.size() - 12);
    putUInt(db, 0, layout.firstIndexPtr);
    putUInt(db, 4, layout.lastIndexPtr);
    for (int i = 0; i < layout.headerSip.size(); ++i) {
        putUInt(db, 8 + 8 * i, layout.headerSip[i]);
        putUInt(db, 8 + 8 * i + 4, layout.headerPtr[i]);
    }
    return layout;
}

inline bool write(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate)
        && file.write(bytes) == bytes.size() && file.flush();
}

} // namespace IpDb
