#pragma once
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "Rgb24Picture.h"

// Test pictures made with each library's own encoder (BMP by hand), and pixel access helpers.
namespace mirado::test {

using Bytes = std::vector<std::uint8_t>;

struct Rgb {
    std::uint8_t r = 0, g = 0, b = 0;
    bool operator==(const Rgb&) const = default;
};

// The colour a decoded picture shows at (x, y), counted from its top-left corner.
Rgb pixelOf(const Rgb24Picture& picture, int x, int y);

// Four blocks: red top left, green top right, blue bottom left, yellow bottom right.
Rgb colourBlock(int x, int y, int width, int height);

// Largest channel difference between the picture and expected(x, y) over all pixels.
int largestDifference(const Rgb24Picture& picture, const std::function<Rgb(int, int)>& expected);

// Samples are interleaved, rows top-down, no padding.
struct Raster {
    int width = 0;
    int height = 0;
    int channels = 0;
    Bytes samples;
};
Raster rasterOf(int width, int height, int channels, const std::function<std::vector<std::uint8_t>(int, int)>& at);

struct JpegOptions {
    bool progressive = false;
    bool asYcck = false;  // CMYK samples stored as YCCK
};
// channels 1: grey, 3: RGB, 4: CMYK (Adobe convention: stored values are inverted ink).
Bytes jpegOf(const Raster& raster, JpegOptions options = {});

struct PngOptions {
    int colourType = 2;  // PNG_COLOR_TYPE_*
    int bitDepth = 8;
    bool interlaced = false;
    std::vector<Rgb> palette;
    std::vector<std::uint8_t> paletteAlpha;  // tRNS for a palette picture
};
// Samples in the PNG's own layout; 16-bit samples big-endian, sub-byte samples packed.
Bytes pngOf(const Raster& raster, const PngOptions& options);

struct TiffOptions {
    int photometric = 2;  // PHOTOMETRIC_*
    int bitsPerSample = 8;
    int orientation = 1;
    int compression = 1;  // COMPRESSION_*
    int tileSize = 0;     // 0: strips of rowsPerStrip rows
    int rowsPerStrip = 2;
    bool unassociatedAlpha = false;  // last channel is alpha
    std::vector<std::uint16_t> colourMap;  // red, green, blue runs for a palette picture
};
// Rows are given top-down as seen; they are stored in the order the orientation asks for.
Bytes tiffOf(const Raster& raster, const TiffOptions& options);

struct GifFrame {
    int left = 0, top = 0, width = 0, height = 0;
    std::vector<std::uint8_t> indices;  // top-down
    std::vector<Rgb> localColours;
    int transparentIndex = -1;
    bool interlaced = false;
};
Bytes gifOf(int canvasWidth, int canvasHeight, const std::vector<Rgb>& globalColours,
            const std::vector<GifFrame>& frames);

struct BmpOptions {
    int bitsPerPixel = 24;
    int headerSize = 40;
    bool topDown = false;
    int compression = 0;
    std::vector<std::uint32_t> masks;  // red, green, blue[, alpha]
    std::vector<Rgb> palette;
};
// Pixel rows already packed as the depth needs (blue-green-red order for 24 bits), top-down.
Bytes bmpOf(int width, int height, const std::vector<Bytes>& packedRows, const BmpOptions& options);

Bytes readFile(const std::string& path);

}  // namespace mirado::test
