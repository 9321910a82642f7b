#pragma once
#include <cstddef>
#include <cstdint>
#include <string_view>

// Byte layout of a .pmpk container. Everything from kEncipheredFrom to the end of the file is enciphered;
// the byte at file offset X uses key byte (X - kEncipheredFrom) mod 16.
namespace mirado::format {

inline constexpr std::size_t kHeaderSize = 24;
inline constexpr std::int64_t kEncipheredFrom = 24;
inline constexpr std::int64_t kRecordCountOffset = 24;
inline constexpr std::int64_t kRecordOffset = 28;
inline constexpr std::size_t kRecordSize = 704;
inline constexpr std::int64_t kPayloadOffset = 732;

inline constexpr std::uint32_t kFormatTag = 10001;
inline constexpr std::uint32_t kRecordCount = 1;

// Plain header field offsets.
inline constexpr std::size_t kFormatTagAt = 0;
inline constexpr std::size_t kWatermarkMarkAt = 12;

// Record field offsets (from the record's first byte).
inline constexpr std::size_t kPayloadOffsetAt = 0;
inline constexpr std::size_t kPayloadSizeAt = 8;
inline constexpr std::size_t kSourceNameAt = 16;
inline constexpr std::size_t kSourceNameUnits = 260;  // including the terminating zero
inline constexpr std::size_t kCheckValueAt = 552;
inline constexpr std::size_t kWatermarkTextAt = 568;
inline constexpr std::size_t kWatermarkTextUnits = 64;  // including the terminating zero
inline constexpr std::size_t kWatermarkPositionAt = 696;
inline constexpr std::size_t kWatermarkColourAt = 697;
inline constexpr std::size_t kWatermarkFontSizeAt = 698;
inline constexpr std::size_t kMarkerByteAt = 699;

inline constexpr std::string_view kCheckValue = "KAVMEROTSUNILQPX";
inline constexpr std::string_view kExtension = "pmpk";

}  // namespace mirado::format
