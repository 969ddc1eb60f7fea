// The management stream: lines come out the same however the bytes arrive, parsed values
// survive being written out again, and the reply tracker opens no more history blocks than
// commands asked for, of the kinds asked for, in order. A line starting with 0x01 stands for
// a command sent (its second byte picks a one-line reply, state or log history), 0x02 alone
// for a reset.
#include "management.h"
#include "fuzzsupport.h"

#include <QList>

using namespace tunnelkit;

namespace {

constexpr int kMaxLine = 64;

QList<QByteArray> lines(const QByteArray &input, int chunk, int *dropped, QByteArray *rest)
{
    LineBuffer buffer(kMaxLine);
    QList<QByteArray> out;
    QByteArray line;
    for (int i = 0; i < input.size(); i += chunk) {
        buffer.append(input.mid(i, chunk));
        while (buffer.takeLine(&line))
            out.append(line);
    }
    *dropped = buffer.takeDropped();
    *rest = buffer.takeRest();
    return out;
}

void checkState(const QByteArray &payload)
{
    StateLine s;
    if (!parseState(payload, &s))
        return;
    const QByteArray again = "7," + s.name.toUtf8() + ',' + s.reason.toUtf8() + ','
        + s.localAddress.toUtf8() + ',' + s.remoteAddress.toUtf8() + ",,,,"
        + s.localAddress6.toUtf8();
    StateLine t;
    FUZZ_CHECK(parseState(again, &t));
    FUZZ_CHECK(t.name == s.name && t.reason == s.reason && t.localAddress == s.localAddress
               && t.remoteAddress == s.remoteAddress && t.localAddress6 == s.localAddress6);
    const QString event = eventNameForState(s.name);
    FUZZ_CHECK(event.isEmpty() || event == s.name || event == QLatin1String("CONNECTING"));
    FUZZ_CHECK(!stateInfo(s).isEmpty());
}

// Digits only, at most 20 of them, and no larger than 2^64 - 1 once leading zeros are gone.
bool isCounter(const QByteArray &field)
{
    if (field.isEmpty() || field.size() > 20)
        return false;
    for (char c : field) {
        if (c < '0' || c > '9')
            return false;
    }
    int zeros = 0;
    while (zeros < field.size() - 1 && field[zeros] == '0')
        ++zeros;
    const QByteArray digits = field.mid(zeros);
    const QByteArray max = "18446744073709551615";
    return digits.size() < max.size() || (digits.size() == max.size() && digits <= max);
}

void checkByteCount(const QByteArray &payload, ThroughputMeter *meter)
{
    quint64 in = 0;
    quint64 out = 0;
    const QList<QByteArray> f = payload.split(',');
    const bool wellFormed = f.size() == 2 && isCounter(f[0]) && isCounter(f[1]);
    FUZZ_CHECK(parseByteCount(payload, &in, &out) == wellFormed);
    if (!wellFormed)
        return;
    quint64 in2 = 0;
    quint64 out2 = 0;
    FUZZ_CHECK(parseByteCount(QByteArray::number(in) + ',' + QByteArray::number(out), &in2, &out2));
    FUZZ_CHECK(in2 == in && out2 == out);
    float inMb = -1;
    float outMb = -1;
    if (meter->sample(in, out, &inMb, &outMb))
        FUZZ_CHECK(inMb >= 0 && outMb >= 0);
}

void checkLog(const QByteArray &payload)
{
    QString text;
    if (!parseLog(payload, &text)) {
        FUZZ_CHECK(payload.count(',') < 2);
        return;
    }
    const int first = payload.indexOf(',');
    const int second = payload.indexOf(',', first + 1);
    const QByteArray flags = payload.mid(first + 1, second - first - 1);
    const QString message = QString::fromUtf8(payload.mid(second + 1));
    QString again;
    FUZZ_CHECK(parseLog("1," + flags + ',' + message.toUtf8(), &again) && again == text);
    FUZZ_CHECK(text.endsWith(message));
    const QString redacted = redactSecrets(text);
    FUZZ_CHECK(redactSecrets(redacted) == redacted);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray input = fuzz::bytes(data, size);
    int dropped = 0;
    QByteArray rest;
    const QList<QByteArray> all = lines(input, qMax(1, input.size()), &dropped, &rest);
    int droppedInPieces = 0;
    QByteArray restInPieces;
    FUZZ_CHECK(lines(input, 1 + int(size % 7), &droppedInPieces, &restInPieces) == all);
    FUZZ_CHECK(droppedInPieces == dropped && restInPieces == rest);

    ReplyTracker tracker;
    ThroughputMeter meter;
    QList<ManagementKind> asked; // history kinds of the commands sent, in order
    int opened = 0; // history blocks seen so far
    bool inBlock = false;
    bool afterSuccess = false; // the line sorted last was a SUCCESS reply
    for (const QByteArray &line : all) {
        FUZZ_CHECK(line.size() <= kMaxLine && !line.contains('\n'));
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
            if (kind == ManagementKind::State || kind == ManagementKind::Log) {
                FUZZ_CHECK(payload == line);
                if (!inBlock) {
                    // A block opens right after a SUCCESS, for a history command asked.
                    FUZZ_CHECK(afterSuccess);
                    FUZZ_CHECK(opened < asked.size());
                    bool found = false;
                    while (!found && opened < asked.size())
                        found = asked[opened++] == kind;
                    FUZZ_CHECK(found);
                    inBlock = true;
                }
                FUZZ_CHECK(asked[opened - 1] == kind);
            } else {
                FUZZ_CHECK(kind == given);
                if (line == "END")
                    inBlock = false;
            }
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
