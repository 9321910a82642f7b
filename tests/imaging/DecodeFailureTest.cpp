#include <gtest/gtest.h>
#include <png.h>

#include <algorithm>
#include <string>

#include "DecodeToRgb24.h"
#include "TestPictures.h"

namespace mirado::test {
namespace {

struct Sample {
    std::u16string name;
    Bytes bytes;
};

std::vector<Sample> goodSamples() {
    const Raster rgb = rasterOf(40, 24, 3, [](int x, int y) {
        const Rgb c = colourBlock(x, y, 40, 24);
        return std::vector<std::uint8_t>{c.r, c.g, c.b};
    });
    GifFrame frame{0, 0, 40, 24, std::vector<std::uint8_t>(40 * 24, 1), {}, -1, false};
    std::vector<Bytes> bmpRows(24, Bytes(120, 7));
    PngOptions interlaced;
    interlaced.interlaced = true;
    return {{u"a.jpg", jpegOf(rgb)},
            {u"a.jpg", jpegOf(rgb, {true, false})},
            {u"a.png", pngOf(rgb, {})},
            {u"a.png", pngOf(rgb, interlaced)},
            {u"a.tiff", tiffOf(rgb, {})},
            {u"a.gif", gifOf(40, 24, {{1, 2, 3}, {4, 5, 6}}, {frame})},
            {u"a.bmp", bmpOf(40, 24, bmpRows, {})}};
}

// A picture that must survive every failed call untouched.
Rgb24Picture sentinel() {
    Rgb24Picture picture;
    EXPECT_TRUE(picture.allocate(3, 2));
    std::fill(picture.pixels.begin(), picture.pixels.end(), 0x5A);
    return picture;
}

void expectRefusedQuietly(const Bytes& bytes, std::size_t size, std::u16string_view name, const std::string& what) {
    Rgb24Picture picture = sentinel();
    testing::internal::CaptureStderr();
    testing::internal::CaptureStdout();
    const bool decoded = decodeToRgb24(bytes.data(), size, name, picture);
    const std::string printed = testing::internal::GetCapturedStderr() + testing::internal::GetCapturedStdout();
    EXPECT_FALSE(decoded) << what;
    EXPECT_EQ(printed, "") << what;
    EXPECT_EQ(picture.width, 3) << what;
    EXPECT_EQ(picture.height, 2) << what;
    EXPECT_TRUE(std::all_of(picture.pixels.begin(), picture.pixels.end(), [](std::uint8_t b) { return b == 0x5A; })) << what;
}

TEST(DecodeFailure, SamplesDecodeWhole) {
    // The failure cases below cut and damage these; first make sure they are good.
    for (const Sample& sample : goodSamples()) {
        Rgb24Picture picture;
        EXPECT_TRUE(decodeToRgb24(sample.bytes.data(), sample.bytes.size(), sample.name, picture));
        EXPECT_EQ(picture.width, 40);
        EXPECT_EQ(picture.height, 24);
    }
}

TEST(DecodeFailure, TruncatedDataIsRefusedQuietly) {
    for (const Sample& sample : goodSamples()) {
        const std::size_t size = sample.bytes.size();
        for (const std::size_t cut : {std::size_t{1}, std::size_t{8}, std::size_t{30}, size / 2, size - 20}) {
            // A JPEG cut after its headers shows what was decoded (the picture corpus tests it).
            if (sample.name == u"a.jpg" && cut > 30) continue;
            expectRefusedQuietly(sample.bytes, cut, sample.name,
                                 "cut to " + std::to_string(cut) + " of " + std::to_string(size));
        }
    }
}

TEST(DecodeFailure, DamagedHeadersAreRefusedQuietly) {
    for (Sample sample : goodSamples()) {
        // The first bytes hold every format's signature.
        for (std::size_t i = 0; i < 4; ++i) sample.bytes[i] ^= 0xFF;
        expectRefusedQuietly(sample.bytes, sample.bytes.size(), sample.name, "damaged signature");
    }
}

TEST(DecodeFailure, EmptyGarbageAndMismatchedDataAreRefusedQuietly) {
    const Bytes garbage(4096, 0xA7);
    const Bytes jpeg = goodSamples()[0].bytes;
    for (const std::u16string_view name : {u"a.jpg", u"a.png", u"a.tif", u"a.gif", u"a.bmp"}) {
        expectRefusedQuietly(garbage, 0, name, "size 0");
        expectRefusedQuietly(garbage, garbage.size(), name, "garbage");
    }
    expectRefusedQuietly(jpeg, jpeg.size(), u"a.png", "JPEG data named png");
    expectRefusedQuietly(jpeg, jpeg.size(), u"a.pmpk", "unknown extension");
    expectRefusedQuietly(jpeg, jpeg.size(), u"", "no name");
    Rgb24Picture picture = sentinel();
    EXPECT_FALSE(decodeToRgb24(nullptr, 100, u"a.jpg", picture));
    EXPECT_EQ(picture.width, 3);
}

TEST(DecodeFailure, BadPngChecksumIsRefused) {
    Bytes png = goodSamples()[2].bytes;
    // The IHDR chunk's data starts at byte 16; its checksum no longer fits.
    png[18] ^= 0x01;
    expectRefusedQuietly(png, png.size(), u"a.png", "IHDR checksum");
}

TEST(DecodeFailure, HugeClaimedSizeIsRefusedWithoutHarm) {
    // A BMP header claiming 2^30 pixels with no data behind it.
    Bytes bmp = bmpOf(1, 1, {Bytes{1, 2, 3}}, {});
    bmp[18] = 0x00, bmp[19] = 0x80, bmp[20] = 0x00, bmp[21] = 0x00;  // width 32768
    bmp[22] = 0x00, bmp[23] = 0x80, bmp[24] = 0x00, bmp[25] = 0x00;  // height 32768
    expectRefusedQuietly(bmp, bmp.size(), u"a.bmp", "huge BMP");

    // A JPEG whose frame header claims 65000 x 65000 pixels.
    Bytes jpeg = goodSamples()[0].bytes;
    const std::uint8_t startOfFrame[] = {0xFF, 0xC0};
    const auto frame = std::search(jpeg.begin(), jpeg.end(), std::begin(startOfFrame), std::end(startOfFrame));
    ASSERT_NE(frame, jpeg.end());
    const std::size_t at = static_cast<std::size_t>(frame - jpeg.begin()) + 5;  // marker, length, precision
    jpeg[at] = jpeg[at + 2] = 0xFD;
    jpeg[at + 1] = jpeg[at + 3] = 0xE8;
    expectRefusedQuietly(jpeg, jpeg.size(), u"a.jpg", "huge JPEG");

    // Just over the budget of 100 million pixels, in every decoder that reads a size from a header.
    jpeg[at] = 0x27, jpeg[at + 1] = 0x11;      // height 10001
    jpeg[at + 2] = 0x27, jpeg[at + 3] = 0x10;  // width 10000
    expectRefusedQuietly(jpeg, jpeg.size(), u"a.jpg", "JPEG over the budget");
    bmp[18] = 0x10, bmp[19] = 0x27;  // width 10000
    bmp[22] = 0x11, bmp[23] = 0x27;  // height 10001
    expectRefusedQuietly(bmp, bmp.size(), u"a.bmp", "BMP over the budget");
}

TEST(DecodeFailure, TheBudgetIsOneHundredMillionPixels) {
    EXPECT_TRUE(withinPictureBudget(10000, 10000));
    EXPECT_TRUE(withinPictureBudget(100'000'000, 1));
    EXPECT_FALSE(withinPictureBudget(10000, 10001));
    EXPECT_FALSE(withinPictureBudget(16384, 16384));
    EXPECT_FALSE(withinPictureBudget(1, 100'000'001));
    EXPECT_FALSE(withinPictureBudget(0, 5));
    EXPECT_FALSE(withinPictureBudget(INT32_MAX, INT32_MAX));
}

TEST(DecodeFailure, AGifClaimingMoreThanItsDataCanPaintIsRefused) {
    // A screen and a frame of 3000 x 3000 (within the budget) in a file of a few dozen bytes: LZW data
    // paints at most 4096 pixels per 3 bits, far fewer than 9 million.
    GifFrame frame{0, 0, 4, 4, std::vector<std::uint8_t>(16, 1), {}, -1, false};
    Bytes gif = gifOf(4, 4, {{1, 2, 3}, {4, 5, 6}}, {frame});
    Rgb24Picture picture;
    ASSERT_TRUE(decodeToRgb24(gif.data(), gif.size(), u"a.gif", picture));
    const auto claim = [](Bytes& bytes, std::size_t at) { bytes[at] = 0xB8, bytes[at + 1] = 0x0B; };  // 3000
    Bytes bigScreen = gif;
    claim(bigScreen, 6), claim(bigScreen, 8);
    expectRefusedQuietly(bigScreen, bigScreen.size(), u"a.gif", "screen of 3000 x 3000");
    // The image descriptor follows the header (13 bytes), the colour table (2 entries padded to 2) and
    // any extension; find its separator.
    const auto descriptor = std::find(gif.begin() + 13, gif.end(), 0x2C);
    ASSERT_NE(descriptor, gif.end());
    const std::size_t at = static_cast<std::size_t>(descriptor - gif.begin());
    Bytes bigFrame = gif;
    claim(bigFrame, at + 5), claim(bigFrame, at + 7);
    expectRefusedQuietly(bigFrame, bigFrame.size(), u"a.gif", "frame of 3000 x 3000");
}

}  // namespace
}  // namespace mirado::test
