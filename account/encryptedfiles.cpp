#include "encryptedfiles.h"

#include "mconfig.h"
#include "mdeploy.h"
#include "mutils.h"
#include "privatefile.h"

#include <QDebug>
#include <QFile>
#include <QFileInfo>

#include <openssl/evp.h>

#include <cstdio>
#include <cstring>
#include <memory>

namespace {

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

// Drops the padding the last byte announces, also when the padding is not valid.
QByteArray unpad(const QByteArray &plain)
{
    if (plain.isEmpty())
        return plain;
    const int p = uchar(plain.at(plain.size() - 1));
    bool valid = p >= 1 && p <= kBlockSize && p <= plain.size();
    for (int i = 2; valid && i <= p; ++i)
        valid = uchar(plain.at(plain.size() - i)) == p;
    if (!valid) {
        std::fputs("padding error.\n", stdout);
        std::fflush(stdout);
    }
    if (p > plain.size())
        return QByteArray();
    return plain.left(plain.size() - p);
}

// Keeps every byte, an embedded zero included.
QString fromUtf8Bytes(const QByteArray &bytes)
{
    return QString::fromUtf8(bytes.constData(), bytes.size());
}

int base64Value(char c)
{
    if (c >= 'A' && c <= 'Z')
        return c - 'A';
    if (c >= 'a' && c <= 'z')
        return c - 'a' + 26;
    if (c >= '0' && c <= '9')
        return c - '0' + 52;
    if (c == '+')
        return 62;
    if (c == '/')
        return 63;
    return -1;
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
    QFile file(fileName);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        qInfo() << "fopen filename:" << fileName;
        return false;
    }
    const bool ok = file.write(cipherText) == cipherText.size() && file.flush();
    if (!ok)
        qInfo() << "save_config failed,error:" << file.errorString();
    return ok;
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
    // The reply is secret: the file is made private before anything is written into it.
    if (!ensurePrivateFile(fileName)) {
        qInfo() << "save_logiInfo failed,cannot create:" << fileName;
        return false;
    }
    return SaveFile(fileName, MConfig::encipherSecret(text));
}

QString readLoginCache(const QString &fileName)
{
    return MConfig::decipherSecret(ReadFileX(fileName));
}

QByteArray decodeBase64(const QString &text)
{
    QByteArray bytes;
    bytes.reserve(text.size() / 4 * 3 + 2);
    quint32 group = 0;
    int count = 0;
    for (const QChar c : text) {
        const int value = c.unicode() < 0x80 ? base64Value(char(c.unicode())) : -1;
        if (value < 0)
            break; // "=" or anything outside the alphabet ends the text
        group = (group << 6) | quint32(value);
        if (++count == 4) {
            bytes.append(char(group >> 16));
            bytes.append(char(group >> 8));
            bytes.append(char(group));
            group = 0;
            count = 0;
        }
    }
    if (count == 2) {
        bytes.append(char(group >> 4));
    } else if (count == 3) {
        bytes.append(char(group >> 10));
        bytes.append(char(group >> 2));
    }
    return bytes;
}

QString decryptConfigText(const QByteArray &bytes)
{
    QByteArray plain;
    if (!aesCbc(false, boundedKey(Deploy::ovpnKey()), bytes, plain))
        return QString();
    return fromUtf8Bytes(unpad(plain));
}
