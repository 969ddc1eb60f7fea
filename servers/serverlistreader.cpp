#include "serverlistreader.h"

#include <QByteArray>
#include <QChar>
#include <QLatin1String>
#include <QtNumeric>

#include <atomic>

namespace {

// Far deeper than a list ever is, far shallower than the stack allows.
constexpr int kMaxDepth = 64;
// Far longer than any real list; longer texts get the document.
constexpr int kMaxLength = 1 << 24;

std::atomic<int> s_fastReads{0};

// Non-characters, and the byte-order mark, which the document drops at the start of a text.
bool isRefused(uint cp)
{
    return (cp >= 0xFDD0 && cp <= 0xFDEF) || (cp & 0xFFFE) == 0xFFFE || cp == 0xFEFF;
}

bool isDigit(ushort c)
{
    return c >= '0' && c <= '9';
}

bool sameText(const ushort *text, int size, QLatin1String word)
{
    if (size != word.size())
        return false;
    for (int i = 0; i < size; ++i) {
        if (text[i] != ushort(uchar(word.at(i).toLatin1())))
            return false;
    }
    return true;
}

// Strict JSON over UTF-16, one pass. Every read is checked against m_end; every nested
// container adds one level, refused beyond kMaxDepth.
class Reader
{
public:
    Reader(const ushort *begin, const ushort *end)
        : m_p(begin)
        , m_end(end)
    { }

    bool read(QVector<RawServerEntry> *out);

private:
    void skipSpace();
    bool take(ushort c);
    bool readEscape(uint *cp);
    bool scanString(const ushort **start, bool *escaped);
    bool decode(const ushort *start, const ushort *stop, QString *out);
    bool readText(QString *out);
    bool readKey(const ushort **key, int *size);
    bool skipValue(int depth);
    bool skipObject(int depth);
    bool skipArray(int depth);
    bool skipNumber();
    bool skipLiteral(QLatin1String word);
    bool readEntry(RawServerEntry *entry, int depth);
    bool readServers(QVector<RawServerEntry> *out, int depth);

    const ushort *m_p;
    const ushort *const m_end;
    QString m_key; // an escaped key, decoded
};

void Reader::skipSpace()
{
    while (m_p < m_end && (*m_p == ' ' || *m_p == '\n' || *m_p == '\r' || *m_p == '\t'))
        ++m_p;
}

bool Reader::take(ushort c)
{
    if (m_p >= m_end || *m_p != c)
        return false;
    ++m_p;
    return true;
}

bool hexValue(const ushort *at, uint *value)
{
    uint v = 0;
    for (int i = 0; i < 4; ++i) {
        const ushort c = at[i];
        uint digit;
        if (c >= '0' && c <= '9')
            digit = c - '0';
        else if (c >= 'a' && c <= 'f')
            digit = c - 'a' + 10;
        else if (c >= 'A' && c <= 'F')
            digit = c - 'A' + 10;
        else
            return false;
        v = v * 16 + digit;
    }
    *value = v;
    return true;
}

// At a backslash. \u escapes must pair their surrogates: the document keeps lone halves
// in ways not worth copying.
bool Reader::readEscape(uint *cp)
{
    if (m_end - m_p < 2)
        return false;
    switch (m_p[1]) {
    case '"':
        *cp = '"';
        break;
    case '\\':
        *cp = '\\';
        break;
    case '/':
        *cp = '/';
        break;
    case 'b':
        *cp = 0x08;
        break;
    case 'f':
        *cp = 0x0c;
        break;
    case 'n':
        *cp = 0x0a;
        break;
    case 'r':
        *cp = 0x0d;
        break;
    case 't':
        *cp = 0x09;
        break;
    case 'u': {
        uint high = 0;
        if (m_end - m_p < 6 || !hexValue(m_p + 2, &high))
            return false;
        m_p += 6;
        if (QChar::isLowSurrogate(high))
            return false;
        if (QChar::isHighSurrogate(high)) {
            uint low = 0;
            if (m_end - m_p < 6 || m_p[0] != '\\' || m_p[1] != 'u' || !hexValue(m_p + 2, &low)
                || !QChar::isLowSurrogate(low))
                return false;
            m_p += 6;
            *cp = QChar::surrogateToUcs4(ushort(high), ushort(low));
        } else {
            *cp = high;
        }
        return !isRefused(*cp);
    }
    default:
        return false;
    }
    m_p += 2;
    return true;
}

// At the opening quote; ends past the closing one. The content is [*start, m_p - 1).
bool Reader::scanString(const ushort **start, bool *escaped)
{
    ++m_p;
    *start = m_p;
    *escaped = false;
    while (m_p < m_end) {
        const ushort c = *m_p;
        if (c == '"') {
            ++m_p;
            return true;
        }
        if (c < 0x20)
            return false;
        if (c == '\\') {
            uint cp = 0;
            if (!readEscape(&cp))
                return false;
            *escaped = true;
            continue;
        }
        if (c >= 0xd800) {
            if (QChar::isHighSurrogate(c)) {
                if (m_end - m_p < 2 || !QChar::isLowSurrogate(m_p[1])
                    || isRefused(QChar::surrogateToUcs4(c, m_p[1])))
                    return false;
                m_p += 2;
                continue;
            }
            if (QChar::isLowSurrogate(c) || isRefused(c))
                return false;
        }
        ++m_p;
    }
    return false;
}

// [start, stop) was accepted by scanString().
bool Reader::decode(const ushort *start, const ushort *stop, QString *out)
{
    const ushort *const resume = m_p;
    QString text;
    text.reserve(int(stop - start));
    m_p = start;
    while (m_p < stop) {
        const ushort *run = m_p;
        while (m_p < stop && *m_p != '\\')
            ++m_p;
        text.append(reinterpret_cast<const QChar *>(run), int(m_p - run));
        if (m_p == stop)
            break;
        uint cp = 0;
        if (!readEscape(&cp))
            return false;
        if (QChar::requiresSurrogates(cp)) {
            text.append(QChar(QChar::highSurrogate(cp)));
            text.append(QChar(QChar::lowSurrogate(cp)));
        } else {
            text.append(QChar(ushort(cp)));
        }
    }
    m_p = resume;
    *out = text;
    return true;
}

bool Reader::readText(QString *out)
{
    const ushort *start = nullptr;
    bool escaped = false;
    if (!scanString(&start, &escaped))
        return false;
    const ushort *const stop = m_p - 1;
    if (escaped)
        return decode(start, stop, out);
    *out = QString(reinterpret_cast<const QChar *>(start), int(stop - start));
    return true;
}

bool Reader::readKey(const ushort **key, int *size)
{
    if (m_p >= m_end || *m_p != '"')
        return false;
    const ushort *start = nullptr;
    bool escaped = false;
    if (!scanString(&start, &escaped))
        return false;
    const ushort *const stop = m_p - 1;
    if (!escaped) {
        *key = start;
        *size = int(stop - start);
        return true;
    }
    if (!decode(start, stop, &m_key))
        return false;
    *key = reinterpret_cast<const ushort *>(m_key.constData());
    *size = m_key.size();
    return true;
}

bool Reader::skipValue(int depth)
{
    if (m_p >= m_end)
        return false;
    switch (*m_p) {
    case '{':
        return skipObject(depth + 1);
    case '[':
        return skipArray(depth + 1);
    case '"': {
        const ushort *start = nullptr;
        bool escaped = false;
        return scanString(&start, &escaped);
    }
    case 't':
        return skipLiteral(QLatin1String("true"));
    case 'f':
        return skipLiteral(QLatin1String("false"));
    case 'n':
        return skipLiteral(QLatin1String("null"));
    default:
        return skipNumber();
    }
}

bool Reader::skipObject(int depth)
{
    if (depth > kMaxDepth)
        return false;
    ++m_p;
    skipSpace();
    if (take('}'))
        return true;
    for (;;) {
        skipSpace();
        if (m_p >= m_end || *m_p != '"')
            return false;
        const ushort *start = nullptr;
        bool escaped = false;
        if (!scanString(&start, &escaped))
            return false;
        skipSpace();
        if (!take(':'))
            return false;
        skipSpace();
        if (!skipValue(depth))
            return false;
        skipSpace();
        if (take('}'))
            return true;
        if (!take(','))
            return false;
    }
}

bool Reader::skipArray(int depth)
{
    if (depth > kMaxDepth)
        return false;
    ++m_p;
    skipSpace();
    if (take(']'))
        return true;
    for (;;) {
        skipSpace();
        if (!skipValue(depth))
            return false;
        skipSpace();
        if (take(']'))
            return true;
        if (!take(','))
            return false;
    }
}

bool Reader::skipNumber()
{
    const ushort *const start = m_p;
    take('-');
    if (m_p >= m_end || !isDigit(*m_p))
        return false;
    if (!take('0')) {
        while (m_p < m_end && isDigit(*m_p))
            ++m_p;
    }
    if (take('.')) {
        if (m_p >= m_end || !isDigit(*m_p))
            return false;
        while (m_p < m_end && isDigit(*m_p))
            ++m_p;
    }
    if (take('e') || take('E')) {
        if (!take('+'))
            take('-');
        if (m_p >= m_end || !isDigit(*m_p))
            return false;
        while (m_p < m_end && isDigit(*m_p))
            ++m_p;
    }
    // The document refuses what QByteArray::toDouble() cannot read, such as 1e400.
    QByteArray token;
    token.reserve(int(m_p - start));
    for (const ushort *c = start; c < m_p; ++c)
        token.append(char(*c));
    bool ok = false;
    const double value = token.toDouble(&ok);
    return ok && qIsFinite(value);
}

bool Reader::skipLiteral(QLatin1String word)
{
    if (m_end - m_p < word.size() || !sameText(m_p, word.size(), word))
        return false;
    m_p += word.size();
    return true;
}

bool Reader::readEntry(RawServerEntry *entry, int depth)
{
    if (depth > kMaxDepth)
        return false;
    ++m_p;
    skipSpace();
    if (take('}'))
        return true;
    unsigned seen = 0;
    for (;;) {
        skipSpace();
        const ushort *key = nullptr;
        int size = 0;
        if (!readKey(&key, &size))
            return false;
        QString *target = nullptr;
        unsigned bit = 0;
        if (sameText(key, size, QLatin1String("Ip"))) {
            target = &entry->ip;
            bit = 1;
        } else if (sameText(key, size, QLatin1String("Name"))) {
            target = &entry->name;
            bit = 2;
        } else if (sameText(key, size, QLatin1String("Country"))) {
            target = &entry->country;
            bit = 4;
        } else if (sameText(key, size, QLatin1String("Ovpn"))) {
            target = &entry->ovpn;
            bit = 8;
        }
        // Which of two equal keys the document keeps is its own business.
        if (seen & bit)
            return false;
        seen |= bit;
        skipSpace();
        if (!take(':'))
            return false;
        skipSpace();
        if (target && m_p < m_end && *m_p == '"') {
            if (!readText(target))
                return false;
        } else if (!skipValue(depth)) {
            return false;
        }
        skipSpace();
        if (take('}'))
            return true;
        if (!take(','))
            return false;
    }
}

bool Reader::readServers(QVector<RawServerEntry> *out, int depth)
{
    if (depth > kMaxDepth)
        return false;
    ++m_p;
    skipSpace();
    if (take(']'))
        return true;
    for (;;) {
        skipSpace();
        RawServerEntry entry;
        if (m_p < m_end && *m_p == '{') {
            if (!readEntry(&entry, depth + 1))
                return false;
        } else if (!skipValue(depth)) {
            return false;
        }
        out->append(std::move(entry));
        skipSpace();
        if (take(']'))
            return true;
        if (!take(','))
            return false;
    }
}

bool Reader::read(QVector<RawServerEntry> *out)
{
    const int depth = 1;
    skipSpace();
    if (!take('{'))
        return false;
    skipSpace();
    if (take('}'))
        return false; // no "Servers"
    bool haveServers = false;
    for (;;) {
        skipSpace();
        const ushort *key = nullptr;
        int size = 0;
        if (!readKey(&key, &size))
            return false;
        const bool isServers = sameText(key, size, QLatin1String("Servers"));
        skipSpace();
        if (!take(':'))
            return false;
        skipSpace();
        if (isServers) {
            if (haveServers || m_p >= m_end || *m_p != '[')
                return false;
            haveServers = true;
            if (!readServers(out, depth + 1))
                return false;
        } else if (!skipValue(depth)) {
            return false;
        }
        skipSpace();
        if (take('}'))
            break;
        if (!take(','))
            return false;
    }
    skipSpace();
    return haveServers && m_p == m_end;
}

} // namespace

bool readServerListFast(const QString &text, QVector<RawServerEntry> *out)
{
    out->clear();
    if (text.size() > kMaxLength)
        return false;
    // constData(), not utf16(): that one may write to a raw-data string.
    const auto *begin = reinterpret_cast<const ushort *>(text.constData());
    Reader reader(begin, begin + text.size());
    if (!reader.read(out)) {
        out->clear();
        return false;
    }
    s_fastReads.fetch_add(1, std::memory_order_relaxed);
    return true;
}

int serverListFastReads()
{
    return s_fastReads.load(std::memory_order_relaxed);
}
