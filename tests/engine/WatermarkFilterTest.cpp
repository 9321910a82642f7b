#include "engine/WatermarkFilter.h"

#include <gtest/gtest.h>

#include <map>

namespace mirado {
namespace {

std::map<std::string, std::string> optionsOf(std::u16string_view text, int position, int colour, int size) {
    const auto list = WatermarkFilter::drawtextOptions(text, std::uint8_t(position), std::uint8_t(colour),
                                                       std::uint8_t(size));
    return {list.begin(), list.end()};
}

TEST(WatermarkFilter, CornersKeepFivePixelMargins) {
    struct Case { int position; const char* x; const char* y; };
    const Case cases[] = {{0, "5", "5"}, {1, "w-tw-5", "5"}, {2, "5", "h-th-5"}, {3, "w-tw-5", "h-th-5"},
                          {7, "w-tw-5", "5"}};
    for (const Case& c : cases) {
        const auto options = optionsOf(u"x", c.position, 0, 0);
        EXPECT_EQ(options.at("x"), c.x) << "position " << c.position;
        EXPECT_EQ(options.at("y"), c.y) << "position " << c.position;
    }
}

TEST(WatermarkFilter, ColoursAndSizes) {
    EXPECT_EQ(optionsOf(u"x", 0, 0, 0).at("fontcolor"), "0xFFFFFF");
    EXPECT_EQ(optionsOf(u"x", 0, 1, 0).at("fontcolor"), "0xFF0000");
    EXPECT_EQ(optionsOf(u"x", 0, 2, 0).at("fontcolor"), "0xFFFF00");
    EXPECT_EQ(optionsOf(u"x", 0, 3, 0).at("fontcolor"), "0x00FF00");
    EXPECT_EQ(optionsOf(u"x", 0, 4, 0).at("fontcolor"), "0x00FFFF");
    EXPECT_EQ(optionsOf(u"x", 0, 9, 0).at("fontcolor"), "0xFFFFFF");
    EXPECT_EQ(optionsOf(u"x", 0, 0, 0).at("fontsize"), "trunc(h/20)");
    EXPECT_EQ(optionsOf(u"x", 0, 0, 1).at("fontsize"), "trunc(h/15)");
    EXPECT_EQ(optionsOf(u"x", 0, 0, 2).at("fontsize"), "trunc(h/10)");
    EXPECT_EQ(optionsOf(u"x", 0, 0, 3).at("fontsize"), "40");
}

TEST(WatermarkFilter, TextIsUtf8AndNeverExpanded) {
    const auto options = optionsOf(u"版权 %{pts} 'a:b'", 0, 0, 0);
    EXPECT_EQ(options.at("text"), "\xE7\x89\x88\xE6\x9D\x83 %{pts} 'a:b'");
    EXPECT_EQ(options.at("expansion"), "none");
    EXPECT_EQ(options.at("font"), "WenQuanYi Micro Hei");
}

}  // namespace
}  // namespace mirado
