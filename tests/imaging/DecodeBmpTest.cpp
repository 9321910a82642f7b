#include <gtest/gtest.h>

#include "DecodeToRgb24.h"
#include "TestPictures.h"

namespace mirado::test {
namespace {

Rgb24Picture decodeBmpBytes(const Bytes& bytes) {
    Rgb24Picture picture;
    EXPECT_TRUE(decodeToRgb24(bytes.data(), bytes.size(), u"old.Bmp", picture));
    return picture;
}

constexpr int width = 7;
constexpr int height = 5;
const auto blocks = [](int x, int y) { return colourBlock(x, y, width, height); };

std::vector<Bytes> packedRows(int bytesPerPixel, const std::function<Bytes(Rgb)>& pack) {
    std::vector<Bytes> rows;
    for (int y = 0; y < height; ++y) {
        Bytes row;
        for (int x = 0; x < width; ++x) {
            const Bytes pixel = pack(blocks(x, y));
            EXPECT_EQ(static_cast<int>(pixel.size()), bytesPerPixel);
            row.insert(row.end(), pixel.begin(), pixel.end());
        }
        rows.push_back(row);
    }
    return rows;
}

TEST(DecodeBmp, TwentyFourBitsInEitherRowOrder) {
    const auto rows = packedRows(3, [](Rgb c) { return Bytes{c.b, c.g, c.r}; });
    for (const bool topDown : {false, true}) {
        BmpOptions options;
        options.topDown = topDown;
        const Rgb24Picture picture = decodeBmpBytes(bmpOf(width, height, rows, options));
        ASSERT_EQ(picture.width, width);
        ASSERT_EQ(picture.height, height);
        EXPECT_EQ(largestDifference(picture, blocks), 0) << "top-down " << topDown;
    }
}

TEST(DecodeBmp, ThirtyTwoBitsUseAlphaOnlyWhenAMaskSaysSo) {
    // Plain 32-bit: the fourth byte is padding, even when zero.
    BmpOptions plain;
    plain.bitsPerPixel = 32;
    const Rgb24Picture opaque = decodeBmpBytes(bmpOf(width, height, packedRows(4, [](Rgb c) { return Bytes{c.b, c.g, c.r, 0}; }), plain));
    EXPECT_EQ(largestDifference(opaque, blocks), 0);

    // A version 5 header with an alpha mask: half-transparent black over white is 127.
    BmpOptions withAlpha;
    withAlpha.bitsPerPixel = 32;
    withAlpha.headerSize = 124;
    withAlpha.compression = 3;
    withAlpha.masks = {0x00FF0000, 0x0000FF00, 0x000000FF, 0xFF000000};
    const Rgb24Picture laid = decodeBmpBytes(bmpOf(2, 1, {Bytes{0, 0, 0, 128, 9, 9, 9, 0}}, withAlpha));
    EXPECT_EQ(pixelOf(laid, 0, 0), (Rgb{127, 127, 127}));
    EXPECT_EQ(pixelOf(laid, 1, 0), (Rgb{255, 255, 255}));
}

TEST(DecodeBmp, SixteenBitsPlainAndWithMasks) {
    // Plain 16-bit is 5-5-5; full channels are 31 and map to 255.
    const auto five = [](Rgb c) {
        const unsigned v = (c.r ? 31u << 10 : 0) | (c.g ? 31u << 5 : 0) | (c.b ? 31u : 0);
        return Bytes{static_cast<std::uint8_t>(v), static_cast<std::uint8_t>(v >> 8)};
    };
    BmpOptions plain;
    plain.bitsPerPixel = 16;
    EXPECT_EQ(largestDifference(decodeBmpBytes(bmpOf(width, height, packedRows(2, five), plain)), blocks), 0);

    const auto sixFive = [](Rgb c) {
        const unsigned v = (c.r ? 31u << 11 : 0) | (c.g ? 63u << 5 : 0) | (c.b ? 31u : 0);
        return Bytes{static_cast<std::uint8_t>(v), static_cast<std::uint8_t>(v >> 8)};
    };
    BmpOptions masked;
    masked.bitsPerPixel = 16;
    masked.compression = 3;
    masked.masks = {0xF800, 0x07E0, 0x001F};
    EXPECT_EQ(largestDifference(decodeBmpBytes(bmpOf(width, height, packedRows(2, sixFive), masked)), blocks), 0);
}

TEST(DecodeBmp, PalettePicturesShowTrueColoursAtEveryDepth) {
    const std::vector<Rgb> colours{{255, 0, 0}, {0, 255, 0}, {0, 0, 255}, {255, 255, 0}};
    const auto index = [&](int x, int y) { return (y >= height / 2 ? 2 : 0) + (x >= width / 2 ? 1 : 0); };
    for (const int bits : {1, 2, 4, 8}) {
        const int perByte = 8 / bits;
        std::vector<Bytes> rows;
        for (int y = 0; y < height; ++y) {
            Bytes row(static_cast<std::size_t>((width + perByte - 1) / perByte), 0);
            for (int x = 0; x < width; ++x) {
                const int value = bits == 1 ? index(x, y) & 1 : index(x, y);
                row[static_cast<std::size_t>(x / perByte)] |= static_cast<std::uint8_t>(value << (8 - bits * (x % perByte + 1)));
            }
            rows.push_back(row);
        }
        for (const int headerSize : {12, 40}) {
            BmpOptions options;
            options.bitsPerPixel = bits;
            options.headerSize = headerSize;
            options.palette = bits == 1 ? std::vector<Rgb>{colours[0], colours[1]} : colours;
            const Rgb24Picture picture = decodeBmpBytes(bmpOf(width, height, rows, options));
            EXPECT_EQ(largestDifference(picture, [&](int x, int y) { return colours[bits == 1 ? index(x, y) & 1 : index(x, y)]; }), 0)
                << bits << " bits, header " << headerSize;
        }
    }
}

TEST(DecodeBmp, ShortDataIsRefused) {
    Rgb24Picture picture;
    const Bytes whole = bmpOf(width, height, packedRows(3, [](Rgb c) { return Bytes{c.b, c.g, c.r}; }), {});
    EXPECT_FALSE(decodeToRgb24(whole.data(), whole.size() - 1, u"x.bmp", picture));
    EXPECT_EQ(picture.width, 0);
}

}  // namespace
}  // namespace mirado::test
