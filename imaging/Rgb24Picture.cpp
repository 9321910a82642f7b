#include "Rgb24Picture.h"

#include <cstring>
#include <new>

namespace mirado {

bool Rgb24Picture::allocate(int newWidth, int newHeight) {
    if (!withinPictureBudget(newWidth, newHeight)) return false;
    const int newStride = rgb24Stride(newWidth);
    try {
        pixels.resize(static_cast<std::size_t>(newStride) * static_cast<std::size_t>(newHeight));
    } catch (const std::bad_alloc&) {
        return false;
    }
    width = newWidth;
    height = newHeight;
    stride = newStride;
    // Decoders write only the pixels; the padding is zeroed so every byte of the picture is defined.
    const int padding = stride - 3 * width;
    if (padding > 0) {
        for (int y = 0; y < height; ++y) std::memset(rowFromTop(y) + 3 * width, 0, static_cast<std::size_t>(padding));
    }
    return true;
}

}  // namespace mirado
