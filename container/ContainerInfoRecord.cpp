#include "ContainerInfoRecord.h"

#include <cstring>

namespace mirado {
namespace {

void putU64(std::uint8_t* at, std::uint64_t value) {
    for (int i = 0; i < 8; ++i) at[i] = std::uint8_t(value >> (8 * i));
}

std::uint64_t getU64(const std::uint8_t* at) {
    std::uint64_t value = 0;
    for (int i = 7; i >= 0; --i) value = (value << 8) | at[i];
    return value;
}

// UTF-16LE, cut to leave room for the terminating zero of a field of `units` units.
void putText(std::uint8_t* at, std::size_t units, std::u16string_view text) {
    const std::size_t count = std::min(text.size(), units - 1);
    for (std::size_t i = 0; i < count; ++i) {
        at[2 * i] = std::uint8_t(text[i]);
        at[2 * i + 1] = std::uint8_t(text[i] >> 8);
    }
}

std::u16string getText(const std::uint8_t* at, std::size_t units) {
    std::u16string text;
    for (std::size_t i = 0; i < units; ++i) {
        const char16_t unit = char16_t(at[2 * i] | (at[2 * i + 1] << 8));
        if (unit == 0) break;
        text.push_back(unit);
    }
    return text;
}

}  // namespace

ContainerInfoRecord::Bytes ContainerInfoRecord::toBytes() const {
    Bytes bytes{};
    putU64(bytes.data() + format::kPayloadOffsetAt, payloadOffset);
    putU64(bytes.data() + format::kPayloadSizeAt, payloadSize);
    putText(bytes.data() + format::kSourceNameAt, format::kSourceNameUnits, sourceName);
    std::memcpy(bytes.data() + format::kCheckValueAt, format::kCheckValue.data(), format::kCheckValue.size());
    putText(bytes.data() + format::kWatermarkTextAt, format::kWatermarkTextUnits, watermarkText);
    bytes[format::kWatermarkPositionAt] = watermarkPosition;
    bytes[format::kWatermarkColourAt] = watermarkColour;
    bytes[format::kWatermarkFontSizeAt] = watermarkFontSize;
    bytes[format::kMarkerByteAt] = markerByte;
    return bytes;
}

ContainerInfoRecord ContainerInfoRecord::fromBytes(const std::uint8_t* bytes) {
    ContainerInfoRecord record;
    record.payloadOffset = getU64(bytes + format::kPayloadOffsetAt);
    record.payloadSize = getU64(bytes + format::kPayloadSizeAt);
    record.sourceName = getText(bytes + format::kSourceNameAt, format::kSourceNameUnits);
    record.watermarkText = getText(bytes + format::kWatermarkTextAt, format::kWatermarkTextUnits);
    record.watermarkPosition = bytes[format::kWatermarkPositionAt];
    record.watermarkColour = bytes[format::kWatermarkColourAt];
    record.watermarkFontSize = bytes[format::kWatermarkFontSizeAt];
    record.markerByte = bytes[format::kMarkerByteAt];
    return record;
}

}  // namespace mirado
