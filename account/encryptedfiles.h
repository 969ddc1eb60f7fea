#pragma once

#include <QByteArray>
#include <QString>

#include <memory>

struct evp_cipher_ctx_st;

// The two enciphered caches of the data folder and the decryption of the tunnel
// configurations in the server list. No function throws; failures are logged (a bad padding
// is printed to standard output) and give false, an empty text or no file.
// Each function may run on any thread; a file must not be used by two threads at once.

// "server_content.fg": AES-128-CBC, zero IV, PKCS#7, raw ciphertext. Replaces the file.
bool save_config(const QString &fileName, const QString &text);
// Empty when the file is missing, unreadable or not a whole number of cipher blocks.
QString load_config(const QString &fileName);

// "user_content.fg": the stored-secret enciphering as hexadecimal text, in a file that
// only the user may read or write (0600).
bool save_logiInfo(const QString &fileName, const QString &text);
QString readLoginCache(const QString &fileName);

// Standard base64, read up to the first "=" or the first character outside the alphabet.
QByteArray decodeBase64(const QString &text);
// The "Ovpn" field after decodeBase64: AES-128-CBC under the tunnel configuration key.
QString decryptConfigText(const QByteArray &bytes);

// decryptConfigText for many fields in a row, as a list parse has them: the cipher is set up
// once, not per field. Results and padding reports are those of decryptConfigText. One
// thread at a time.
class ConfigDecryptor
{
public:
    ConfigDecryptor();
    ~ConfigDecryptor();
    ConfigDecryptor(const ConfigDecryptor &) = delete;
    ConfigDecryptor &operator=(const ConfigDecryptor &) = delete;

    QString decrypt(const QByteArray &bytes);
    // decrypt(decodeBase64(text)).
    QString decryptBase64(const QString &text);

private:
    QString decryptBlocks(const char *input, int size);

    struct FreeContext
    {
        void operator()(evp_cipher_ctx_st *ctx) const;
    };
    std::unique_ptr<evp_cipher_ctx_st, FreeContext> m_ctx;
    bool m_ready = false;
    QByteArray m_cipher; // reused between fields
    QByteArray m_plain;
};
