#include "backendcrypto.h"

#include <openssl/crypto.h>
#include <openssl/evp.h>
#include <openssl/pem.h>
#include <openssl/rand.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <vector>

namespace backend {

namespace {

constexpr int kIterations = 100000;
constexpr size_t kSaltBytes = 16;
constexpr size_t kHashBytes = 32;
const char kScheme[] = "pbkdf2-sha256";

std::string toHex(const unsigned char *data, size_t size)
{
    static const char digits[] = "0123456789abcdef";
    std::string out;
    out.reserve(size * 2);
    for (size_t i = 0; i < size; ++i) {
        out += digits[data[i] >> 4];
        out += digits[data[i] & 0xF];
    }
    return out;
}

bool fromHex(const std::string &text, std::vector<unsigned char> &out)
{
    if (text.size() % 2 != 0)
        return false;
    out.clear();
    for (size_t i = 0; i < text.size(); i += 2) {
        unsigned int value = 0;
        for (size_t k = i; k < i + 2; ++k) {
            const char c = text[k];
            value <<= 4;
            if (c >= '0' && c <= '9')
                value |= static_cast<unsigned>(c - '0');
            else if (c >= 'a' && c <= 'f')
                value |= static_cast<unsigned>(c - 'a' + 10);
            else
                return false;
        }
        out.push_back(static_cast<unsigned char>(value));
    }
    return true;
}

bool derive(const std::string &password, const unsigned char *salt, size_t saltSize, int iterations,
            unsigned char *out, size_t outSize)
{
    return PKCS5_PBKDF2_HMAC(password.data(), static_cast<int>(password.size()), salt,
                             static_cast<int>(saltSize), iterations, EVP_sha256(),
                             static_cast<int>(outSize), out)
        == 1;
}

std::vector<std::string> split(const std::string &text, char separator)
{
    std::vector<std::string> parts;
    size_t start = 0;
    for (;;) {
        const size_t end = text.find(separator, start);
        parts.push_back(text.substr(start, end == std::string::npos ? end : end - start));
        if (end == std::string::npos)
            return parts;
        start = end + 1;
    }
}

} // namespace

std::string hashPassword(const std::string &password)
{
    unsigned char salt[kSaltBytes];
    unsigned char hash[kHashBytes];
    if (RAND_bytes(salt, sizeof salt) != 1)
        return {};
    if (!derive(password, salt, sizeof salt, kIterations, hash, sizeof hash))
        return {};
    return std::string(kScheme) + '$' + std::to_string(kIterations) + '$' + toHex(salt, sizeof salt)
        + '$' + toHex(hash, sizeof hash);
}

bool verifyPassword(const std::string &password, const std::string &stored)
{
    const std::vector<std::string> parts = split(stored, '$');
    if (parts.size() != 4 || parts[0] != kScheme)
        return false;
    char *end = nullptr;
    const long iterations = std::strtol(parts[1].c_str(), &end, 10);
    if (parts[1].empty() || *end != '\0' || iterations < 1 || iterations > 10000000)
        return false;
    std::vector<unsigned char> salt;
    std::vector<unsigned char> expected;
    if (!fromHex(parts[2], salt) || !fromHex(parts[3], expected) || expected.empty()
        || expected.size() > 64)
        return false;
    std::vector<unsigned char> actual(expected.size());
    if (!derive(password, salt.data(), salt.size(), static_cast<int>(iterations), actual.data(),
                actual.size()))
        return false;
    return CRYPTO_memcmp(actual.data(), expected.data(), expected.size()) == 0;
}

std::string encryptConfig(const std::string &plain, const std::string &keyText)
{
    unsigned char key[16] = {};
    std::snprintf(reinterpret_cast<char *>(key), sizeof key, "%s", keyText.c_str());
    const unsigned char iv[16] = {};

    std::unique_ptr<EVP_CIPHER_CTX, decltype(&EVP_CIPHER_CTX_free)> ctx(EVP_CIPHER_CTX_new(),
                                                                        EVP_CIPHER_CTX_free);
    if (!ctx || EVP_EncryptInit_ex(ctx.get(), EVP_aes_128_cbc(), nullptr, key, iv) != 1)
        return {};
    // OpenSSL's own padding is PKCS#7: 1 to 16 bytes, always added.
    std::string out(plain.size() + 16, '\0');
    int written = 0;
    int tail = 0;
    if (EVP_EncryptUpdate(ctx.get(), reinterpret_cast<unsigned char *>(&out[0]), &written,
                          reinterpret_cast<const unsigned char *>(plain.data()),
                          static_cast<int>(plain.size()))
            != 1
        || EVP_EncryptFinal_ex(ctx.get(), reinterpret_cast<unsigned char *>(&out[0]) + written,
                               &tail)
            != 1)
        return {};
    out.resize(static_cast<size_t>(written + tail));
    return out;
}

std::string base64Encode(const std::string &bytes)
{
    if (bytes.empty())
        return {};
    std::string out(4 * ((bytes.size() + 2) / 3) + 1, '\0');
    const int n = EVP_EncodeBlock(reinterpret_cast<unsigned char *>(&out[0]),
                                  reinterpret_cast<const unsigned char *>(bytes.data()),
                                  static_cast<int>(bytes.size()));
    out.resize(n > 0 ? static_cast<size_t>(n) : 0);
    return out;
}

std::string randomHex(size_t bytes)
{
    std::vector<unsigned char> buffer(bytes);
    if (bytes > 0 && RAND_bytes(buffer.data(), static_cast<int>(bytes)) != 1)
        return {};
    return toHex(buffer.data(), buffer.size());
}

std::string fileSha256Hex(const std::string &path)
{
    std::ifstream in(path, std::ios::binary);
    std::unique_ptr<EVP_MD_CTX, decltype(&EVP_MD_CTX_free)> ctx(EVP_MD_CTX_new(), EVP_MD_CTX_free);
    if (!in || !ctx || EVP_DigestInit_ex(ctx.get(), EVP_sha256(), nullptr) != 1)
        return {};
    std::vector<char> buffer(1 << 16);
    while (in) {
        in.read(buffer.data(), static_cast<std::streamsize>(buffer.size()));
        if (in.gcount() > 0
            && EVP_DigestUpdate(ctx.get(), buffer.data(), static_cast<size_t>(in.gcount())) != 1)
            return {};
    }
    unsigned char digest[EVP_MAX_MD_SIZE];
    unsigned int length = 0;
    if (!in.eof() || EVP_DigestFinal_ex(ctx.get(), digest, &length) != 1)
        return {};
    return toHex(digest, length);
}

std::string updateStatement(const std::string &id, const std::string &version, uint64_t size,
                            const std::string &sha256Hex)
{
    return "quellnet-update-v1\nid=" + id + "\nversion=" + version
        + "\nsize=" + std::to_string(size) + "\nsha256=" + sha256Hex + '\n';
}

std::string signEd25519Base64(const std::string &privateKeyPem, const std::string &message)
{
    std::unique_ptr<BIO, decltype(&BIO_free)> bio(
        BIO_new_mem_buf(privateKeyPem.data(), static_cast<int>(privateKeyPem.size())), BIO_free);
    if (!bio)
        return {};
    std::unique_ptr<EVP_PKEY, decltype(&EVP_PKEY_free)> key(
        PEM_read_bio_PrivateKey(bio.get(), nullptr, nullptr, nullptr), EVP_PKEY_free);
    std::unique_ptr<EVP_MD_CTX, decltype(&EVP_MD_CTX_free)> ctx(EVP_MD_CTX_new(), EVP_MD_CTX_free);
    if (!key || EVP_PKEY_get_id(key.get()) != EVP_PKEY_ED25519 || !ctx
        || EVP_DigestSignInit(ctx.get(), nullptr, nullptr, nullptr, key.get()) != 1)
        return {};
    std::string signature(64, '\0');
    size_t length = signature.size();
    if (EVP_DigestSign(ctx.get(), reinterpret_cast<unsigned char *>(&signature[0]), &length,
                       reinterpret_cast<const unsigned char *>(message.data()), message.size())
        != 1)
        return {};
    signature.resize(length);
    return base64Encode(signature);
}

} // namespace backend
