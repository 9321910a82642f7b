#pragma once
#include <array>
#include <cstdint>
#include <string>

#include "ContainerFormat.h"

namespace mirado {

// The 704-byte record inside every container, deciphered.
struct ContainerInfoRecord {
    std::uint64_t payloadOffset = format::kPayloadOffset;
    std::uint64_t payloadSize = 0;
    std::u16string sourceName;     // at most 259 units
    std::u16string watermarkText;  // at most 63 units; empty when the container has no watermark
    std::uint8_t watermarkPosition = 0;
    std::uint8_t watermarkColour = 0;
    std::uint8_t watermarkFontSize = 0;
    std::uint8_t markerByte = 1;

    bool hasWatermark() const { return !watermarkText.empty(); }

    using Bytes = std::array<std::uint8_t, format::kRecordSize>;
    // Lays the record out (check value included); over-long texts are cut to their field.
    Bytes toBytes() const;
    // Reads a deciphered record; texts end at their first zero unit or at the field's end.
    static ContainerInfoRecord fromBytes(const std::uint8_t* bytes);
};

}  // namespace mirado
