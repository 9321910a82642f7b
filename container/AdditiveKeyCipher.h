#pragma once
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "ContainerKey.h"

namespace mirado {

// Byte-wise addition of the key (subtraction to decipher) with a running key position 0..15.
class AdditiveKeyCipher {
public:
    explicit AdditiveKeyCipher(const ContainerKey& key = {}) : key_(key) {}

    // Both return false, touching nothing, for a null buffer or a length of 0.
    bool encipher(std::uint8_t* buffer, std::size_t length);
    bool decipher(std::uint8_t* buffer, std::size_t length);

    // Positions the key for the absolute file offset; offsets inside the plain header are refused.
    bool seekTo(std::int64_t offset);

    void setKey(const ContainerKey& key) { key_ = key; position_ = 0; }
    const ContainerKey& key() const { return key_; }
    int position() const { return position_; }
    void setPosition(int position) { position_ = position & 15; }

    // The password's character codes followed by zero bytes up to 16 (a 16-character password has no zero).
    static ContainerKey keyFromPassword(std::u16string_view password);

    // Compares record bytes 552..567 of a deciphered record with the fixed check value.
    static bool checkValueMatches(const std::uint8_t* record);

private:
    ContainerKey key_;
    int position_ = 0;
};

}  // namespace mirado
