#pragma once
#include <openssl/evp.h>

#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>

// The few primitives format 2 needs, each a thin call into OpenSSL's libcrypto: nothing here computes
// a primitive itself. Every function reports success as a bool.
namespace mirado::crypto {

using Key32 = std::array<std::uint8_t, 32>;
using Mac32 = std::array<std::uint8_t, 32>;

inline constexpr std::size_t kAeadTagSize = 16;
inline constexpr std::size_t kAeadNonceSize = 12;

bool randomBytes(std::uint8_t* out, std::size_t length);

// scrypt with N = 2^log2N, r = 8, p = 1 into 32 bytes; memory is allowed for log2N up to 22.
bool scrypt(std::string_view passphrase, const std::uint8_t* salt, std::size_t saltLength, int log2N, Key32& out);

// HKDF-SHA-256 (extract and expand).
bool hkdfSha256(const std::uint8_t* secret, std::size_t secretLength, const std::uint8_t* salt,
                std::size_t saltLength, std::string_view info, std::uint8_t* out, std::size_t outLength);

bool hmacSha256(const std::uint8_t* key, std::size_t keyLength, const std::uint8_t* data, std::size_t length,
                Mac32& out);

// Comparison whose time does not depend on where the bytes differ.
bool equalInConstantTime(const std::uint8_t* a, const std::uint8_t* b, std::size_t length);

// ChaCha20-Poly1305 with a 12-byte nonce and no associated data. One object per thread: it keeps a
// cipher context so that sealing or opening many chunks allocates nothing.
class ChaCha20Poly1305 {
public:
    ChaCha20Poly1305();
    ~ChaCha20Poly1305();
    ChaCha20Poly1305(const ChaCha20Poly1305&) = delete;
    ChaCha20Poly1305& operator=(const ChaCha20Poly1305&) = delete;

    // `out` receives length + 16 bytes: the ciphertext, then the tag. In place (out == in) is allowed.
    bool seal(const Key32& key, const std::uint8_t* nonce, const std::uint8_t* in, std::size_t length,
              std::uint8_t* out);
    // `in` holds the ciphertext and its tag (sealedLength >= 16); `out` receives sealedLength - 16
    // bytes. False, with `out` undefined, when the tag does not authenticate.
    bool open(const Key32& key, const std::uint8_t* nonce, const std::uint8_t* in, std::size_t sealedLength,
              std::uint8_t* out);

private:
    EVP_CIPHER_CTX* context_;
};

}  // namespace mirado::crypto
