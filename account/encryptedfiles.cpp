#include "encryptedfiles.h"

#include "mconfig.h"
#include "mdeploy.h"
#include "mutils.h"

#include <QDebug>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <openssl/evp.h>

#include <cstdio>
#include <cstring>
#include <memory>

namespace {

// Either the old content or the whole new one, readable by the user only: written to a
// private temporary file beside it, then renamed over it.
bool writePrivateAtomically(const QString &fileName, const QByteArray &bytes)
{
    QSaveFile file(fileName);
    if (!file.open(QIODevice::WriteOnly)
        || !file.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner))
        return false;
    if (file.write(bytes) != bytes.size()) {
        file.cancelWriting();
        return false;
    }
    return file.commit();
}

constexpr int kBlockSize = 16;
constexpr char kFileKeyText[] = "kq7_storage_key1";

// What a bounded print of the key text into a zeroed 16-byte buffer leaves: the first 15
// characters and the terminating zero. Files written so far depend on exactly these bytes.
QByteArray boundedKey(const QByteArray &text)
{
    QByteArray key(kBlockSize, '\0');
    std::memcpy(key.data(), text.constData(), size_t(qMin(text.size(), kBlockSize - 1)));
    return key;
}

QByteArray fileKey()
{
    return boundedKey(QByteArray(kFileKeyText));
}

// Padding is done by hand (see pad/unpad) so the byte layout never depends on the library.
bool aesCbc(bool encrypt, const QByteArray &key, const QByteArray &input, QByteArray &output)
{
    if (key.size() != kBlockSize || input.isEmpty() || input.size() % kBlockSize != 0)
        return false;
    const std::unique_ptr<EVP_CIPHER_CTX, decltype(&EVP_CIPHER_CTX_free)> ctx(EVP_CIPHER_CTX_new(),
                                                                              &EVP_CIPHER_CTX_free);
    if (!ctx)
        return false;
    const unsigned char iv[kBlockSize] = {};
    const auto *keyBytes = reinterpret_cast<const unsigned char *>(key.constData());
    if (EVP_CipherInit_ex(ctx.get(), EVP_aes_128_cbc(), nullptr, keyBytes, iv, encrypt ? 1 : 0) != 1
        || EVP_CIPHER_CTX_set_padding(ctx.get(), 0) != 1)
        return false;
    QByteArray out(input.size(), '\0');
    auto *outBytes = reinterpret_cast<unsigned char *>(out.data());
    int written = 0;
    int finalWritten = 0;
    if (EVP_CipherUpdate(ctx.get(), outBytes, &written,
                         reinterpret_cast<const unsigned char *>(input.constData()), input.size())
            != 1
        || EVP_CipherFinal_ex(ctx.get(), outBytes + written, &finalWritten) != 1
        || written + finalWritten != input.size())
        return false;
    output = out;
    return true;
}

// PKCS#7: always 1 to 16 bytes, each holding the count.
QByteArray pad(const QByteArray &plain)
{
    const int count = kBlockSize - plain.size() % kBlockSize;
    return plain + QByteArray(count, char(count));
}

// The length left once the padding the last byte announces is dropped, also when the padding
// is not valid.
int unpaddedSize(const char *plain, int size)
{
    if (size == 0)
        return 0;
    const int p = uchar(plain[size - 1]);
    bool valid = p >= 1 && p <= kBlockSize && p <= size;
    for (int i = 2; valid && i <= p; ++i)
        valid = uchar(plain[size - i]) == p;
    if (!valid) {
        std::fputs("padding error.\n", stdout);
        std::fflush(stdout);
    }
    return p > size ? 0 : size - p;
}

QByteArray unpad(const QByteArray &plain)
{
    return plain.left(unpaddedSize(plain.constData(), plain.size()));
}

// Keeps every byte, an embedded zero included.
QString fromUtf8Bytes(const QByteArray &bytes)
{
    return QString::fromUtf8(bytes.constData(), bytes.size());
}

struct Base64Table
{
    constexpr Base64Table()
        : value()
    {
        for (int i = 0; i < 128; ++i)
            value[i] = -1;
        for (int i = 0; i < 26; ++i) {
            value['A' + i] = char(i);
            value['a' + i] = char(26 + i);
        }
        for (int i = 0; i < 10; ++i)
            value['0' + i] = char(52 + i);
        value[int('+')] = 62;
        value[int('/')] = 63;
    }
    signed char value[128];
};

constexpr Base64Table kBase64;

// Room for the bytes of `length` base64 characters.
int base64Capacity(int length)
{
    return length / 4 * 3 + 2;
}

int base64Value(QChar c)
{
    const ushort u = c.unicode();
    return u < 128 ? kBase64.value[u] : -1;
}

// Writes the bytes into out (base64Capacity(length) of room) and returns their count.
int decodeBase64Into(const QChar *text, int length, char *out)
{
    char *const start = out;
    int i = 0;
    // Whole groups of four while all four are in the alphabet; the rest one by one.
    for (; i + 4 <= length; i += 4) {
        const int a = base64Value(text[i]);
        const int b = base64Value(text[i + 1]);
        const int c = base64Value(text[i + 2]);
        const int d = base64Value(text[i + 3]);
        if ((a | b | c | d) < 0)
            break;
        const quint32 group = quint32(a) << 18 | quint32(b) << 12 | quint32(c) << 6 | quint32(d);
        out[0] = char(group >> 16);
        out[1] = char(group >> 8);
        out[2] = char(group);
        out += 3;
    }
    quint32 group = 0;
    int count = 0;
    for (; i < length; ++i) {
        const int value = base64Value(text[i]);
        if (value < 0)
            break; // "=" or anything outside the alphabet ends the text
        group = (group << 6) | quint32(value);
        if (++count == 4) {
            *out++ = char(group >> 16);
            *out++ = char(group >> 8);
            *out++ = char(group);
            group = 0;
            count = 0;
        }
    }
    if (count == 2) {
        *out++ = char(group >> 4);
    } else if (count == 3) {
        *out++ = char(group >> 10);
        *out++ = char(group >> 2);
    }
    return int(out - start);
}

} // namespace

bool save_config(const QString &fileName, const QString &text)
{
    if (fileName.isEmpty() || text.isEmpty()) {
        qInfo() << "save_config failed,filename is empty or config is empty";
        return false;
    }
    QByteArray cipherText;
    if (!aesCbc(true, fileKey(), pad(text.toUtf8()), cipherText)) {
        qInfo() << "save_config failed,error: encryption failed";
        return false;
    }
    if (!writePrivateAtomically(fileName, cipherText)) {
        qInfo() << "save_config failed,cannot write:" << fileName;
        return false;
    }
    return true;
}

QString load_config(const QString &fileName)
{
    if (!QFileInfo::exists(fileName)) {
        qInfo() << "load_config failed,file does not exists:" << fileName;
        return QString();
    }
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly)) {
        qInfo() << "load_config file.open filename:" << fileName;
        return QString();
    }
    const QByteArray cipherText = file.readAll();
    QByteArray plain;
    // A cut or grown file is not a whole number of blocks: nothing in it can be trusted.
    if (!aesCbc(false, fileKey(), cipherText, plain)) {
        qInfo() << "load_config failed,error:"
                << "the content is not a whole number of cipher blocks";
        return QString();
    }
    return fromUtf8Bytes(unpad(plain));
}

bool save_logiInfo(const QString &fileName, const QString &text)
{
    if (fileName.isEmpty() || text.isEmpty()) {
        qInfo() << "save_logiInfo failed,filename is empty or config is empty";
        return false;
    }
    if (!writePrivateAtomically(fileName, MConfig::encipherSecret(text).toUtf8())) {
        qInfo() << "save_logiInfo failed,cannot write:" << fileName;
        return false;
    }
    return true;
}

QString readLoginCache(const QString &fileName)
{
    return MConfig::decipherSecret(ReadFileX(fileName));
}

QByteArray decodeBase64(const QString &text)
{
    QByteArray bytes(base64Capacity(text.size()), Qt::Uninitialized);
    bytes.resize(decodeBase64Into(text.constData(), text.size(), bytes.data()));
    return bytes;
}

QString decryptConfigText(const QByteArray &bytes)
{
    return ConfigDecryptor().decrypt(bytes);
}

void ConfigDecryptor::FreeContext::operator()(evp_cipher_ctx_st *ctx) const
{
    EVP_CIPHER_CTX_free(ctx);
}

ConfigDecryptor::ConfigDecryptor()
    : m_ctx(EVP_CIPHER_CTX_new())
{
    // CBC is done by hand over ECB (see decryptBlocks): an ECB context keeps no state between
    // fields, so it is set up once, not once per field.
    const QByteArray key = boundedKey(Deploy::ovpnKey());
    m_ready = m_ctx
        && EVP_DecryptInit_ex(m_ctx.get(), EVP_aes_128_ecb(), nullptr,
                              reinterpret_cast<const unsigned char *>(key.constData()), nullptr)
            == 1
        && EVP_CIPHER_CTX_set_padding(m_ctx.get(), 0) == 1;
}

ConfigDecryptor::~ConfigDecryptor() = default;

QString ConfigDecryptor::decrypt(const QByteArray &bytes)
{
    return decryptBlocks(bytes.constData(), bytes.size());
}

QString ConfigDecryptor::decryptBase64(const QString &text)
{
    m_cipher.resize(base64Capacity(text.size()));
    const int size = decodeBase64Into(text.constData(), text.size(), m_cipher.data());
    return decryptBlocks(m_cipher.constData(), size);
}

QString ConfigDecryptor::decryptBlocks(const char *input, int size)
{
    if (!m_ready || size == 0 || size % kBlockSize != 0)
        return QString();
    m_plain.resize(size);
    auto *out = reinterpret_cast<unsigned char *>(m_plain.data());
    const auto *in = reinterpret_cast<const unsigned char *>(input);
    int written = 0;
    if (EVP_DecryptUpdate(m_ctx.get(), out, &written, in, size) != 1 || written != size)
        return QString();
    // CBC: each block is also XORed with the cipher block before it; the first one with the
    // zero IV, which leaves it as it is.
    for (int i = kBlockSize; i < size; i += 8) {
        quint64 word;
        quint64 previous;
        std::memcpy(&word, out + i, 8);
        std::memcpy(&previous, in + i - kBlockSize, 8);
        word ^= previous;
        std::memcpy(out + i, &word, 8);
    }
    return QString::fromUtf8(m_plain.constData(), unpaddedSize(m_plain.constData(), size));
}
