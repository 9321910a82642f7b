#include <tiffio.h>

#include <algorithm>
#include <cstring>
#include <vector>

#include "PictureDecoders.h"
#include "PictureOrientation.h"

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
// The data counts as a read-only mapped file: libtiff reads mapped files in place and never writes
// to them (it maps real files read-only). Its unmapped path refuses some valid uncompressed tiles.
int mapMemory(thandle_t handle, void** base, toff_t* size) {
    auto* source = static_cast<MemorySource*>(handle);
    *base = const_cast<std::uint8_t*>(source->data.data());
    *size = source->data.size();
    return 1;
}
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
    TIFF* tiff = TIFFClientOpenExt("memory", "r", &source, readFromMemory, refuseWrite, seekInMemory, closeNothing,
                                   sizeOfMemory, mapMemory, unmapNothing, options);
    TIFFOpenOptionsFree(options);
    return tiff;
}

// libtiff's RGBA reader handles every layout (strips, tiles, palette, grey, CMYK, YCbCr, any bit
// depth) and hands back premultiplied colour, so a pixel over white is c + 255 - a.
void rasterRowToBgr(const std::uint32_t* raster, std::uint8_t* bgr, std::uint32_t width) {
    for (std::uint32_t x = 0; x < width; ++x, bgr += 3) {
        const std::uint32_t pixel = raster[x];
        const unsigned transparency = 255u - TIFFGetA(pixel);
        bgr[0] = static_cast<std::uint8_t>(std::min(255u, TIFFGetB(pixel) + transparency));
        bgr[1] = static_cast<std::uint8_t>(std::min(255u, TIFFGetG(pixel) + transparency));
        bgr[2] = static_cast<std::uint8_t>(std::min(255u, TIFFGetR(pixel) + transparency));
    }
}

// The reader's own orientation handling only flips, so 5..8 (columns stored as rows) came out wrong:
// the rows are read as stored and placed here, for all eight orientations alike.
class RasterReading {
public:
    explicit RasterReading(TIFF* tiff) : tiff_(tiff) {}
    ~RasterReading() {
        if (begun_) TIFFRGBAImageEnd(&image_);
    }
    RasterReading(const RasterReading&) = delete;
    RasterReading& operator=(const RasterReading&) = delete;

    bool read(Rgb24Picture& picture) {
        char message[1024];
        if (TIFFRGBAImageOK(tiff_, message) == 0 || TIFFRGBAImageBegin(&image_, tiff_, 0, message) == 0) return false;
        begun_ = true;
        const std::uint32_t width = image_.width;
        const std::uint32_t height = image_.height;
        if (width > static_cast<std::uint32_t>(INT32_MAX) || height > static_cast<std::uint32_t>(INT32_MAX)) return false;
        const PictureOrientation orientation(image_.orientation);
        // Checked against the budget before the library reads (and allocates for) any pixel.
        if (!orientation.allocate(picture, static_cast<int>(width), static_cast<int>(height))) return false;
        image_.req_orientation = ORIENTATION_TOPLEFT;
        image_.orientation = ORIENTATION_TOPLEFT;
        // A band of whole strips (or tiles) at a time, so the 32-bit raster costs a band, not a picture.
        const std::uint32_t band = std::clamp<std::uint32_t>(bandHeight(), 1, height);
        std::vector<std::uint32_t, UninitialisedAllocator<std::uint32_t>> raster(static_cast<std::size_t>(width) * band);
        PixelBytes row(3 * static_cast<std::size_t>(width));
        for (std::uint32_t first = 0; first < height; first += band) {
            const std::uint32_t rows = std::min(band, height - first);
            image_.row_offset = static_cast<int>(first);
            image_.col_offset = 0;
            if (TIFFRGBAImageGet(&image_, raster.data(), width, rows) == 0) return false;
            for (std::uint32_t y = 0; y < rows; ++y) {
                rasterRowToBgr(raster.data() + static_cast<std::size_t>(y) * width, row.data(), width);
                orientation.place(picture, static_cast<int>(first + y), 1, row.data(), row.size());
            }
        }
        return true;
    }

private:
    std::uint32_t bandHeight() const {
        std::uint32_t rows = 0;
        if (TIFFIsTiled(tiff_) != 0) return TIFFGetField(tiff_, TIFFTAG_TILELENGTH, &rows) != 0 ? rows : 0;
        return TIFFGetFieldDefaulted(tiff_, TIFFTAG_ROWSPERSTRIP, &rows) != 0 ? rows : 0;
    }

    TIFF* tiff_;
    TIFFRGBAImage image_{};
    bool begun_ = false;
};

}  // namespace

bool decodeTiff(std::span<const std::uint8_t> data, Rgb24Picture& picture) {
    if (data.empty()) return false;
    MemorySource source{data};
    TIFF* tiff = openInMemory(source);
    if (tiff == nullptr) return false;
    bool decoded = false;
    {
        RasterReading reading(tiff);
        decoded = reading.read(picture);
    }
    TIFFClose(tiff);
    return decoded;
}

}  // namespace mirado
