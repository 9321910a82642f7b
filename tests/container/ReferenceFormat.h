#pragma once
// The container's rules written out again, byte by byte and independently of the library, so tests can
// compare the library's output with what the format demands.
#include <cstdint>
#include <string>
#include <vector>

#include "container/ContainerKey.h"

namespace mirado::testing {

inline std::uint8_t keyByteAt(const ContainerKey& key, std::int64_t fileOffset) {
    return key[std::size_t((fileOffset - 24) % 16)];
}

// Byte-wise rule: the byte at file offset X >= 24 gets key byte (X - 24) mod 16 added.
inline void referenceEncipher(std::vector<std::uint8_t>& file, const ContainerKey& key) {
    for (std::size_t x = 24; x < file.size(); ++x) file[x] = std::uint8_t(file[x] + keyByteAt(key, std::int64_t(x)));
}

struct ReferenceWatermark {
    std::u16string text;
    std::uint8_t position = 0, colour = 0, fontSize = 0;
};

// The whole container in plain form (before enciphering), watermark mark left 0.
inline std::vector<std::uint8_t> referencePlainContainer(const std::vector<std::uint8_t>& payload,
                                                         const std::u16string& sourceName,
                                                         const ReferenceWatermark& mark = {}) {
    std::vector<std::uint8_t> file(732 + payload.size(), 0);
    file[0] = 0x11; file[1] = 0x27;  // 10001
    file[24] = 1;                    // one record
    const auto put64 = [&](std::size_t at, std::uint64_t v) {
        for (int i = 0; i < 8; ++i) file[at + std::size_t(i)] = std::uint8_t(v >> (8 * i));
    };
    put64(28, 732);
    put64(36, payload.size());
    for (std::size_t i = 0; i < sourceName.size(); ++i) {
        file[44 + 2 * i] = std::uint8_t(sourceName[i]);
        file[45 + 2 * i] = std::uint8_t(sourceName[i] >> 8);
    }
    const std::string check = "KAVMEROTSUNILQPX";
    for (std::size_t i = 0; i < 16; ++i) file[580 + i] = std::uint8_t(check[i]);
    for (std::size_t i = 0; i < mark.text.size(); ++i) {
        file[596 + 2 * i] = std::uint8_t(mark.text[i]);
        file[597 + 2 * i] = std::uint8_t(mark.text[i] >> 8);
    }
    file[724] = mark.position;
    file[725] = mark.colour;
    file[726] = mark.fontSize;
    file[727] = 1;
    for (std::size_t i = 0; i < payload.size(); ++i) file[732 + i] = payload[i];
    return file;
}

inline ContainerKey asciiKey(const std::string& password) {
    ContainerKey key{};
    for (std::size_t i = 0; i < password.size() && i < 16; ++i) key[i] = std::uint8_t(password[i]);
    return key;
}

}  // namespace mirado::testing
