#pragma once

#include <QByteArray>
#include <QCborMap>
#include <QString>

// The wire format between the client (vpnclient) and quellnet-helper over a unix socket.
// A frame is an 8-byte header — 'Q' 'N', the version, the message type, the body length as a
// 32-bit big-endian number — followed by the body: one CBOR map. Sizes are bounded on both
// sides; anything malformed ends the connection (the helper answers it with an Error first).
namespace tunnelkit::wire {

constexpr quint8 kVersion = 1;
constexpr int kHeaderSize = 8;
// A configuration is at most 256 KiB; the rest of a message is small.
constexpr int kMaxBody = 272 * 1024;
// A repair report: a handful of short sentences.
constexpr int kMaxReport = 4096;

enum class Type : quint8 {
    // client to helper
    Hello = 1, // answered with State
    Connect = 2, // seq, server, config, policy fields
    Disconnect = 3, // seq, policy fields
    SetPolicy = 4, // seq, policy fields
    Query = 5, // answered with State
    Repair = 10, // empty body; answered with RepairDone
    // helper to client
    State = 20, // running, name, info: where the session stands now
    Event = 21, // name, info, running
    Log = 22, // line
    Traffic = 23, // in, out (MB/s)
    Done = 24, // seq, result, running: the command seq has been carried out
    Error = 25, // text; the helper closes the connection after it
    RepairDone = 26, // ok, report: one sentence per line
};

bool isKnownType(quint8 type);

struct Message
{
    Type type = Type::Hello;
    QCborMap body;
};

QByteArray encode(const Message &message);

// Splits a byte stream into messages. After an error it stays in error: the stream cannot be
// resynchronised, the connection must end.
class FrameDecoder
{
public:
    enum Result { Ready, NeedMore, Failed };
    void feed(const QByteArray &bytes);
    Result next(Message *message);
    QString error() const { return m_error; }

private:
    Result fail(const QString &why);

    QByteArray m_buffer;
    QString m_error;
};

// Field access with the type checked: a missing or mistyped field gives the fallback.
QString textField(const QCborMap &body, const char *key, qsizetype maxBytes = 1024);
QByteArray bytesField(const QCborMap &body, const char *key, qsizetype maxBytes);
qint64 intField(const QCborMap &body, const char *key, qint64 fallback = -1);
bool boolField(const QCborMap &body, const char *key, bool fallback = false);
double doubleField(const QCborMap &body, const char *key);

} // namespace tunnelkit::wire
