#include <gtest/gtest.h>

#include "DecodeToRgb24.h"
#include "TestPictures.h"

namespace mirado::test {
namespace {

Rgb24Picture decodeJpegBytes(const Bytes& bytes) {
    Rgb24Picture picture;
    EXPECT_TRUE(decodeToRgb24(bytes.data(), bytes.size(), u"photo.jpg", picture));
    return picture;
}

Raster blocks(int width, int height) {
    return rasterOf(width, height, 3, [&](int x, int y) {
        const Rgb c = colourBlock(x, y, width, height);
        return std::vector<std::uint8_t>{c.r, c.g, c.b};
    });
}

TEST(DecodeJpeg, ColourBlocksLandBottomUpInBlueGreenRedOrder) {
    // 48 x 32: blocks on 8-pixel boundaries keep JPEG's losses tiny at quality 100.
    for (const bool progressive : {false, true}) {
        const Rgb24Picture picture = decodeJpegBytes(jpegOf(blocks(48, 32), {progressive, false}));
        ASSERT_EQ(picture.width, 48);
        ASSERT_EQ(picture.height, 32);
        EXPECT_EQ(picture.stride, 144);
        EXPECT_LE(largestDifference(picture, [](int x, int y) { return colourBlock(x, y, 48, 32); }), 3)
            << "progressive " << progressive;
        // Memory row 0 is the picture's bottom row: blue on the left, stored blue first.
        EXPECT_GT(picture.pixels[0], 250);
        EXPECT_LT(picture.pixels[2], 5);
    }
}

TEST(DecodeJpeg, OddWidthGetsRowsPaddedWithZeros) {
    const Rgb24Picture picture = decodeJpegBytes(jpegOf(blocks(13, 5)));
    ASSERT_EQ(picture.width, 13);
    EXPECT_EQ(picture.stride, 40);
    ASSERT_EQ(picture.pixels.size(), 40u * 5);
    for (int y = 0; y < 5; ++y) EXPECT_EQ(picture.rowFromTop(y)[39], 0);
}

TEST(DecodeJpeg, GreyPictureKeepsItsGreyLevels) {
    const auto grey = [](int x, int y) { return static_cast<std::uint8_t>(x < 8 ? 20 : y < 8 ? 128 : 235); };
    const Rgb24Picture picture =
        decodeJpegBytes(jpegOf(rasterOf(16, 16, 1, [&](int x, int y) { return std::vector<std::uint8_t>{grey(x, y)}; })));
    EXPECT_LE(largestDifference(picture, [&](int x, int y) {
                  const std::uint8_t v = grey(x, y);
                  return Rgb{v, v, v};
              }),
              1);
}

// Inverted (Adobe) CMYK samples: stored value s means ink 255 - s, so red = C * K / 255.
TEST(DecodeJpeg, CmykAndYcckShowTheirTrueColours) {
    const std::vector<std::vector<std::uint8_t>> inks{
        {255, 0, 0, 255}, {255, 255, 255, 128}, {0, 255, 255, 255}, {255, 255, 0, 200}};
    const std::vector<Rgb> colours{{255, 0, 0}, {128, 128, 128}, {0, 255, 255}, {200, 200, 0}};
    const auto block = [](int x, int y) { return (y >= 8 ? 2 : 0) + (x >= 8 ? 1 : 0); };
    const Raster cmyk = rasterOf(16, 16, 4, [&](int x, int y) { return inks[block(x, y)]; });
    for (const bool ycck : {false, true}) {
        const Rgb24Picture picture = decodeJpegBytes(jpegOf(cmyk, {false, ycck}));
        EXPECT_LE(largestDifference(picture, [&](int x, int y) { return colours[block(x, y)]; }), 4) << "ycck " << ycck;
    }
}

TEST(DecodeJpeg, LargePictureDecodesEveryRow) {
    // More rows than one batch of scanlines, and a height that is no multiple of it.
    const auto colour = [](int x) { return x < 32 ? Rgb{255, 0, 0} : Rgb{0, 0, 255}; };
    const Raster bands = rasterOf(64, 203, 3, [&](int x, int) {
        const Rgb c = colour(x);
        return std::vector<std::uint8_t>{c.r, c.g, c.b};
    });
    const Rgb24Picture picture = decodeJpegBytes(jpegOf(bands));
    ASSERT_EQ(picture.height, 203);
    EXPECT_LE(largestDifference(picture, [&](int x, int) { return colour(x); }), 3);
}

}  // namespace
}  // namespace mirado::test
