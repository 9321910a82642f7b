#pragma once
#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace mirado {

// The watermark of a protected video as libavfilter's drawtext filter, run in mpv's video filter chain.
// Being part of the decoded picture, the text keeps its corner, colour and height relative to the video
// whatever the window does (letterboxing, resizing, full screen), and it survives seeking and pausing.
class WatermarkFilter {
public:
    using Options = std::vector<std::pair<std::string, std::string>>;

    static constexpr std::string_view kFilterName = "lavfi-drawtext";
    static constexpr std::string_view kFontFamily = "WenQuanYi Micro Hei";
    static constexpr int kMargin = 5;

    // The text, laid out as on a picture of the video's size (same text height, same margins):
    // Position 0..3: top left, top right, bottom left, bottom right (any other: top right).
    // Colour 0..4: white, red, yellow, green, cyan (any other: white).
    // Font size 0..2: a strip of a twentieth, a fifteenth, a tenth of the video height (any other: 40
    // pixels) holding one text line of the strip's height less 5 pixels.
    static Options drawtextOptions(std::u16string_view text, std::uint8_t position, std::uint8_t colour,
                                   std::uint8_t fontSize);

    // 0xRRGGBB of a colour index.
    static std::uint32_t colourValue(std::uint8_t colour);
};

}  // namespace mirado
