#include <gtest/gtest.h>
#include <tiffio.h>

#include "DecodeToRgb24.h"
#include "TestPictures.h"

namespace mirado::test {
namespace {

Rgb24Picture decodeTiffBytes(const Bytes& bytes, std::u16string_view name = u"scan.tiff") {
    Rgb24Picture picture;
    EXPECT_TRUE(decodeToRgb24(bytes.data(), bytes.size(), name, picture));
    return picture;
}

Raster rgbBlocks(int width, int height) {
    return rasterOf(width, height, 3, [&](int x, int y) {
        const Rgb c = colourBlock(x, y, width, height);
        return std::vector<std::uint8_t>{c.r, c.g, c.b};
    });
}

const auto blocks35x21 = [](int x, int y) { return colourBlock(x, y, 35, 21); };

TEST(DecodeTiff, StripsAndTilesGiveTheSamePicture) {
    TiffOptions strips;
    TiffOptions compressedStrips;
    compressedStrips.compression = COMPRESSION_LZW;
    compressedStrips.rowsPerStrip = 5;
    TiffOptions tiles;
    tiles.tileSize = 16;
    tiles.compression = COMPRESSION_ADOBE_DEFLATE;
    for (const TiffOptions& options : {strips, compressedStrips, tiles}) {
        const Rgb24Picture picture = decodeTiffBytes(tiffOf(rgbBlocks(35, 21), options));
        ASSERT_EQ(picture.width, 35);
        ASSERT_EQ(picture.height, 21);
        EXPECT_EQ(picture.stride, 108);
        EXPECT_EQ(largestDifference(picture, blocks35x21), 0) << "tile size " << options.tileSize;
    }
}

TEST(DecodeTiff, OrientationIsHonoured) {
    // Rows stored bottom first, as the tag says: the picture still shows upright.
    TiffOptions options;
    options.orientation = ORIENTATION_BOTLEFT;
    EXPECT_EQ(largestDifference(decodeTiffBytes(tiffOf(rgbBlocks(35, 21), options)), blocks35x21), 0);
}

TEST(DecodeTiff, TifExtensionIsRecognisedLikeTiff) {
    const Rgb24Picture picture = decodeTiffBytes(tiffOf(rgbBlocks(35, 21), {}), u"scan.TIF");
    EXPECT_EQ(largestDifference(picture, blocks35x21), 0);
}

TEST(DecodeTiff, GreyBilevelAndPaletteShowTheirLevelsAndColours) {
    TiffOptions grey;
    grey.photometric = PHOTOMETRIC_MINISBLACK;
    const Raster levels = rasterOf(6, 2, 1, [](int x, int) { return std::vector<std::uint8_t>{std::uint8_t(x * 51)}; });
    EXPECT_EQ(largestDifference(decodeTiffBytes(tiffOf(levels, grey)),
                                [](int x, int) { return Rgb{std::uint8_t(x * 51), std::uint8_t(x * 51), std::uint8_t(x * 51)}; }),
              0);

    // One bit, white is zero: 0b01010000 shows white, black, white, black, then white.
    TiffOptions bilevel;
    bilevel.photometric = PHOTOMETRIC_MINISWHITE;
    bilevel.bitsPerSample = 1;
    EXPECT_EQ(largestDifference(decodeTiffBytes(tiffOf(Raster{5, 1, 1, {0b01010000}}, bilevel)),
                                [](int x, int) { return x % 2 == 1 ? Rgb{0, 0, 0} : Rgb{255, 255, 255}; }),
              0);

    TiffOptions palette;
    palette.photometric = PHOTOMETRIC_PALETTE;
    palette.bitsPerSample = 2;
    palette.colourMap = {0xFFFF, 0, 0x2020, 0,  // red
                         0, 0xFFFF, 0x4040, 0,  // green
                         0, 0, 0x8080, 0xFFFF};  // blue
    const std::vector<Rgb> colours{{255, 0, 0}, {0, 255, 0}, {32, 64, 128}, {0, 0, 255}};
    EXPECT_EQ(largestDifference(decodeTiffBytes(tiffOf(Raster{4, 1, 1, {0b00011011}}, palette)),
                                [&](int x, int) { return colours[x]; }),
              0);
}

TEST(DecodeTiff, SixteenBitAndCmykShowTrueColours) {
    TiffOptions sixteen;
    sixteen.bitsPerSample = 16;
    Raster raster{1, 1, 3, {}};
    for (const std::uint16_t v : {std::uint16_t{0xFFFF}, std::uint16_t{0x8000}, std::uint16_t{0}}) {
        raster.samples.push_back(static_cast<std::uint8_t>(v));  // written in the machine's order
        raster.samples.push_back(static_cast<std::uint8_t>(v >> 8));
    }
    const Rgb shown = pixelOf(decodeTiffBytes(tiffOf(raster, sixteen)), 0, 0);
    EXPECT_EQ(shown.r, 255);
    EXPECT_NEAR(shown.g, 128, 1);
    EXPECT_EQ(shown.b, 0);

    // Ink values: full magenta and yellow make red; half black darkens it.
    TiffOptions cmyk;
    cmyk.photometric = PHOTOMETRIC_SEPARATED;
    const Raster inks{2, 1, 4, {0, 255, 255, 0, 0, 255, 255, 128}};
    const Rgb24Picture picture = decodeTiffBytes(tiffOf(inks, cmyk));
    EXPECT_EQ(pixelOf(picture, 0, 0), (Rgb{255, 0, 0}));
    EXPECT_NEAR(pixelOf(picture, 1, 0).r, 127, 1);
    EXPECT_EQ(pixelOf(picture, 1, 0).g, 0);
}

TEST(DecodeTiff, AlphaIsLaidOverWhite) {
    TiffOptions options;
    options.unassociatedAlpha = true;
    const Raster rgba{3, 1, 4, {10, 200, 30, 0, 0, 0, 0, 128, 20, 40, 60, 255}};
    const Rgb24Picture picture = decodeTiffBytes(tiffOf(rgba, options));
    EXPECT_EQ(pixelOf(picture, 0, 0), (Rgb{255, 255, 255}));
    EXPECT_EQ(pixelOf(picture, 1, 0), (Rgb{127, 127, 127}));
    EXPECT_EQ(pixelOf(picture, 2, 0), (Rgb{20, 40, 60}));
}

}  // namespace
}  // namespace mirado::test
