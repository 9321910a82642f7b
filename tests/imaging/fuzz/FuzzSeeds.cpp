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

    const std::vector<std::pair<std::uint8_t, Bytes>> seeds{
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
