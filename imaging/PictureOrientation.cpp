#include "PictureOrientation.h"

#include <cstddef>
#include <cstring>

namespace mirado {

bool PictureOrientation::allocate(Rgb24Picture& picture, int storedWidth, int storedHeight) const {
    return picture.allocate(seenWidth(storedWidth, storedHeight), seenHeight(storedWidth, storedHeight));
}

void PictureOrientation::place(Rgb24Picture& picture, int first, int count, const std::uint8_t* rows,
                               std::size_t rowBytes) const {
    const bool swapped = swapsAxes();
    const int storedWidth = swapped ? picture.height : picture.width;
    const int storedHeight = swapped ? picture.width : picture.height;
    // Stored pixel (x, y) goes to seen column X and row Y (from the top):
    //   1: x, y   2: W-1-x, y   3: W-1-x, H-1-y   4: x, H-1-y
    //   5: y, x   6: H-1-y, x   7: H-1-y, W-1-x   8: y, W-1-x
    const bool mirrorX = value_ == 2 || value_ == 3 || value_ == 7 || value_ == 8;  // x counts down
    const bool mirrorY = value_ == 3 || value_ == 4 || value_ == 6 || value_ == 7;  // y counts down
    // Going one row down the picture as seen is one stride back in its bottom-up memory.
    const std::ptrdiff_t down = -static_cast<std::ptrdiff_t>(picture.stride);
    for (int i = 0; i < count; ++i) {
        const int y = mirrorY ? storedHeight - 1 - (first + i) : first + i;
        const std::uint8_t* source = rows + rowBytes * static_cast<std::size_t>(i);
        if (!swapped) {
            std::uint8_t* target = picture.rowFromTop(y);
            if (!mirrorX) {
                std::memcpy(target, source, 3 * static_cast<std::size_t>(storedWidth));
                continue;
            }
            for (int x = 0; x < storedWidth; ++x) std::memcpy(target + 3 * (storedWidth - 1 - x), source + 3 * x, 3);
            continue;
        }
        // The stored row becomes seen column y, walked from the top or from the bottom.
        std::uint8_t* target = picture.rowFromTop(mirrorX ? storedWidth - 1 : 0) + 3 * static_cast<std::ptrdiff_t>(y);
        const std::ptrdiff_t step = mirrorX ? -down : down;
        for (int x = 0; x < storedWidth; ++x, target += step) std::memcpy(target, source + 3 * x, 3);
    }
}

namespace {

// Reads the untrusted block; every read is checked against its end.
class ExifReader {
public:
    ExifReader(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}

    bool readHeader() {
        if (size_ < 8) return false;
        if (data_[0] == 'I' && data_[1] == 'I') {
            little_ = true;
        } else if (!(data_[0] == 'M' && data_[1] == 'M')) {
            return false;
        }
        return u16(2) == 42;
    }

    int orientation() const {
        const std::uint32_t ifd = u32(4);
        if (ifd > size_ || size_ - ifd < 2) return 1;
        const std::uint32_t entries = u16(ifd);
        for (std::uint32_t i = 0; i < entries; ++i) {
            const std::size_t at = ifd + 2 + std::size_t{12} * i;
            if (at + 12 > size_) return 1;
            if (u16(at) != 0x0112) continue;
            constexpr std::uint32_t shortType = 3;
            if (u16(at + 2) != shortType || u32(at + 4) != 1) return 1;
            const std::uint32_t value = u16(at + 8);
            return value >= 1 && value <= 8 ? static_cast<int>(value) : 1;
        }
        return 1;
    }

private:
    std::uint32_t u16(std::size_t at) const {
        return little_ ? data_[at] | data_[at + 1] << 8 : data_[at] << 8 | data_[at + 1];
    }
    std::uint32_t u32(std::size_t at) const {
        return little_ ? u16(at) | u16(at + 2) << 16 : u16(at) << 16 | u16(at + 2);
    }

    const std::uint8_t* data_;
    std::size_t size_;
    bool little_ = false;
};

}  // namespace

int exifOrientation(const std::uint8_t* data, std::size_t size) {
    ExifReader reader(data, size);
    return reader.readHeader() ? reader.orientation() : 1;
}

}  // namespace mirado
