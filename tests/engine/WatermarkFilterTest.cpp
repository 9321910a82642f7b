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

TEST(WatermarkFilter, TextSitsFivePixelsFromTheSideAndInTheChosenStrip) {
    struct Case { int position; const char* x; bool bottom; };
    const Case cases[] = {{0, "5", false}, {1, "w-tw-5", false}, {2, "5", true}, {3, "w-tw-5", true}, {7, "w-tw-5", false}};
    for (const Case& c : cases) {
        const auto options = optionsOf(u"x", c.position, 0, 0);
        EXPECT_EQ(options.at("x"), c.x) << "position " << c.position;
        EXPECT_EQ(options.at("y").rfind("h-(trunc(h/20))+", 0) == 0, c.bottom) << options.at("y");
    }
}

TEST(WatermarkFilter, ColoursAndStripHeights) {
    EXPECT_EQ(optionsOf(u"x", 0, 0, 0).at("fontcolor"), "0xFFFFFF");
    EXPECT_EQ(optionsOf(u"x", 0, 1, 0).at("fontcolor"), "0xFF0000");
    EXPECT_EQ(optionsOf(u"x", 0, 2, 0).at("fontcolor"), "0xFFFF00");
    EXPECT_EQ(optionsOf(u"x", 0, 3, 0).at("fontcolor"), "0x00FF00");
    EXPECT_EQ(optionsOf(u"x", 0, 4, 0).at("fontcolor"), "0x00FFFF");
    EXPECT_EQ(optionsOf(u"x", 0, 9, 0).at("fontcolor"), "0xFFFFFF");
    EXPECT_NE(optionsOf(u"x", 0, 0, 0).at("fontsize").find("trunc(h/20)"), std::string::npos);
    EXPECT_NE(optionsOf(u"x", 0, 0, 1).at("fontsize").find("trunc(h/15)"), std::string::npos);
    EXPECT_NE(optionsOf(u"x", 0, 0, 2).at("fontsize").find("trunc(h/10)"), std::string::npos);
    EXPECT_EQ(optionsOf(u"x", 0, 0, 3).at("fontsize").find("h"), std::string::npos) << "a fixed strip of 40";
}

TEST(WatermarkFilter, TextIsUtf8NeverExpandedAndFreeOfControlCharacters) {
    const auto options = optionsOf(u"版权 %{pts} 'a:b' \\n", 0, 0, 0);
    EXPECT_EQ(options.at("text"), "\xE7\x89\x88\xE6\x9D\x83 %{pts} 'a:b' \\n");
    EXPECT_EQ(options.at("expansion"), "none");
    EXPECT_EQ(options.at("font"), "WenQuanYi Micro Hei");
    EXPECT_EQ(optionsOf(u"Anna\t2026\x1b\r\nB\x7f", 0, 0, 0).at("text"), "Anna 2026 \nB ");
}

}  // namespace
}  // namespace mirado
