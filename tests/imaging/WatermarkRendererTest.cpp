#include <gtest/gtest.h>

#include <QFontMetrics>
#include <QRawFont>
#include <algorithm>
#include <array>
#include <tuple>
#include <vector>

#include "Rgb24Picture.h"
#include "WatermarkRenderer.h"
#include "WatermarkFace.h"

namespace mirado {
namespace {

// A picture with guard rows above its top and below its bottom, to catch stray writes.
struct GuardedPicture {
    static constexpr int guardRows = 64;
    GuardedPicture(int w, int h, std::uint8_t fill) : width(w), height(h), stride(rgb24Stride(w)) {
        memory.assign(static_cast<std::size_t>(stride) * (h + 2 * guardRows), 0xC3);
        for (int y = 0; y < h; ++y) std::fill_n(row(y), 3 * w, fill);
    }
    std::uint8_t* bits() { return memory.data() + static_cast<std::size_t>(stride) * guardRows; }
    std::uint8_t* row(int y) { return bits() + static_cast<std::size_t>(height - 1 - y) * stride; }
    bool guardsIntact() const {
        const std::size_t guardBytes = static_cast<std::size_t>(stride) * guardRows;
        const auto untouched = [](std::uint8_t b) { return b == 0xC3; };
        return std::all_of(memory.begin(), memory.begin() + static_cast<std::ptrdiff_t>(guardBytes), untouched) &&
               std::all_of(memory.end() - static_cast<std::ptrdiff_t>(guardBytes), memory.end(), untouched);
    }
    int width, height, stride;
    std::vector<std::uint8_t> memory;
};

struct Box {
    int left = 1 << 30, top = 1 << 30, right = -1, bottom = -1;
    bool empty() const { return right < 0; }
};

// Bounding box of the pixels that differ from the fill.
Box changedBox(GuardedPicture& picture, std::uint8_t fill) {
    Box box;
    for (int y = 0; y < picture.height; ++y) {
        for (int x = 0; x < picture.width; ++x) {
            const std::uint8_t* p = picture.row(y) + 3 * x;
            if (p[0] == fill && p[1] == fill && p[2] == fill) continue;
            box = {std::min(box.left, x), std::min(box.top, y), std::max(box.right, x), std::max(box.bottom, y)};
        }
    }
    return box;
}

GuardedPicture marked(std::u16string_view text, int position, int colour, int width, int height, int fontSize,
                      std::uint8_t fill = 0) {
    GuardedPicture picture(width, height, fill);
    WatermarkRenderer renderer;
    renderer.prepare(width, height, fontSize);
    renderer.blendInto(text, position, colour, picture.bits(), width, height);
    EXPECT_TRUE(picture.guardsIntact());
    return picture;
}

TEST(WatermarkRenderer, StripHeightFollowsFontSizeIndexAndPictureHeight) {
    WatermarkRenderer renderer;
    EXPECT_EQ(renderer.stripHeight(), 25);
    const std::vector<std::tuple<int, int, int>> cases{{600, 0, 30}, {600, 1, 40}, {600, 2, 60}, {600, 3, 40},
                                                        {37, 3, 40},  {99, 0, 4},   {99, 1, 6},   {59, 2, 5},
                                                        {19, 0, 0},   {600, -1, 40}};
    for (const auto& [height, index, strip] : cases) {
        renderer.prepare(321, height, index);
        EXPECT_EQ(renderer.stripHeight(), strip) << height << " high, index " << index;
        EXPECT_EQ(renderer.stripWidth(), 321);
    }
}

TEST(WatermarkRenderer, TextLineIsFiveLessThanTheStrip) {
    WatermarkRenderer renderer;
    for (const int height : {600, 480, 1080, 201, 2160}) {
        for (const int fontSize : {0, 1, 2, 3}) {
            renderer.prepare(800, height, fontSize);
            const QFontMetricsF metrics(renderer.font());
            EXPECT_NEAR(metrics.ascent() + metrics.descent(), renderer.stripHeight() - 5, 0.7) << height << "/" << fontSize;
            EXPECT_TRUE(renderer.font().styleStrategy() & QFont::PreferAntialias);
        }
    }
    // A 4-pixel strip: the height is negative, read as a character height of 1.
    renderer.prepare(800, 99, 0);
    EXPECT_EQ(renderer.font().pixelSize(), 1);
}

// The video's text is sized and placed from these numbers; they must be the installed face's.
TEST(WatermarkRenderer, TheFacesProportionsAreTheInstalledFaces) {
    WatermarkRenderer renderer;
    renderer.prepare(800, 600, 1);
    QFont font = renderer.font();
    font.setPixelSize(static_cast<int>(watermarkFaceUnitsPerEm));
    const QRawFont face = QRawFont::fromFont(font);
    EXPECT_EQ(face.familyName(), QStringLiteral("WenQuanYi Micro Hei"));
    EXPECT_EQ(face.unitsPerEm(), watermarkFaceUnitsPerEm);
    EXPECT_EQ(face.ascent(), watermarkFaceAscent);
    EXPECT_EQ(face.descent(), watermarkFaceDescent);
}

TEST(WatermarkRenderer, ChineseFaceIsFound) {
    WatermarkRenderer renderer;
    renderer.prepare(800, 600, 1);
    EXPECT_TRUE(QFontMetrics(renderer.font()).inFontUcs4(U'水'));
    // Distinct characters must give distinct shapes, not the same missing-glyph box.
    GuardedPicture water = marked(u"水", 0, 0, 200, 600, 1);
    GuardedPicture seal = marked(u"印", 0, 0, 200, 600, 1);
    EXPECT_FALSE(changedBox(water, 0).empty());
    EXPECT_NE(water.memory, seal.memory);
}

TEST(WatermarkRenderer, PositionsPutTheTextInTheirCornerInsideTheMargins) {
    constexpr int width = 400;
    constexpr int height = 300;  // index 2: a 30-pixel strip
    for (int position = 0; position <= 4; ++position) {
        GuardedPicture picture = marked(u"Hm", position, 0, width, height, 2);
        const Box box = changedBox(picture, 0);
        ASSERT_FALSE(box.empty()) << position;
        const bool bottom = position == 2 || position == 3;
        const bool right = position != 0 && position != 2;
        if (bottom) {
            EXPECT_GE(box.top, height - 30) << position;
        } else {
            EXPECT_LT(box.bottom, 30) << position;
        }
        // Within a glyph's side bearing of the 5-pixel margin.
        if (right) {
            EXPECT_LE(box.right, width - 6) << position;
            EXPECT_GE(box.right, width - 6 - 5) << position;
            EXPECT_GT(box.left, width / 2) << position;
        } else {
            EXPECT_GE(box.left, 5) << position;
            EXPECT_LE(box.left, 5 + 5) << position;
            EXPECT_LT(box.right, width / 2) << position;
        }
    }
}

TEST(WatermarkRenderer, LongTextIsCutAtTheInnerMargins) {
    const std::u16string longText(200, u'W');
    for (const int position : {0, 1}) {
        GuardedPicture picture = marked(longText, position, 0, 120, 600, 1);
        const Box box = changedBox(picture, 0);
        EXPECT_GE(box.left, 5) << position;
        EXPECT_LE(box.right, 120 - 6) << position;
        // The strip is full of text from margin to margin.
        EXPECT_LE(box.left, 7) << position;
        EXPECT_GE(box.right, 120 - 8) << position;
    }
}

TEST(WatermarkRenderer, ColourIndexGivesTheColourOfFullyCoveredPixels) {
    // Large bold strokes contain fully covered pixels, which take the colour exactly.
    const std::vector<std::array<int, 3>> colours{{255, 255, 255}, {255, 0, 0}, {255, 255, 0}, {0, 255, 0},
                                                   {0, 255, 255}, {255, 255, 255}};
    const std::vector<int> indices{0, 1, 2, 3, 4, 9};
    for (std::size_t i = 0; i < indices.size(); ++i) {
        GuardedPicture picture = marked(u"HIH", 0, indices[i], 300, 1000, 2);
        std::array<int, 3> brightest{0, 0, 0};  // red, green, blue
        for (int y = 0; y < 100; ++y) {
            for (int x = 0; x < 300; ++x) {
                const std::uint8_t* p = picture.row(y) + 3 * x;
                for (int c = 0; c < 3; ++c) brightest[c] = std::max(brightest[c], int{p[2 - c]});
            }
        }
        EXPECT_EQ(brightest, colours[i]) << "index " << indices[i];
    }
}

TEST(WatermarkRenderer, BlendUsesCoverageAsAlpha) {
    // White text on black shows each pixel's coverage a directly; on another picture the
    // same pixel must become (colour * a + picture * (255 - a)) / 255.
    const std::u16string_view text = u"Blend 水印";
    GuardedPicture coverage = marked(text, 3, 0, 240, 400, 1, 0);
    GuardedPicture picture(240, 400, 0);
    for (int y = 0; y < 400; ++y) {
        for (int x = 0; x < 240; ++x) {
            std::uint8_t* p = picture.row(y) + 3 * x;
            p[0] = 200, p[1] = 150, p[2] = 100;  // blue, green, red
        }
    }
    WatermarkRenderer renderer;
    renderer.prepare(240, 400, 1);
    renderer.blendInto(text, 3, 4, picture.bits(), 240, 400);  // cyan: red 0, green 255, blue 255
    int partlyCovered = 0;
    for (int y = 0; y < 400; ++y) {
        for (int x = 0; x < 240; ++x) {
            const int a = coverage.row(y)[3 * x];
            const std::uint8_t* p = picture.row(y) + 3 * x;
            if (a == 0) {
                ASSERT_EQ(p[0], 200);
                ASSERT_EQ(p[2], 100);
                continue;
            }
            partlyCovered += a < 255;
            ASSERT_EQ(p[0], (255 * a + 200 * (255 - a)) / 255) << x << "," << y;
            ASSERT_EQ(p[1], (255 * a + 150 * (255 - a)) / 255) << x << "," << y;
            ASSERT_EQ(p[2], (0 * a + 100 * (255 - a)) / 255) << x << "," << y;
        }
    }
    EXPECT_GT(partlyCovered, 0) << "the font is anti-aliased";
}

TEST(WatermarkRenderer, OnlyRowsInsideThePictureAreTouched) {
    // Index 3: a 40-pixel strip on pictures of 20 rows, at the bottom and at the top.
    for (const int position : {0, 3}) {
        GuardedPicture picture = marked(u"Hg水", position, 0, 100, 20, 3);
        EXPECT_TRUE(picture.guardsIntact()) << position;
    }
    // Position 3 on a 20-row picture blends strip rows 20 to 39, below where the text begins.
    GuardedPicture shortPicture = marked(u"H", 3, 0, 100, 20, 3);
    GuardedPicture tall = marked(u"H", 3, 0, 100, 40, 3);
    for (int y = 0; y < 20; ++y) {
        EXPECT_TRUE(std::equal(shortPicture.row(y), shortPicture.row(y) + 300, tall.row(y + 20))) << y;
    }
    // A picture taller than the strip keeps every row outside the strip.
    GuardedPicture wide = marked(u"HHHH", 2, 0, 100, 600, 1, 77);
    EXPECT_GE(changedBox(wide, 77).top, 560);
}

TEST(WatermarkRenderer, SameInputsGiveTheSamePixels) {
    WatermarkRenderer renderer;
    renderer.prepare(200, 300, 2);
    GuardedPicture first(200, 300, 40);
    GuardedPicture second(200, 300, 40);
    renderer.blendInto(u"Redraw", 1, 2, first.bits(), 200, 300);
    renderer.blendInto(u"Other text", 0, 1, second.bits(), 200, 300);
    GuardedPicture third(200, 300, 40);
    renderer.blendInto(u"Redraw", 1, 2, third.bits(), 200, 300);
    EXPECT_EQ(first.memory, third.memory);
    EXPECT_NE(first.memory, second.memory);
}

TEST(WatermarkRenderer, AmpersandIsDrawnAsTyped) {
    // Not a mnemonic marker: a lone "&" shows.
    GuardedPicture picture = marked(u"&", 0, 0, 200, 600, 2);
    EXPECT_FALSE(changedBox(picture, 0).empty());
}

TEST(WatermarkRenderer, ControlCharactersShowAsSpacesAndEveryLineBreakBreaksTheLine) {
    const GuardedPicture spaced = marked(u"Anna 2026 B", 0, 0, 300, 600, 2);
    for (const std::u16string_view text : {u"Anna\t2026\x1b""B", u"Anna\x01""2026\x7f""B", u"Anna\x0b""2026\x1f""B"}) {
        EXPECT_EQ(marked(text, 0, 0, 300, 600, 2).memory, spaced.memory);
    }
    // The strip is one line high: a line break leaves only the first line, never a space and more text.
    const GuardedPicture lines = marked(u"Ag\nAg", 0, 0, 300, 1200, 2);
    EXPECT_EQ(lines.memory, marked(u"Ag", 0, 0, 300, 1200, 2).memory);
    EXPECT_NE(lines.memory, marked(u"Ag Ag", 0, 0, 300, 1200, 2).memory);
    EXPECT_EQ(marked(u"Ag\r\nAg", 0, 0, 300, 1200, 2).memory, lines.memory);
    EXPECT_EQ(marked(u"Ag\rAg", 0, 0, 300, 1200, 2).memory, lines.memory);
}

TEST(WatermarkRenderer, NothingHappensWithoutAStrip) {
    WatermarkRenderer unprepared;
    GuardedPicture picture(50, 50, 9);
    unprepared.blendInto(u"text", 0, 0, picture.bits(), 50, 50);
    EXPECT_TRUE(changedBox(picture, 9).empty());
    // 19 rows with index 0 give a strip height of 0.
    GuardedPicture tiny = marked(u"text", 0, 0, 50, 19, 0, 9);
    EXPECT_TRUE(changedBox(tiny, 9).empty());
    WatermarkRenderer renderer;
    renderer.prepare(50, 600, 1);
    renderer.blendInto(u"text", 0, 0, nullptr, 50, 600);
    renderer.blendInto(u"", 0, 0, picture.bits(), 50, 50);
    EXPECT_TRUE(changedBox(picture, 9).empty());
}

}  // namespace
}  // namespace mirado
