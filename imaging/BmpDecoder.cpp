#include <algorithm>
#include <array>
#include <bit>
#include <cstring>

#include "PictureDecoders.h"
#include "RowConversion.h"

namespace mirado {

namespace {

constexpr std::uint32_t plainPixels = 0;   // BI_RGB
constexpr std::uint32_t runLength8 = 1;    // BI_RLE8
constexpr std::uint32_t runLength4 = 2;    // BI_RLE4
constexpr std::uint32_t maskedPixels = 3;  // BI_BITFIELDS
constexpr std::uint32_t maskedWithAlpha = 6;  // BI_ALPHABITFIELDS
constexpr std::size_t fileHeaderSize = 14;
constexpr std::uint32_t coreHeaderSize = 12;
constexpr std::uint32_t infoHeaderSize = 40;

std::uint32_t readU16(std::span<const std::uint8_t> data, std::size_t at) {
    return static_cast<std::uint32_t>(data[at] | data[at + 1] << 8);
}

std::uint32_t readU32(std::span<const std::uint8_t> data, std::size_t at) {
    return readU16(data, at) | readU16(data, at + 2) << 16;
}

// One colour channel given by a bit mask, scaled to 8 bits.
class MaskedChannel {
public:
    MaskedChannel() = default;
    explicit MaskedChannel(std::uint32_t mask)
        : mask_(mask), shift_(mask == 0 ? 0 : std::countr_zero(mask)), max_(mask >> shift_) {}
    bool present() const { return mask_ != 0; }
    std::uint8_t of(std::uint32_t pixel) const {
        if (max_ == 0) return 0;
        const std::uint64_t value = (pixel & mask_) >> shift_;
        return static_cast<std::uint8_t>((value * 255 + max_ / 2) / max_);
    }

private:
    std::uint32_t mask_ = 0;
    int shift_ = 0;
    std::uint32_t max_ = 0;
};

struct BmpLayout {
    int width = 0;
    int height = 0;
    bool topDown = false;
    bool runLength = false;
    unsigned bits = 0;
    std::size_t dataOffset = 0;
    std::size_t rowBytes = 0;
    std::array<std::uint8_t, 256 * 3> palette{};  // blue, green, red; entries the file lacks stay black
    MaskedChannel blue, green, red, alpha;
};

void readPalette(std::span<const std::uint8_t> data, std::size_t at, std::size_t entrySize, std::uint32_t used,
                 BmpLayout& layout) {
    const std::size_t capacity = std::size_t{1} << layout.bits;
    const std::size_t count = used == 0 || used > capacity ? capacity : used;
    for (std::size_t i = 0; i < count && at + entrySize * (i + 1) <= data.size(); ++i) {
        std::memcpy(&layout.palette[3 * i], &data[at + entrySize * i], 3);
    }
}

void readMasks(std::span<const std::uint8_t> data, std::uint32_t headerSize, std::uint32_t compression,
               BmpLayout& layout) {
    if (compression == plainPixels) {
        const bool wide = layout.bits == 32;
        layout.red = MaskedChannel(wide ? 0xFF0000u : 0x7C00u);
        layout.green = MaskedChannel(wide ? 0x00FF00u : 0x03E0u);
        layout.blue = MaskedChannel(wide ? 0x0000FFu : 0x001Fu);
        return;
    }
    // Masks sit right after the 40-byte header, inside it for the later header versions.
    constexpr std::size_t masksAt = fileHeaderSize + infoHeaderSize;
    if (data.size() < masksAt + 16) return;
    layout.red = MaskedChannel(readU32(data, masksAt));
    layout.green = MaskedChannel(readU32(data, masksAt + 4));
    layout.blue = MaskedChannel(readU32(data, masksAt + 8));
    if (headerSize >= 56 || compression == maskedWithAlpha) layout.alpha = MaskedChannel(readU32(data, masksAt + 12));
}

bool readLayout(std::span<const std::uint8_t> data, BmpLayout& layout) {
    if (data.size() < fileHeaderSize + coreHeaderSize || data[0] != 'B' || data[1] != 'M') return false;
    layout.dataOffset = readU32(data, 10);
    const std::uint32_t headerSize = readU32(data, 14);
    std::int64_t height = 0;
    std::uint32_t compression = plainPixels;
    std::uint32_t coloursUsed = 0;
    if (headerSize == coreHeaderSize) {
        layout.width = static_cast<int>(readU16(data, 18));
        height = readU16(data, 20);
        layout.bits = readU16(data, 24);
    } else {
        if (headerSize < infoHeaderSize || data.size() < fileHeaderSize + infoHeaderSize) return false;
        layout.width = static_cast<std::int32_t>(readU32(data, 18));
        height = static_cast<std::int32_t>(readU32(data, 22));
        layout.bits = readU16(data, 28);
        compression = readU32(data, 30);
        coloursUsed = readU32(data, 46);
    }
    layout.topDown = height < 0;
    height = height < 0 ? -height : height;
    if (layout.width <= 0 || height <= 0 || height > INT32_MAX) return false;
    layout.height = static_cast<int>(height);
    const bool indexed = layout.bits == 1 || layout.bits == 2 || layout.bits == 4 || layout.bits == 8;
    const bool masked = layout.bits == 16 || layout.bits == 32;
    layout.runLength = (layout.bits == 8 && compression == runLength8) || (layout.bits == 4 && compression == runLength4);
    const bool known = (indexed && compression == plainPixels) || layout.runLength ||
                       (layout.bits == 24 && compression == plainPixels) ||
                       (masked && (compression == plainPixels || compression == maskedPixels ||
                                   compression == maskedWithAlpha));
    if (!known) return false;
    if (indexed) readPalette(data, fileHeaderSize + headerSize, headerSize == coreHeaderSize ? 3 : 4, coloursUsed, layout);
    if (masked) readMasks(data, headerSize, compression, layout);
    layout.rowBytes = (static_cast<std::size_t>(layout.width) * layout.bits + 31) / 32 * 4;
    if (layout.runLength) return layout.dataOffset < data.size();
    return layout.dataOffset <= data.size() &&
           (data.size() - layout.dataOffset) / layout.rowBytes >= static_cast<std::size_t>(layout.height);
}

void indexedRow(const BmpLayout& layout, const std::uint8_t* source, std::uint8_t* bgr) {
    const unsigned perByte = 8 / layout.bits;
    const unsigned valueMask = (1u << layout.bits) - 1;
    for (int x = 0; x < layout.width; ++x, bgr += 3) {
        const unsigned shift = 8 - layout.bits * (x % perByte + 1);
        const unsigned index = source[x / perByte] >> shift & valueMask;
        std::memcpy(bgr, &layout.palette[3 * index], 3);
    }
}

void maskedRow(const BmpLayout& layout, const std::uint8_t* source, std::uint8_t* bgr) {
    const bool wide = layout.bits == 32;
    for (int x = 0; x < layout.width; ++x, bgr += 3) {
        const std::uint32_t pixel = wide ? source[0] | source[1] << 8 | source[2] << 16 | std::uint32_t{source[3]} << 24
                                         : static_cast<std::uint32_t>(source[0] | source[1] << 8);
        source += wide ? 4 : 2;
        const unsigned a = layout.alpha.present() ? layout.alpha.of(pixel) : 255u;
        bgr[0] = overWhite(layout.blue.of(pixel), a);
        bgr[1] = overWhite(layout.green.of(pixel), a);
        bgr[2] = overWhite(layout.red.of(pixel), a);
    }
}

// Run-length coded 8-bit and 4-bit pictures: pairs of a count and a value, or a zero and an escape
// (0 end of row, 1 end of picture, 2 a jump right and down, 3..255 that many pixels stored as they
// are, padded to whole 16-bit words). Pixels the data jumps over or never reaches take palette entry 0,
// runs beyond the row's end are cut off, and data that ends early leaves what it drew.
class RunLengthPixels {
public:
    RunLengthPixels(const BmpLayout& layout, Rgb24Picture& picture) : layout_(layout), picture_(picture) {}

    void decode(std::span<const std::uint8_t> data) {
        for (int y = 0; y < layout_.height; ++y) {
            std::uint8_t* row = picture_.rowFromTop(y);
            for (int x = 0; x < layout_.width; ++x) std::memcpy(row + 3 * x, &layout_.palette[0], 3);
        }
        std::size_t at = layout_.dataOffset;
        while (at + 2 <= data.size() && row_ < layout_.height) {
            const unsigned count = data[at];
            const unsigned value = data[at + 1];
            at += 2;
            if (count > 0) {
                for (unsigned i = 0; i < count; ++i) put(nibbleOrByte(value, i));
                continue;
            }
            if (value == 0) {
                ++row_;
                x_ = 0;
            } else if (value == 1) {
                return;
            } else if (value == 2) {
                if (at + 2 > data.size()) return;
                x_ = std::min(layout_.width, x_ + data[at]);
                row_ += data[at + 1];
                at += 2;
            } else {
                const std::size_t bytes = layout_.bits == 8 ? value : (value + 1) / 2;
                if (bytes > data.size() - at) return;
                for (unsigned i = 0; i < value; ++i) {
                    put(layout_.bits == 8 ? data[at + i] : nibbleOrByte(data[at + i / 2], i));
                }
                at += (bytes + 1) & ~std::size_t{1};
            }
        }
    }

private:
    // In 4-bit pictures a byte holds two pixels, the high nibble first.
    unsigned nibbleOrByte(unsigned value, unsigned index) const {
        if (layout_.bits == 8) return value;
        return index % 2 == 0 ? value >> 4 : value & 0x0F;
    }

    void put(unsigned index) {
        if (x_ < layout_.width && row_ < layout_.height) {
            const int y = layout_.topDown ? row_ : layout_.height - 1 - row_;
            std::memcpy(picture_.rowFromTop(y) + 3 * x_, &layout_.palette[3 * index], 3);
        }
        if (x_ < layout_.width) ++x_;
    }

    const BmpLayout& layout_;
    Rgb24Picture& picture_;
    int x_ = 0;    // the row's width once a run passes its end: later pixels of that row are dropped
    int row_ = 0;  // stored row, counted from the first stored
};

}  // namespace

// Our own reader: uncompressed, bit-field and run-length BMPs of every depth, either row order.
bool decodeBmp(std::span<const std::uint8_t> data, Rgb24Picture& picture) {
    BmpLayout layout;
    if (!readLayout(data, layout) || !picture.allocate(layout.width, layout.height)) return false;
    if (layout.runLength) {
        RunLengthPixels(layout, picture).decode(data);
        return true;
    }
    for (int stored = 0; stored < layout.height; ++stored) {
        const std::uint8_t* source = data.data() + layout.dataOffset + layout.rowBytes * static_cast<std::size_t>(stored);
        std::uint8_t* target = picture.rowFromTop(layout.topDown ? stored : layout.height - 1 - stored);
        if (layout.bits == 24) {
            std::memcpy(target, source, 3 * static_cast<std::size_t>(layout.width));
        } else if (layout.bits <= 8) {
            indexedRow(layout, source, target);
        } else {
            maskedRow(layout, source, target);
        }
    }
    return true;
}

}  // namespace mirado
