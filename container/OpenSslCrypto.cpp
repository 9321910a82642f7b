#include "OpenSslCrypto.h"

#include <openssl/core_names.h>
#include <openssl/crypto.h>
#include <openssl/kdf.h>
#include <openssl/params.h>
#include <openssl/rand.h>

#include <climits>
#include <memory>
#include <string>

#include "ContainerFormat.h"

namespace mirado::crypto {
namespace {

struct KdfFree {
    void operator()(EVP_KDF* kdf) const { EVP_KDF_free(kdf); }
    void operator()(EVP_KDF_CTX* context) const { EVP_KDF_CTX_free(context); }
    void operator()(EVP_MAC* mac) const { EVP_MAC_free(mac); }
    void operator()(EVP_MAC_CTX* context) const { EVP_MAC_CTX_free(context); }
};

// Lengths go to OpenSSL as int in the cipher calls.
bool fitsInt(std::size_t length) { return length <= std::size_t(INT_MAX); }

}  // namespace

bool randomBytes(std::uint8_t* out, std::size_t length) {
    return fitsInt(length) && RAND_bytes(out, int(length)) == 1;
}

bool scrypt(std::string_view passphrase, const std::uint8_t* salt, std::size_t saltLength, int log2N, Key32& out) {
    if (log2N < kMinWorkFactor || log2N > kMaxWorkFactor) return false;
    constexpr std::uint64_t r = 8, p = 1;
    const std::uint64_t n = std::uint64_t(1) << log2N;
    // scrypt needs 128 * r * (N + p) bytes and a little more; allow exactly the largest accepted N.
    constexpr std::uint64_t maxMemory = 128 * r * ((std::uint64_t(1) << kMaxWorkFactor) + p + 2) + (1u << 20);
    return EVP_PBE_scrypt(passphrase.data(), passphrase.size(), salt, saltLength, n, r, p, maxMemory, out.data(),
                          out.size()) == 1;
}

bool hkdfSha256(const std::uint8_t* secret, std::size_t secretLength, const std::uint8_t* salt,
                std::size_t saltLength, std::string_view info, std::uint8_t* out, std::size_t outLength) {
    std::unique_ptr<EVP_KDF, KdfFree> kdf(EVP_KDF_fetch(nullptr, "HKDF", nullptr));
    if (!kdf) return false;
    std::unique_ptr<EVP_KDF_CTX, KdfFree> context(EVP_KDF_CTX_new(kdf.get()));
    if (!context) return false;
    char digest[] = "SHA256";
    // An empty salt stands for a zero-filled one of the hash's length, as HKDF defines; OpenSSL wants
    // the parameter left out for that.
    OSSL_PARAM params[5];
    std::size_t at = 0;
    params[at++] = OSSL_PARAM_construct_utf8_string(OSSL_KDF_PARAM_DIGEST, digest, 0);
    params[at++] = OSSL_PARAM_construct_octet_string(OSSL_KDF_PARAM_KEY, const_cast<std::uint8_t*>(secret),
                                                     secretLength);
    if (saltLength > 0) {
        params[at++] = OSSL_PARAM_construct_octet_string(OSSL_KDF_PARAM_SALT, const_cast<std::uint8_t*>(salt),
                                                         saltLength);
    }
    params[at++] = OSSL_PARAM_construct_octet_string(OSSL_KDF_PARAM_INFO, const_cast<char*>(info.data()),
                                                     info.size());
    params[at] = OSSL_PARAM_construct_end();
    return EVP_KDF_derive(context.get(), out, outLength, params) == 1;
}

bool hmacSha256(const std::uint8_t* key, std::size_t keyLength, const std::uint8_t* data, std::size_t length,
                Mac32& out) {
    std::unique_ptr<EVP_MAC, KdfFree> mac(EVP_MAC_fetch(nullptr, "HMAC", nullptr));
    if (!mac) return false;
    std::unique_ptr<EVP_MAC_CTX, KdfFree> context(EVP_MAC_CTX_new(mac.get()));
    if (!context) return false;
    char digest[] = "SHA256";
    const OSSL_PARAM params[] = {OSSL_PARAM_construct_utf8_string(OSSL_MAC_PARAM_DIGEST, digest, 0),
                                 OSSL_PARAM_construct_end()};
    std::size_t written = 0;
    return EVP_MAC_init(context.get(), key, keyLength, params) == 1 &&
           EVP_MAC_update(context.get(), data, length) == 1 &&
           EVP_MAC_final(context.get(), out.data(), &written, out.size()) == 1 && written == out.size();
}

bool equalInConstantTime(const std::uint8_t* a, const std::uint8_t* b, std::size_t length) {
    return CRYPTO_memcmp(a, b, length) == 0;
}

ChaCha20Poly1305::ChaCha20Poly1305() : context_(EVP_CIPHER_CTX_new()) {}

ChaCha20Poly1305::~ChaCha20Poly1305() { EVP_CIPHER_CTX_free(context_); }

bool ChaCha20Poly1305::seal(const Key32& key, const std::uint8_t* nonce, const std::uint8_t* in, std::size_t length,
                            std::uint8_t* out) {
    int written = 0, tail = 0;
    return context_ != nullptr && fitsInt(length) &&
           EVP_EncryptInit_ex(context_, EVP_chacha20_poly1305(), nullptr, key.data(), nonce) == 1 &&
           (length == 0 || EVP_EncryptUpdate(context_, out, &written, in, int(length)) == 1) &&
           EVP_EncryptFinal_ex(context_, out + written, &tail) == 1 &&
           EVP_CIPHER_CTX_ctrl(context_, EVP_CTRL_AEAD_GET_TAG, int(kAeadTagSize), out + length) == 1;
}

bool ChaCha20Poly1305::open(const Key32& key, const std::uint8_t* nonce, const std::uint8_t* in,
                            std::size_t sealedLength, std::uint8_t* out) {
    if (context_ == nullptr || sealedLength < kAeadTagSize || !fitsInt(sealedLength)) return false;
    const std::size_t length = sealedLength - kAeadTagSize;
    // OpenSSL may keep the tag pointer's bytes only until Final; copy it, since `out` may overlap `in`.
    std::uint8_t tag[kAeadTagSize];
    std::copy(in + length, in + sealedLength, tag);
    int written = 0, tail = 0;
    return EVP_DecryptInit_ex(context_, EVP_chacha20_poly1305(), nullptr, key.data(), nonce) == 1 &&
           EVP_CIPHER_CTX_ctrl(context_, EVP_CTRL_AEAD_SET_TAG, int(kAeadTagSize), tag) == 1 &&
           (length == 0 || EVP_DecryptUpdate(context_, out, &written, in, int(length)) == 1) &&
           EVP_DecryptFinal_ex(context_, out + written, &tail) == 1;
}

}  // namespace mirado::crypto
