// The server list's configuration cipher and the cache file cipher: what the backend
// enciphers (an independent implementation) the client deciphers to the same text, and
// arbitrary ciphertext or base64 gives the same answer by every path without a fault.
#include "backendcrypto.h"
#include "encryptedfiles.h"
#include "fuzzsupport.h"
#include "mdeploy.h"

#include <QFile>

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    fuzz::silenceQt();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const std::string plain = fuzz::text(data, size);
    const QString expected = QString::fromUtf8(plain.data(), int(plain.size()));
    const std::string cipher = backend::encryptConfig(plain, Deploy::ovpnKey().toStdString());
    FUZZ_CHECK(!cipher.empty() && cipher.size() % 16 == 0);
    const std::string base64 = backend::base64Encode(cipher);
    FUZZ_CHECK(decodeBase64(QString::fromLatin1(base64.c_str()))
               == QByteArray::fromStdString(cipher));
    ConfigDecryptor decryptor;
    FUZZ_CHECK(decryptor.decryptBase64(QString::fromLatin1(base64.c_str())) == expected);
    FUZZ_CHECK(decryptConfigText(QByteArray::fromStdString(cipher)) == expected);

    // Arbitrary input, as base64 text and as ciphertext: every path agrees.
    const QString asText = expected;
    const QByteArray decoded = decodeBase64(asText);
    FUZZ_CHECK(decoded.size() <= asText.size() / 4 * 3 + 2);
    const QString viaBase64 = decryptor.decryptBase64(asText);
    FUZZ_CHECK(viaBase64 == decryptor.decrypt(decoded) && viaBase64 == decryptConfigText(decoded));
    FUZZ_CHECK(decryptor.decrypt(fuzz::bytes(data, size))
               == decryptConfigText(fuzz::bytes(data, size)));

    // The cache file: what is saved loads back.
    if (!expected.isEmpty()) {
        const QString path = fuzz::scratchFile("server_content.fg");
        FUZZ_CHECK(save_config(path, expected));
        FUZZ_CHECK(load_config(path) == expected);
        QFile::remove(path);
    }
    return 0;
}
