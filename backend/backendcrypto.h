#pragma once

#include <cstdint>
#include <string>

namespace backend {

// Salted PBKDF2-HMAC-SHA256, stored as "pbkdf2-sha256$ITERATIONS$SALT_HEX$HASH_HEX".
// Returns an empty text when the random source fails.
std::string hashPassword(const std::string &password);
bool verifyPassword(const std::string &password, const std::string &stored);

// AES-128-CBC with PKCS#7 padding, zero IV. The key is built as the client builds it: the
// key text printed into a zeroed 16-byte buffer with snprintf semantics, so at most 15
// characters of it followed by a zero byte. Empty result on failure.
std::string encryptConfig(const std::string &plain, const std::string &keyText);

// Standard alphabet with "=" padding, no line breaks.
std::string base64Encode(const std::string &bytes);

// Lower-case hex of `bytes` random bytes; empty when the random source fails.
std::string randomHex(size_t bytes);

// Lower-case hex SHA-256 of a file, read in pieces; empty when it cannot be read.
std::string fileSha256Hex(const std::string &path);

// What an update entry's signature covers: five lines, each ending in "\n".
std::string updateStatement(const std::string &id, const std::string &version, uint64_t size,
                            const std::string &sha256Hex);

// Ed25519 signature of `message` by a PEM private key, base64; empty on failure.
std::string signEd25519Base64(const std::string &privateKeyPem, const std::string &message);

} // namespace backend
