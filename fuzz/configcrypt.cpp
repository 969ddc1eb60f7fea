// The server list's configuration cipher and the cache file cipher: what the backend
// enciphers (an independent implementation) the client deciphers to the same text, and
// arbitrary ciphertext or base64 gives the same answer by every path without a fault.
#include "backendcrypto.h"
#include "encryptedfiles.h"
#include "fuzzsupport.h"
#include "mdeploy.h"

#include <QFile>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray raw = fuzz::bytes(data, size);
    const QString expected = QString::fromUtf8(raw.constData(), raw.size());
    const QByteArray cipher = QByteArray::fromStdString(
        backend::encryptConfig(raw.toStdString(), Deploy::ovpnKey().toStdString()));
    FUZZ_CHECK(!cipher.isEmpty() && cipher.size() % 16 == 0);
    const QString base64 = QString::fromStdString(backend::base64Encode(cipher.toStdString()));
    FUZZ_CHECK(decodeBase64(base64) == cipher);
    ConfigDecryptor decryptor;
    FUZZ_CHECK(decryptor.decryptBase64(base64) == expected);
    FUZZ_CHECK(decryptConfigText(cipher) == expected);

    // Arbitrary input, as base64 text and as ciphertext: every path agrees.
    const QByteArray decoded = decodeBase64(expected);
    FUZZ_CHECK(decoded.size() <= expected.size() / 4 * 3 + 2);
    const QString viaBase64 = decryptor.decryptBase64(expected);
    FUZZ_CHECK(viaBase64 == decryptor.decrypt(decoded) && viaBase64 == decryptConfigText(decoded));
    FUZZ_CHECK(decryptor.decrypt(raw) == decryptConfigText(raw));

    // The cache file: what is saved loads back.
    if (!expected.isEmpty()) {
        const QString path = fuzz::scratchFile("server_content.fg");
        FUZZ_CHECK(save_config(path, expected) && load_config(path) == expected);
        QFile::remove(path);
    }
    return 0;
}
