#include "mblowfish.h"

#include "blowfish_tables.h"

#include <QtGlobal>

namespace {

constexpr int kBlockSize = 8;
constexpr int kRounds = 16;

int hexValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    return 0;
}

// The texts are generated with exactly eight digits per word, so no length checks here.
void hexToWords(const char *hex, quint32 *words, int count)
{
    for (int i = 0; i < count; ++i) {
        quint32 w = 0;
        for (int d = 0; d < 8; ++d)
            w = (w << 4) | quint32(hexValue(hex[i * 8 + d]));
        words[i] = w;
    }
}

quint32 loadBigEndian(const char *p)
{
    return (quint32(quint8(p[0])) << 24) | (quint32(quint8(p[1])) << 16)
        | (quint32(quint8(p[2])) << 8) | quint32(quint8(p[3]));
}

void storeBigEndian(char *p, quint32 w)
{
    p[0] = char(w >> 24);
    p[1] = char(w >> 16);
    p[2] = char(w >> 8);
    p[3] = char(w);
}

} // namespace

static_assert(sizeof(kBlowfishPArrayHex) == 18 * 8 + 1, "P-array text must hold 18 words");
static_assert(sizeof(kBlowfishSBoxHex) == 4 * (256 * 8 + 1), "S-box texts must hold 4x256 words");

MBlowfish::MBlowfish(const QByteArray &key)
    : m_key(key)
{ }

void MBlowfish::setPaddingEnabled(bool enabled)
{
    m_paddingEnabled = enabled;
}

bool MBlowfish::init()
{
    if (m_initialized)
        return true;
    if (m_key.isEmpty()) {
        qWarning("Cannot init. Key is empty.");
        return false;
    }

    hexToWords(kBlowfishPArrayHex, m_parray, 18);
    for (int s = 0; s < 4; ++s)
        hexToWords(kBlowfishSBoxHex[s], m_sbox[s], 256);

    const int keyLength = m_key.size();
    int k = 0;
    for (quint32 &p : m_parray) {
        quint32 data = 0;
        for (int b = 0; b < 4; ++b) {
            data = (data << 8) | quint8(m_key.at(k));
            k = (k + 1) % keyLength;
        }
        p ^= data;
    }

    quint32 left = 0;
    quint32 right = 0;
    for (int i = 0; i < 18; i += 2) {
        encipher(left, right);
        m_parray[i] = left;
        m_parray[i + 1] = right;
    }
    for (auto &sbox : m_sbox) {
        for (int i = 0; i < 256; i += 2) {
            encipher(left, right);
            sbox[i] = left;
            sbox[i + 1] = right;
        }
    }

    m_initialized = true;
    return true;
}

quint32 MBlowfish::f(quint32 x) const
{
    const quint32 a = m_sbox[0][x >> 24];
    const quint32 b = m_sbox[1][(x >> 16) & 0xFF];
    const quint32 c = m_sbox[2][(x >> 8) & 0xFF];
    const quint32 d = m_sbox[3][x & 0xFF];
    return ((a + b) ^ c) + d;
}

void MBlowfish::encipher(quint32 &left, quint32 &right) const
{
    quint32 l = left;
    quint32 r = right;
    for (int i = 0; i < kRounds; ++i) {
        l ^= m_parray[i];
        r ^= f(l);
        qSwap(l, r);
    }
    qSwap(l, r);
    r ^= m_parray[kRounds];
    l ^= m_parray[kRounds + 1];
    left = l;
    right = r;
}

void MBlowfish::decipher(quint32 &left, quint32 &right) const
{
    quint32 l = left;
    quint32 r = right;
    for (int i = kRounds + 1; i > 1; --i) {
        l ^= m_parray[i];
        r ^= f(l);
        qSwap(l, r);
    }
    qSwap(l, r);
    r ^= m_parray[1];
    l ^= m_parray[0];
    left = l;
    right = r;
}

QByteArray MBlowfish::encrypted(const QByteArray &clearText)
{
    if (clearText.isEmpty())
        return QByteArray();

    QByteArray data = clearText;
    if (m_paddingEnabled) {
        const int n = kBlockSize - data.size() % kBlockSize;
        data.append(n, char(n));
    } else if (data.size() % kBlockSize != 0) {
        qWarning("Cannot encrypt. Clear-text length is not a multiple of 8 and padding is not "
                 "enabled.");
        return QByteArray();
    }

    if (!init())
        return QByteArray();

    char *block = data.data();
    for (int pos = 0; pos < data.size(); pos += kBlockSize) {
        quint32 left = loadBigEndian(block + pos);
        quint32 right = loadBigEndian(block + pos + 4);
        encipher(left, right);
        storeBigEndian(block + pos, left);
        storeBigEndian(block + pos + 4, right);
    }
    return data;
}

QByteArray MBlowfish::decrypted(const QByteArray &cipherText)
{
    if (cipherText.isEmpty() || cipherText.size() % kBlockSize != 0 || !init())
        return QByteArray();

    QByteArray data = cipherText;
    char *block = data.data();
    for (int pos = 0; pos < data.size(); pos += kBlockSize) {
        quint32 left = loadBigEndian(block + pos);
        quint32 right = loadBigEndian(block + pos + 4);
        decipher(left, right);
        storeBigEndian(block + pos, left);
        storeBigEndian(block + pos + 4, right);
    }

    if (!m_paddingEnabled)
        return data;

    // The pad length comes from untrusted bytes: bound it before it indexes anything.
    const int n = quint8(data.at(data.size() - 1));
    if (n < 1 || n > kBlockSize)
        return QByteArray();
    for (int i = data.size() - n; i < data.size(); ++i) {
        if (quint8(data.at(i)) != n)
            return QByteArray();
    }
    data.chop(n);
    return data;
}
