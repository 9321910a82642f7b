#pragma once
#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>

// The fixed values of the age v1 file format (age-encryption.org/v1).
namespace mirado::age {

inline constexpr std::string_view kVersionLine = "age-encryption.org/v1";
inline constexpr std::string_view kScryptType = "scrypt";
inline constexpr std::string_view kScryptSaltLabel = "age-encryption.org/v1/scrypt";
inline constexpr std::string_view kHeaderKeyLabel = "header";
inline constexpr std::string_view kPayloadKeyLabel = "payload";

inline constexpr std::size_t kFileKeySize = 16;
inline constexpr std::size_t kScryptSaltSize = 16;
inline constexpr std::size_t kWrappedFileKeySize = 32;  // the file key and its tag
inline constexpr std::size_t kBodyColumns = 64;         // base64 columns of a stanza body line
inline constexpr std::size_t kPayloadNonceSize = 16;
inline constexpr std::size_t kChunkSize = 65536;
inline constexpr std::size_t kSealedChunkSize = kChunkSize + 16;

// Chunk i is sealed under an 11-byte big-endian counter and a flag byte that marks the last chunk.
inline std::array<std::uint8_t, 12> chunkNonce(std::uint64_t index, bool last) {
    std::array<std::uint8_t, 12> nonce{};
    for (int i = 0; i < 8; ++i) nonce[10 - std::size_t(i)] = std::uint8_t(index >> (8 * i));
    nonce[11] = last ? 1 : 0;
    return nonce;
}

}  // namespace mirado::age
