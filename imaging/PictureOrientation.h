#pragma once
#include <cstdint>

#include "Rgb24Picture.h"

namespace mirado {

// How a camera or a scanner stored a picture (the EXIF and TIFF orientation, 1..8): where the stored
// first row and first column lie in the picture as seen. Decoders place the stored rows through this,
// so everything after them (fitting, the watermark's corner) works on the picture as seen.
class PictureOrientation {
public:
    // Any value outside 1..8 counts as 1 (stored as seen).
    explicit PictureOrientation(int value) : value_(value >= 1 && value <= 8 ? value : 1) {}

    int value() const { return value_; }
    // 5..8 store the columns of the picture as seen as rows.
    bool swapsAxes() const { return value_ >= 5; }
    int seenWidth(int storedWidth, int storedHeight) const { return swapsAxes() ? storedHeight : storedWidth; }
    int seenHeight(int storedWidth, int storedHeight) const { return swapsAxes() ? storedWidth : storedHeight; }

    // Allocates the picture in its seen size for a stored size; false as Rgb24Picture::allocate.
    bool allocate(Rgb24Picture& picture, int storedWidth, int storedHeight) const;

    // Puts `count` stored rows, from stored row `first` on (counted from the top), each `rowBytes` apart
    // in blue-green-red, into the picture allocated for this orientation.
    void place(Rgb24Picture& picture, int first, int count, const std::uint8_t* rows, std::size_t rowBytes) const;

private:
    int value_;
};

// The orientation tag (0x0112) of the first image of an EXIF block (an APP1 marker's contents after
// "Exif\0\0" is a TIFF header and its IFDs); 1 when the block holds none or is damaged.
int exifOrientation(const std::uint8_t* data, std::size_t size);

}  // namespace mirado
