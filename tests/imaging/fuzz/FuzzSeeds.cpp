#include <cstdio>
#include <filesystem>
#include <fstream>
#include <png.h>
#include <tiffio.h>

#include "TestPictures.h"

// Writes the decoder fuzzer's seed corpus into the folder given: one small picture of each
// kind and layout, led by the byte that picks its decoder.
int main(int argc, char** argv) {
    using namespace mirado::test;
    if (argc != 2) return 2;
    const std::filesystem::path folder = argv[1];
    std::filesystem::create_directories(folder);
    const auto colours = [](int channels) {
        return rasterOf(12, 9, channels, [channels](int x, int y) {
            const Rgb c = colourBlock(x, y, 12, 9);
            std::vector<std::uint8_t> samples{c.r, c.g, c.b, static_cast<std::uint8_t>(x * 20)};
            samples.resize(static_cast<std::size_t>(channels));
            return samples;
        });
    };
    const Raster indices = rasterOf(12, 9, 1, [](int x, int y) { return std::vector<std::uint8_t>{std::uint8_t((x + y) % 4)}; });
    const std::vector<Rgb> palette{{255, 0, 0}, {0, 255, 0}, {0, 0, 255}, {9, 9, 9}};
    PngOptions alphaInterlaced{PNG_COLOR_TYPE_RGB_ALPHA, 8, true, {}, {}};
    PngOptions indexed{PNG_COLOR_TYPE_PALETTE, 8, false, palette, {0, 128}};
    TiffOptions tiled;
    tiled.tileSize = 16;
    TiffOptions tiffPalette;
    tiffPalette.photometric = PHOTOMETRIC_PALETTE;
    tiffPalette.bitsPerSample = 8;
    tiffPalette.colourMap.assign(3 * 256, 0x8000);
    GifFrame frame{0, 0, 12, 9, indices.samples, {}, 2, true};
    std::vector<Bytes> bmpRows(9, Bytes(12, 1));
    BmpOptions bmpIndexed;
    bmpIndexed.bitsPerPixel = 8;
    bmpIndexed.palette = palette;

    // Run-length BMPs: runs, stored pixels, a jump, row and picture ends.
    const Bytes runs{4, 0x12, 0, 3, 0x34, 0x50, 0, 0, 0, 2, 2, 1, 6, 0x21, 0, 0, 0, 1};
    const auto runLength = [&](int bits) {
        BmpOptions options;
        options.bitsPerPixel = bits;
        options.compression = bits == 8 ? 1 : 2;
        options.palette = palette;
        Bytes bytes = bmpOf(12, 4, std::vector<Bytes>(4, Bytes(12 * bits / 8, 0)), options);
        bytes.resize(14 + 40 + 4 * palette.size());
        bytes.insert(bytes.end(), runs.begin(), runs.end());
        return bytes;
    };
    // A JPEG turned by its EXIF block (orientation 6, big-endian).
    Bytes turned = jpegOf(colours(3));
    const Bytes exif{0xFF, 0xE1, 0, 34, 'E', 'x', 'i', 'f', 0, 0, 'M', 'M', 0, 42, 0, 0, 0, 8, 0, 1,
                     0x01, 0x12, 0, 3, 0, 0, 0, 1, 0, 6, 0, 0, 0, 0, 0, 0};
    turned.insert(turned.begin() + 2, exif.begin(), exif.end());
    TiffOptions tiffTurned;
    tiffTurned.orientation = 7;

    const std::vector<std::pair<std::uint8_t, Bytes>> seeds{
        {0, runLength(8)},
        {0, runLength(4)},
        {1, turned},
        {3, tiffOf(colours(3), tiffTurned)},
        {0, bmpOf(12, 9, bmpRows, bmpIndexed)},
        {0, bmpOf(4, 9, bmpRows, {})},
        {1, jpegOf(colours(3))},
        {1, jpegOf(colours(3), {true, false})},
        {1, jpegOf(colours(1))},
        {1, jpegOf(colours(4), {false, true})},
        {2, pngOf(colours(3), {})},
        {2, pngOf(colours(4), alphaInterlaced)},
        {2, pngOf(indices, indexed)},
        {3, tiffOf(colours(3), {})},
        {3, tiffOf(colours(3), tiled)},
        {3, tiffOf(indices, tiffPalette)},
        {4, gifOf(12, 9, palette, {frame})},
    };
    int number = 0;
    for (const auto& [decoder, bytes] : seeds) {
        std::ofstream file(folder / ("seed-" + std::to_string(number++)), std::ios::binary);
        file.put(static_cast<char>(decoder));
        file.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    }
    return 0;
}
