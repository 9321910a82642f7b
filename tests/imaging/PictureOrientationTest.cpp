#include "PictureOrientation.h"

#include <gtest/gtest.h>

#include <array>

#include "TestPictures.h"

namespace mirado::test {
namespace {

// Stored pixel (x, y) carries its own coordinates, so the picture as seen tells where each one went.
Rgb stored(int x, int y) { return {static_cast<std::uint8_t>(x), static_cast<std::uint8_t>(y), 7}; }

TEST(PictureOrientation, EachValuePlacesTheStoredRowsWhereTheCameraMeantThem) {
    constexpr int w = 5, h = 3;
    // Where stored (x, y) appears, as seen: the EXIF and TIFF meaning of the eight values.
    const auto seenAt = [](int value, int x, int y) -> std::pair<int, int> {
        switch (value) {
            case 2: return {w - 1 - x, y};
            case 3: return {w - 1 - x, h - 1 - y};
            case 4: return {x, h - 1 - y};
            case 5: return {y, x};
            case 6: return {h - 1 - y, x};
            case 7: return {h - 1 - y, w - 1 - x};
            case 8: return {y, w - 1 - x};
            default: return {x, y};
        }
    };
    for (int value = 0; value <= 9; ++value) {
        const PictureOrientation orientation(value);
        Rgb24Picture picture;
        ASSERT_TRUE(orientation.allocate(picture, w, h));
        const bool turned = value >= 5 && value <= 8;
        ASSERT_EQ(picture.width, turned ? h : w) << value;
        Bytes rows;
        for (int y = 0; y < h; ++y) {
            for (int x = 0; x < w; ++x) {
                const Rgb c = stored(x, y);
                rows.insert(rows.end(), {c.b, c.g, c.r});
            }
        }
        // In two bands, as decoders hand them over.
        orientation.place(picture, 0, 2, rows.data(), 3 * w);
        orientation.place(picture, 2, 1, rows.data() + 2 * 3 * w, 3 * w);
        for (int y = 0; y < h; ++y) {
            for (int x = 0; x < w; ++x) {
                const auto [sx, sy] = seenAt(value, x, y);
                EXPECT_EQ(pixelOf(picture, sx, sy), stored(x, y)) << "value " << value << " at " << x << "," << y;
            }
        }
    }
}

// An EXIF block: a TIFF header and IFD0 with the given entries of (tag, type, count, value).
Bytes exifBlock(bool little, const std::vector<std::array<std::uint32_t, 4>>& entries) {
    Bytes block;
    const auto u16 = [&](std::uint32_t v) {
        if (little) block.insert(block.end(), {std::uint8_t(v), std::uint8_t(v >> 8)});
        else block.insert(block.end(), {std::uint8_t(v >> 8), std::uint8_t(v)});
    };
    const auto u32 = [&](std::uint32_t v) { little ? (u16(v), u16(v >> 16)) : (u16(v >> 16), u16(v)); };
    const std::uint8_t order = little ? 'I' : 'M';
    block.insert(block.end(), {order, order});
    u16(42);
    u32(8);
    u16(static_cast<std::uint32_t>(entries.size()));
    for (const auto& [tag, type, count, value] : entries) {
        u16(tag), u16(type), u32(count);
        u16(value), u16(0);  // a short sits in the first half of the value field
    }
    u32(0);
    return block;
}

TEST(PictureOrientation, ExifOrientationIsReadFromEitherByteOrderAndDamageMeansUpright) {
    for (const bool little : {true, false}) {
        const Bytes block = exifBlock(little, {{0x010F, 2, 1, 0}, {0x0112, 3, 1, 6}});
        EXPECT_EQ(exifOrientation(block.data(), block.size()), 6) << little;
        // Cut anywhere inside the entry: upright, never a read past the end.
        for (std::size_t size = 0; size < block.size() - 4; ++size) {
            EXPECT_EQ(exifOrientation(block.data(), size), 1) << size;
        }
    }
    const auto orientationOf = [](const Bytes& block) { return exifOrientation(block.data(), block.size()); };
    EXPECT_EQ(orientationOf(exifBlock(true, {{0x0112, 3, 1, 9}})), 1) << "out of range";
    EXPECT_EQ(orientationOf(exifBlock(true, {{0x0112, 4, 1, 6}})), 1) << "not a short";
    EXPECT_EQ(orientationOf(exifBlock(true, {{0x0112, 3, 2, 6}})), 1) << "two values";
    EXPECT_EQ(orientationOf(exifBlock(true, {})), 1) << "no tag";
    Bytes farAway = exifBlock(true, {{0x0112, 3, 1, 8}});
    farAway[4] = 0xF0, farAway[7] = 0xFF;  // IFD0 far past the end
    EXPECT_EQ(orientationOf(farAway), 1);
    Bytes manyEntries = exifBlock(false, {{0x0100, 3, 1, 8}});
    manyEntries[8] = 0xFF, manyEntries[9] = 0xFF;  // 65535 entries claimed
    EXPECT_EQ(orientationOf(manyEntries), 1);
    Bytes notTiff = exifBlock(true, {{0x0112, 3, 1, 3}});
    notTiff[2] = 43;
    EXPECT_EQ(orientationOf(notTiff), 1);
}

}  // namespace
}  // namespace mirado::test
