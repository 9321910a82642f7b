#include "Rgb24Picture.h"

#include <sys/mman.h>

#include <cstring>
#include <new>

namespace mirado {
namespace {

constexpr std::size_t kHugePage = std::size_t(2) << 20;

}  // namespace

void* allocatePixelStorage(std::size_t bytes) {
    if (bytes < 2 * kHugePage) return ::operator new(bytes);
    void* storage = ::operator new(bytes, std::align_val_t(kHugePage));
    // Only a hint: where huge pages are off the buffer simply stays on ordinary ones.
    ::madvise(storage, bytes / kHugePage * kHugePage, MADV_HUGEPAGE);
    return storage;
}

void freePixelStorage(void* storage, std::size_t bytes) noexcept {
    if (bytes < 2 * kHugePage) {
        ::operator delete(storage);
    } else {
        ::operator delete(storage, std::align_val_t(kHugePage));
    }
}

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
