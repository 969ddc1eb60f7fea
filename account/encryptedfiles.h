#pragma once

#include <QByteArray>
#include <QString>

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
