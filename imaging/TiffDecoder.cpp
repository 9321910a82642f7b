#include <tiffio.h>

#include <algorithm>
#include <cstring>
#include <vector>

#include "PictureDecoders.h"

namespace mirado {

namespace {

struct MemorySource {
    std::span<const std::uint8_t> data;
    toff_t position = 0;
};

tmsize_t readFromMemory(thandle_t handle, void* target, tmsize_t size) {
    auto* source = static_cast<MemorySource*>(handle);
    if (size <= 0 || source->position >= source->data.size()) return 0;
    const auto count = std::min<toff_t>(static_cast<toff_t>(size), source->data.size() - source->position);
    std::memcpy(target, source->data.data() + source->position, count);
    source->position += count;
    return static_cast<tmsize_t>(count);
}

tmsize_t refuseWrite(thandle_t, void*, tmsize_t) { return 0; }

toff_t seekInMemory(thandle_t handle, toff_t offset, int whence) {
    auto* source = static_cast<MemorySource*>(handle);
    const toff_t base = whence == SEEK_CUR ? source->position : whence == SEEK_END ? source->data.size() : 0;
    // Offsets come from the file itself; one that wraps around is as bad as one past the end.
    if (offset > static_cast<toff_t>(-1) - base) return static_cast<toff_t>(-1);
    source->position = base + offset;
    return source->position;
}

int closeNothing(thandle_t) { return 0; }
toff_t sizeOfMemory(thandle_t handle) { return static_cast<MemorySource*>(handle)->data.size(); }
int mapNothing(thandle_t, void**, toff_t*) { return 0; }
void unmapNothing(thandle_t, void*, toff_t) {}

int reportNothing(TIFF*, void*, const char*, const char*, va_list) { return 1; }

// libtiff's own limit on one allocation, against headers that claim huge strips or tiles.
constexpr tmsize_t maxLibraryAllocation = tmsize_t{1} << 30;

TIFF* openInMemory(MemorySource& source) {
    TIFFOpenOptions* options = TIFFOpenOptionsAlloc();
    if (options == nullptr) return nullptr;
    TIFFOpenOptionsSetErrorHandlerExtR(options, reportNothing, nullptr);
    TIFFOpenOptionsSetWarningHandlerExtR(options, reportNothing, nullptr);
    TIFFOpenOptionsSetMaxSingleMemAlloc(options, maxLibraryAllocation);
    // "m": no mapping, so the library never works on (or swaps bytes in) the caller's data.
    TIFF* tiff = TIFFClientOpenExt("memory", "rm", &source, readFromMemory, refuseWrite, seekInMemory, closeNothing,
                                   sizeOfMemory, mapNothing, unmapNothing, options);
    TIFFOpenOptionsFree(options);
    return tiff;
}

// libtiff's RGBA reader handles every layout (strips, tiles, palette, grey, CMYK, YCbCr, any bit
// depth, orientation) and hands back premultiplied colour, so a pixel over white is c + 255 - a.
void rasterRowToBgr(const std::uint32_t* raster, std::uint8_t* bgr, int width) {
    for (int x = 0; x < width; ++x, bgr += 3) {
        const std::uint32_t pixel = raster[x];
        const unsigned transparency = 255u - TIFFGetA(pixel);
        bgr[0] = static_cast<std::uint8_t>(std::min(255u, TIFFGetB(pixel) + transparency));
        bgr[1] = static_cast<std::uint8_t>(std::min(255u, TIFFGetG(pixel) + transparency));
        bgr[2] = static_cast<std::uint8_t>(std::min(255u, TIFFGetR(pixel) + transparency));
    }
}

bool readRaster(TIFF* tiff, Rgb24Picture& picture) {
    char message[1024];
    if (TIFFRGBAImageOK(tiff, message) == 0) return false;
    std::uint32_t width = 0;
    std::uint32_t height = 0;
    if (TIFFGetField(tiff, TIFFTAG_IMAGEWIDTH, &width) == 0 || TIFFGetField(tiff, TIFFTAG_IMAGELENGTH, &height) == 0) {
        return false;
    }
    if (width > static_cast<std::uint32_t>(INT32_MAX) || height > static_cast<std::uint32_t>(INT32_MAX)) return false;
    if (!picture.allocate(static_cast<int>(width), static_cast<int>(height))) return false;
    std::vector<std::uint32_t, UninitialisedAllocator<std::uint32_t>> raster(static_cast<std::size_t>(width) * height);
    // Bottom-left origin: raster row 0 is the picture's bottom row, as in the picture's memory.
    if (TIFFReadRGBAImageOriented(tiff, width, height, raster.data(), ORIENTATION_BOTLEFT, 1) == 0) return false;
    for (int row = 0; row < picture.height; ++row) {
        rasterRowToBgr(raster.data() + static_cast<std::size_t>(row) * width,
                       picture.pixels.data() + static_cast<std::size_t>(row) * picture.stride, picture.width);
    }
    return true;
}

}  // namespace

bool decodeTiff(std::span<const std::uint8_t> data, Rgb24Picture& picture) {
    if (data.empty()) return false;
    MemorySource source{data};
    TIFF* tiff = openInMemory(source);
    if (tiff == nullptr) return false;
    const bool decoded = readRaster(tiff, picture);
    TIFFClose(tiff);
    return decoded;
}

}  // namespace mirado
