#pragma once
#include <cstddef>
#include <cstdint>
#include <string_view>

namespace mirado {

// Which of the two container formats a file is, or a writer writes. Compatible is the original
// additive format, readable by every earlier player; Sealed is a standard age v1 file whose payload
// is authenticated and whose passphrase is hardened by scrypt.
enum class ContainerVersion : std::uint8_t { Compatible = 1, Sealed = 2 };

// scrypt work factor (log2 N) of a Sealed container: the default keeps opening at about half a second
// on a modest machine; readers refuse anything above the maximum, as age does, so a hostile file cannot
// make the player spend minutes or gigabytes.
inline constexpr int kDefaultWorkFactor = 16;
inline constexpr int kMinWorkFactor = 1;
inline constexpr int kMaxWorkFactor = 22;

}  // namespace mirado

// Byte layout of a format 1 .pmpk container. Everything from kEncipheredFrom to the end of the file is enciphered;
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
