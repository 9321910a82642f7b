#pragma once
#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>

#include "ContainerFormat.h"
#include "ContainerInfoRecord.h"

namespace mirado {

// The start of a format 2 container's age plaintext: a magic, the format version, then the same
// 704-byte record as format 1 (check value included) with its payload offset counted in the plaintext.
// The media bytes follow at kSize, so media position p lies at plaintext offset kSize + p.
struct SealedPreamble {
    static constexpr std::string_view kMagic = "MiradoSealed";
    static constexpr std::size_t kVersionAt = 12;
    static constexpr std::size_t kRecordAt = 16;
    static constexpr std::size_t kSize = kRecordAt + format::kRecordSize;

    using Bytes = std::array<std::uint8_t, kSize>;
    // The record as given, with payloadOffset set to kSize.
    static Bytes toBytes(const ContainerInfoRecord& record);
    // The record, when the magic, version, check value, payload offset and a payload size that ends
    // exactly at the plaintext's end (of `plaintextSize` bytes) are all right.
    static std::optional<ContainerInfoRecord> parse(const std::uint8_t* bytes, std::uint64_t plaintextSize);
};

}  // namespace mirado
