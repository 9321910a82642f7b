#pragma once
#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

namespace mirado {

// Storage for large pixel buffers on huge pages where the system offers them: a picture's worth of
// fresh 4 KiB pages costs one fault each, which is a third of a JPEG decode; 2 MiB pages cost 1/512
// of that. Smaller buffers come from the ordinary heap.
void* allocatePixelStorage(std::size_t bytes);
void freePixelStorage(void* storage, std::size_t bytes) noexcept;

// Leaves new bytes uninitialised: every decoder writes each pixel itself, and zero-filling a
// picture's worth of fresh pages first would cost about as much as writing it.
template <typename T>
struct UninitialisedAllocator : std::allocator<T> {
    T* allocate(std::size_t n) { return static_cast<T*>(allocatePixelStorage(n * sizeof(T))); }
    void deallocate(T* storage, std::size_t n) noexcept { freePixelStorage(storage, n * sizeof(T)); }
    template <typename U>
    struct rebind {
        using other = UninitialisedAllocator<U>;
    };
    UninitialisedAllocator() = default;
    template <typename U>
    UninitialisedAllocator(const UninitialisedAllocator<U>&) noexcept {}
    template <typename U>
    void construct(U* place) noexcept {
        ::new (static_cast<void*>(place)) U;
    }
    template <typename U, typename... Args>
    void construct(U* place, Args&&... args) {
        ::new (static_cast<void*>(place)) U(std::forward<Args>(args)...);
    }
};

using PixelBytes = std::vector<std::uint8_t, UninitialisedAllocator<std::uint8_t>>;

// A decoded picture as the video surface draws it: rows bottom-up, each pixel blue, green, red,
// each row padded to a multiple of 4 bytes.
struct Rgb24Picture {
    int width = 0;
    int height = 0;
    int stride = 0;
    PixelBytes pixels;

    // Picture row y counted from the top.
    std::uint8_t* rowFromTop(int y) { return pixels.data() + static_cast<std::size_t>(height - 1 - y) * stride; }
    const std::uint8_t* rowFromTop(int y) const {
        return pixels.data() + static_cast<std::size_t>(height - 1 - y) * stride;
    }

    // Sizes the picture for width x height pixels; pixel contents undefined, row padding zero. False for an empty
    // size, one over the budget or when memory runs out.
    bool allocate(int newWidth, int newHeight);
};

// Bytes per row of a 24-bit picture of the given width.
constexpr int rgb24Stride(int width) { return (3 * width + 3) & ~3; }

// The budget of one picture: 100 million pixels (10000 x 10000, 300 MB as 24-bit rows). A few header
// bytes can claim any size, so every decoder checks this before it, or the library under it, allocates.
inline constexpr std::int64_t maxPicturePixels = 100'000'000;

// Whether a picture of that size stays within the budget.
constexpr bool withinPictureBudget(std::int64_t width, std::int64_t height) {
    return width > 0 && height > 0 && width <= maxPicturePixels && height <= maxPicturePixels / width;
}

}  // namespace mirado
