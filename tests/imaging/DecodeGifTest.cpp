#include <gtest/gtest.h>

#include "DecodeToRgb24.h"
#include "TestPictures.h"

namespace mirado::test {
namespace {

Rgb24Picture decodeGifBytes(const Bytes& bytes) {
    Rgb24Picture picture;
    EXPECT_TRUE(decodeToRgb24(bytes.data(), bytes.size(), u"anim.gif", picture));
    return picture;
}

const std::vector<Rgb> palette{{255, 0, 0}, {0, 255, 0}, {0, 0, 255}, {255, 255, 0}};

GifFrame blockFrame(int width, int height) {
    GifFrame frame{0, 0, width, height, {}, {}, -1, false};
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) frame.indices.push_back(static_cast<std::uint8_t>((y >= height / 2 ? 2 : 0) + (x >= width / 2 ? 1 : 0)));
    }
    return frame;
}

TEST(DecodeGif, FirstFrameShowsItsPaletteColours) {
    for (const bool interlaced : {false, true}) {
        GifFrame frame = blockFrame(13, 19);
        frame.interlaced = interlaced;
        const Rgb24Picture picture = decodeGifBytes(gifOf(13, 19, palette, {frame}));
        ASSERT_EQ(picture.width, 13);
        ASSERT_EQ(picture.height, 19);
        EXPECT_EQ(largestDifference(picture, [](int x, int y) { return colourBlock(x, y, 13, 19); }), 0)
            << "interlaced " << interlaced;
    }
}

TEST(DecodeGif, LaterFramesAreIgnored) {
    GifFrame second = blockFrame(8, 8);
    std::fill(second.indices.begin(), second.indices.end(), 3);
    const Rgb24Picture picture = decodeGifBytes(gifOf(8, 8, palette, {blockFrame(8, 8), second}));
    EXPECT_EQ(largestDifference(picture, [](int x, int y) { return colourBlock(x, y, 8, 8); }), 0);
}

TEST(DecodeGif, TransparencyAndUncoveredCanvasShowWhite) {
    // A 2 x 2 frame at (1, 1) on a 4 x 3 canvas, with its own colours; index 1 is transparent.
    GifFrame frame{1, 1, 2, 2, {0, 1, 1, 0}, {{10, 20, 30}, {0, 0, 0}}, 1, false};
    const Rgb24Picture picture = decodeGifBytes(gifOf(4, 3, palette, {frame}));
    ASSERT_EQ(picture.width, 4);
    ASSERT_EQ(picture.height, 3);
    const Rgb white{255, 255, 255};
    const Rgb local{10, 20, 30};
    EXPECT_EQ(largestDifference(picture, [&](int x, int y) {
                  if (x == 1 && y == 1) return local;
                  if (x == 2 && y == 2) return local;
                  return white;
              }),
              0);
}

}  // namespace
}  // namespace mirado::test
