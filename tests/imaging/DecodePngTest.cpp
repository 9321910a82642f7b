#include <gtest/gtest.h>
#include <png.h>

#include <cmath>

#include "DecodeToRgb24.h"
#include "TestPictures.h"

namespace mirado::test {
namespace {

Rgb24Picture decodePngBytes(const Bytes& bytes) {
    Rgb24Picture picture;
    EXPECT_TRUE(decodeToRgb24(bytes.data(), bytes.size(), u"image.PNG", picture));
    return picture;
}

Raster rgbBlocks(int width, int height) {
    return rasterOf(width, height, 3, [&](int x, int y) {
        const Rgb c = colourBlock(x, y, width, height);
        return std::vector<std::uint8_t>{c.r, c.g, c.b};
    });
}

TEST(DecodePng, ColourBlocksExactInBothRowOrders) {
    for (const bool interlaced : {false, true}) {
        PngOptions options;
        options.interlaced = interlaced;
        const Rgb24Picture picture = decodePngBytes(pngOf(rgbBlocks(13, 7), options));
        ASSERT_EQ(picture.width, 13);
        ASSERT_EQ(picture.height, 7);
        EXPECT_EQ(picture.stride, 40);
        EXPECT_EQ(largestDifference(picture, [](int x, int y) { return colourBlock(x, y, 13, 7); }), 0)
            << "interlaced " << interlaced;
        EXPECT_EQ(picture.rowFromTop(0)[39], 0) << "padding";
    }
}

// Over white: c * a / 255 + (255 - a), integer division.
TEST(DecodePng, AlphaIsLaidOverWhite) {
    const std::vector<std::vector<std::uint8_t>> rgba{
        {10, 200, 30, 0}, {0, 0, 0, 128}, {0, 0, 0, 255}, {200, 100, 50, 100}};
    const std::vector<Rgb> shown{{255, 255, 255}, {127, 127, 127}, {0, 0, 0}, {233, 194, 174}};
    const Raster raster = rasterOf(4, 3, 4, [&](int x, int) { return rgba[x]; });
    for (const bool interlaced : {false, true}) {
        PngOptions options;
        options.colourType = PNG_COLOR_TYPE_RGB_ALPHA;
        options.interlaced = interlaced;
        const Rgb24Picture picture = decodePngBytes(pngOf(raster, options));
        EXPECT_EQ(largestDifference(picture, [&](int x, int) { return shown[x]; }), 0) << "interlaced " << interlaced;
    }
}

TEST(DecodePng, GreyKeepsLevelsAtEveryDepth) {
    // 8 bits as given; 1, 2 and 4 bits stretched to the full range.
    const Raster eight = rasterOf(5, 2, 1, [](int x, int y) { return std::vector<std::uint8_t>{std::uint8_t(x * 50 + y)}; });
    PngOptions options;
    options.colourType = PNG_COLOR_TYPE_GRAY;
    EXPECT_EQ(largestDifference(decodePngBytes(pngOf(eight, options)),
                                [](int x, int y) {
                                    const auto v = std::uint8_t(x * 50 + y);
                                    return Rgb{v, v, v};
                                }),
              0);
    // One row of 8 two-bit samples 0,1,2,3,3,2,1,0 packed into two bytes.
    Raster twoBit{8, 1, 1, {0b00011011, 0b11100100}};
    options.bitDepth = 2;
    const std::vector<std::uint8_t> levels{0, 85, 170, 255, 255, 170, 85, 0};
    EXPECT_EQ(largestDifference(decodePngBytes(pngOf(twoBit, options)),
                                [&](int x, int) { return Rgb{levels[x], levels[x], levels[x]}; }),
              0);
}

TEST(DecodePng, GreyWithAlphaIsLaidOverWhite) {
    const Raster raster = rasterOf(2, 1, 2, [](int x, int) {
        return x == 0 ? std::vector<std::uint8_t>{0, 128} : std::vector<std::uint8_t>{90, 0};
    });
    PngOptions options;
    options.colourType = PNG_COLOR_TYPE_GRAY_ALPHA;
    const Rgb24Picture picture = decodePngBytes(pngOf(raster, options));
    EXPECT_EQ(pixelOf(picture, 0, 0), (Rgb{127, 127, 127}));
    EXPECT_EQ(pixelOf(picture, 1, 0), (Rgb{255, 255, 255}));
}

TEST(DecodePng, PaletteShowsTrueColoursNotIndices) {
    const std::vector<Rgb> palette{{255, 0, 0}, {0, 128, 255}, {1, 2, 3}, {250, 250, 0}};
    PngOptions options;
    options.colourType = PNG_COLOR_TYPE_PALETTE;
    options.palette = palette;
    const Raster eightBit = rasterOf(9, 3, 1, [](int x, int y) { return std::vector<std::uint8_t>{std::uint8_t((x + y) % 4)}; });
    EXPECT_EQ(largestDifference(decodePngBytes(pngOf(eightBit, options)), [&](int x, int y) { return palette[(x + y) % 4]; }), 0);
    // Four-bit indices 0,1,2,3 packed in pairs.
    options.bitDepth = 4;
    const Raster fourBit{4, 1, 1, {0x01, 0x23}};
    EXPECT_EQ(largestDifference(decodePngBytes(pngOf(fourBit, options)), [&](int x, int) { return palette[x]; }), 0);
}

TEST(DecodePng, PaletteTransparencyIsLaidOverWhite) {
    PngOptions options;
    options.colourType = PNG_COLOR_TYPE_PALETTE;
    options.palette = {{0, 0, 0}, {0, 0, 0}, {40, 80, 120}};
    options.paletteAlpha = {0, 128};  // the third entry stays opaque
    const Rgb24Picture picture = decodePngBytes(pngOf(Raster{3, 1, 1, {0, 1, 2}}, options));
    EXPECT_EQ(pixelOf(picture, 0, 0), (Rgb{255, 255, 255}));
    EXPECT_EQ(pixelOf(picture, 1, 0), (Rgb{127, 127, 127}));
    EXPECT_EQ(pixelOf(picture, 2, 0), (Rgb{40, 80, 120}));
}

TEST(DecodePng, SixteenBitSamplesAreScaledToTheNearestLevel) {
    const std::vector<std::uint16_t> values{0x0000, 0x12F0, 0x8080, 0xFFFF, 0x00FF, 0xFF00};
    Raster raster{2, 1, 3, {}};  // two bytes per sample
    for (const std::uint16_t v : values) {
        raster.samples.push_back(static_cast<std::uint8_t>(v >> 8));
        raster.samples.push_back(static_cast<std::uint8_t>(v));
    }
    PngOptions options;
    options.bitDepth = 16;
    const Rgb24Picture picture = decodePngBytes(pngOf(raster, options));
    const auto level = [&](std::size_t i) { return static_cast<std::uint8_t>(std::lround(values[i] * 255.0 / 65535.0)); };
    EXPECT_EQ(pixelOf(picture, 0, 0), (Rgb{level(0), level(1), level(2)}));
    EXPECT_EQ(pixelOf(picture, 1, 0), (Rgb{level(3), level(4), level(5)}));
}

}  // namespace
}  // namespace mirado::test
