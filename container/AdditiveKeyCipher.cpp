#include "AdditiveKeyCipher.h"

#include <cstring>

#include "ContainerFormat.h"

#if defined(__x86_64__) || defined(__i386__)
#include <immintrin.h>
#define MIRADO_CIPHER_AVX2 1
#endif

namespace mirado {
namespace {

// The key rotated so that rotated[j] is the key byte for the j-th byte from the current position.
ContainerKey rotatedKey(const ContainerKey& key, int position) {
    ContainerKey rotated;
    for (int j = 0; j < 16; ++j) rotated[j] = key[(position + j) & 15];
    return rotated;
}

#if defined(MIRADO_CIPHER_AVX2)
// 32 bytes hold the rotated key twice, so whole 32-byte blocks keep the rotation as 16-byte ones do.
// Returns how many bytes it did: a multiple of 32, so the caller goes on with the same rotation.
template <bool kAdd>
__attribute__((target("avx2"))) inline __m256i apply32(__m256i v, __m256i k) {
    if constexpr (kAdd) return _mm256_add_epi8(v, k);
    return _mm256_sub_epi8(v, k);
}

template <bool kAdd>
__attribute__((target("avx2"))) std::size_t applyKeyAvx2(std::uint8_t* buffer, std::size_t length,
                                                         const ContainerKey& rotated) {
    const __m256i k =
        _mm256_broadcastsi128_si256(_mm_loadu_si128(reinterpret_cast<const __m128i*>(rotated.data())));
    std::size_t i = 0;
    for (; i + 128 <= length; i += 128) {
        auto* p = reinterpret_cast<__m256i*>(buffer + i);
        const __m256i a = _mm256_loadu_si256(p), b = _mm256_loadu_si256(p + 1);
        const __m256i c = _mm256_loadu_si256(p + 2), d = _mm256_loadu_si256(p + 3);
        _mm256_storeu_si256(p, apply32<kAdd>(a, k));
        _mm256_storeu_si256(p + 1, apply32<kAdd>(b, k));
        _mm256_storeu_si256(p + 2, apply32<kAdd>(c, k));
        _mm256_storeu_si256(p + 3, apply32<kAdd>(d, k));
    }
    for (; i + 32 <= length; i += 32) {
        auto* p = reinterpret_cast<__m256i*>(buffer + i);
        _mm256_storeu_si256(p, apply32<kAdd>(_mm256_loadu_si256(p), k));
    }
    return i;
}

bool hasAvx2() {
    static const bool available = __builtin_cpu_supports("avx2");
    return available;
}
#endif

// Adds (or subtracts) the key 16 bytes at a time: whole blocks keep the rotation, so one rotated copy
// serves the whole buffer and the work runs at memory speed. AVX2 where the processor has it.
template <bool kAdd>
void applyKey(std::uint8_t* buffer, std::size_t length, const ContainerKey& key, int position) {
    const ContainerKey rotated = rotatedKey(key, position);
    std::size_t i = 0;
#if defined(MIRADO_CIPHER_AVX2)
    if (length >= 32 && hasAvx2()) i = applyKeyAvx2<kAdd>(buffer, length, rotated);
#endif
#if defined(__SSE2__)
    const __m128i k = _mm_loadu_si128(reinterpret_cast<const __m128i*>(rotated.data()));
    for (; i + 64 <= length; i += 64) {
        auto* p = reinterpret_cast<__m128i*>(buffer + i);
        __m128i a = _mm_loadu_si128(p), b = _mm_loadu_si128(p + 1);
        __m128i c = _mm_loadu_si128(p + 2), d = _mm_loadu_si128(p + 3);
        if constexpr (kAdd) {
            a = _mm_add_epi8(a, k); b = _mm_add_epi8(b, k); c = _mm_add_epi8(c, k); d = _mm_add_epi8(d, k);
        } else {
            a = _mm_sub_epi8(a, k); b = _mm_sub_epi8(b, k); c = _mm_sub_epi8(c, k); d = _mm_sub_epi8(d, k);
        }
        _mm_storeu_si128(p, a); _mm_storeu_si128(p + 1, b); _mm_storeu_si128(p + 2, c); _mm_storeu_si128(p + 3, d);
    }
#endif
    for (; i + 16 <= length; i += 16) {
        for (int j = 0; j < 16; ++j) {
            buffer[i + j] = kAdd ? std::uint8_t(buffer[i + j] + rotated[j]) : std::uint8_t(buffer[i + j] - rotated[j]);
        }
    }
    for (int j = 0; i < length; ++i, ++j) {
        buffer[i] = kAdd ? std::uint8_t(buffer[i] + rotated[j]) : std::uint8_t(buffer[i] - rotated[j]);
    }
}

}  // namespace

bool AdditiveKeyCipher::encipher(std::uint8_t* buffer, std::size_t length) {
    if (buffer == nullptr || length == 0) return false;
    applyKey<true>(buffer, length, key_, position_);
    position_ = int((position_ + length) & 15);
    return true;
}

bool AdditiveKeyCipher::decipher(std::uint8_t* buffer, std::size_t length) {
    if (buffer == nullptr || length == 0) return false;
    applyKey<false>(buffer, length, key_, position_);
    position_ = int((position_ + length) & 15);
    return true;
}

bool AdditiveKeyCipher::seekTo(std::int64_t offset) {
    if (offset < format::kEncipheredFrom) return false;
    position_ = int((offset - format::kEncipheredFrom) & 15);
    return true;
}

ContainerKey AdditiveKeyCipher::keyFromPassword(std::u16string_view password) {
    // The password with its terminating zero in a zero-filled buffer; the first 16 bytes are the key.
    // Only ASCII letters and digits pass the password rule, and for them the narrow form is the code.
    ContainerKey key{};
    for (std::size_t i = 0; i < password.size() && i < key.size(); ++i) {
        const char16_t unit = password[i];
        key[i] = unit < 0x80 ? std::uint8_t(unit) : std::uint8_t('?');
    }
    return key;
}

bool AdditiveKeyCipher::checkValueMatches(const std::uint8_t* record) {
    return record != nullptr &&
           std::memcmp(record + format::kCheckValueAt, format::kCheckValue.data(), format::kCheckValue.size()) == 0;
}

}  // namespace mirado
