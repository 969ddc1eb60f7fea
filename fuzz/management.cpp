// The management stream: lines come out as a plain split makes them however the bytes
// arrive, parsed values survive being written out again (byte counts and log lines follow
// exact rules), and the reply tracker opens no more history blocks than commands asked for,
// of the kinds asked for, in order. A line starting with 0x01 stands for a command sent (its
// second byte picks a one-line reply, state or log history), 0x02 alone for a reset.
#include "management.h"
#include "fuzzsupport.h"

#include <QList>

#include <algorithm>
#include <tuple>

using namespace tunnelkit;

namespace {

constexpr int kMaxLine = 64;

using Split = std::tuple<QList<QByteArray>, int, QByteArray>; // lines, dropped, rest

Split split(const QByteArray &input, int chunk)
{
    LineBuffer buffer(kMaxLine);
    QList<QByteArray> lines;
    QByteArray line;
    for (int i = 0; i < input.size(); i += chunk) {
        buffer.append(input.mid(i, chunk));
        while (buffer.takeLine(&line))
            lines.append(line);
    }
    const int dropped = buffer.takeDropped();
    return {lines, dropped, buffer.takeRest()};
}

// A line ends at LF and loses one CR before it; one longer than the limit (CR included) is
// dropped and counted, and so is an unfinished rest.
Split plainSplit(const QByteArray &input)
{
    const QList<QByteArray> parts = input.split('\n');
    const auto line = [](const QByteArray &p) {
        return p.endsWith('\r') ? p.chopped(1) : p;
    };
    QList<QByteArray> lines;
    int dropped = 0;
    for (int i = 0; i < parts.size(); ++i) {
        if (parts[i].size() > kMaxLine)
            ++dropped;
        else if (i + 1 < parts.size())
            lines.append(line(parts[i]));
    }
    return {lines, dropped, parts.last().size() > kMaxLine ? QByteArray() : line(parts.last())};
}

void checkState(const QByteArray &payload)
{
    StateLine s;
    StateLine t;
    if (!parseState(payload, &s))
        return;
    FUZZ_CHECK(parseState("7," + s.name.toUtf8() + ',' + s.reason.toUtf8() + ','
                              + s.localAddress.toUtf8() + ',' + s.remoteAddress.toUtf8() + ",,,,"
                              + s.localAddress6.toUtf8(),
                          &t));
    FUZZ_CHECK(t.name == s.name && t.reason == s.reason && t.localAddress == s.localAddress
               && t.remoteAddress == s.remoteAddress && t.localAddress6 == s.localAddress6);
    const QString event = eventNameForState(s.name);
    FUZZ_CHECK(event.isEmpty() || event == s.name || event == QLatin1String("CONNECTING"));
    FUZZ_CHECK(!stateInfo(s).isEmpty());
}

// Digits only, at most 20 of them, and no larger than 2^64 - 1 once leading zeros are gone.
bool isCounter(QByteArray field)
{
    if (field.isEmpty() || field.size() > 20
        || !std::all_of(field.begin(), field.end(), [](char c) { return c >= '0' && c <= '9'; }))
        return false;
    while (field.size() > 1 && field[0] == '0')
        field.remove(0, 1);
    return field.size() < 20 || field <= "18446744073709551615";
}

void checkByteCount(const QByteArray &payload, ThroughputMeter *meter)
{
    quint64 in = 7;
    quint64 out = 7;
    const QList<QByteArray> f = payload.split(',');
    const bool wellFormed = f.size() == 2 && isCounter(f[0]) && isCounter(f[1]);
    FUZZ_CHECK(parseByteCount(payload, &in, &out) == wellFormed);
    if (!wellFormed) {
        FUZZ_CHECK(in == 7 && out == 7); // a refused line leaves the counts alone
        return;
    }
    quint64 in2 = 0;
    quint64 out2 = 0;
    FUZZ_CHECK(parseByteCount(QByteArray::number(in) + ',' + QByteArray::number(out), &in2, &out2));
    FUZZ_CHECK(in2 == in && out2 == out);
    float inMb = -1;
    float outMb = -1;
    if (meter->sample(in, out, &inMb, &outMb))
        FUZZ_CHECK(inMb >= 0 && outMb >= 0);
}

// "time,flags,text": the text, after the flags and ": " unless they are none or "I".
void checkLog(const QByteArray &payload)
{
    QString text;
    const QList<QByteArray> f = payload.split(',');
    FUZZ_CHECK(parseLog(payload, &text) == (f.size() >= 3));
    if (f.size() < 3)
        return;
    const QString message = QString::fromUtf8(payload.mid(f[0].size() + f[1].size() + 2));
    FUZZ_CHECK(text
               == (f[1].isEmpty() || f[1] == "I"
                       ? message
                       : QString::fromLatin1(f[1]) + QLatin1String(": ") + message));
    const QString redacted = redactSecrets(text);
    FUZZ_CHECK(redactSecrets(redacted) == redacted);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray input = fuzz::bytes(data, size);
    const Split whole = plainSplit(input);
    FUZZ_CHECK(split(input, qMax(1, input.size())) == whole);
    FUZZ_CHECK(split(input, 1 + int(size % 7)) == whole);

    ReplyTracker tracker;
    ThroughputMeter meter;
    QList<ManagementKind> asked; // history kinds of the commands sent, in order
    int opened = 0; // history blocks seen so far
    bool inBlock = false;
    bool afterSuccess = false; // the line sorted last was a SUCCESS reply
    for (const QByteArray &line : std::get<0>(whole)) {
        if (line.startsWith('\x01')) {
            const int shape = line.size() > 1 ? uchar(line[1]) % 3 : 0;
            if (shape == 0) {
                tracker.expectLine();
                continue;
            }
            asked.append(shape == 1 ? ManagementKind::State : ManagementKind::Log);
            tracker.expectHistory(asked.last());
            continue;
        }
        if (line == "\x02") {
            // Commands sent before a reset are never answered.
            tracker.reset();
            opened = asked.size();
            inBlock = false;
            afterSuccess = false;
            continue;
        }
        QByteArray payload;
        ManagementKind kind = classifyLine(line, &payload);
        if (kind == ManagementKind::Success || kind == ManagementKind::Error
            || kind == ManagementKind::Other) {
            const ManagementKind given = kind;
            kind = tracker.sort(kind, line, &payload);
            const bool history = kind == ManagementKind::State || kind == ManagementKind::Log;
            FUZZ_CHECK(history ? payload == line : kind == given);
            if (history && !inBlock) {
                // A block opens right after a SUCCESS, for the next history command of its
                // kind; the ones asked before it failed.
                FUZZ_CHECK(afterSuccess);
                while (opened < asked.size() && asked[opened] != kind)
                    ++opened;
                FUZZ_CHECK(opened < asked.size());
                ++opened;
            }
            FUZZ_CHECK(!history || asked[opened - 1] == kind);
            inBlock = history || (inBlock && line != "END");
            afterSuccess = kind == ManagementKind::Success;
        }
        if (kind == ManagementKind::State)
            checkState(payload);
        else if (kind == ManagementKind::ByteCount)
            checkByteCount(payload, &meter);
        else if (kind == ManagementKind::Log)
            checkLog(payload);
    }
    return 0;
}
