#pragma once

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

} // namespace backend
