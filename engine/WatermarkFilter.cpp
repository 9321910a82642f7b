#include "WatermarkFilter.h"

#include <QString>
#include <cstdio>

namespace mirado {

std::uint32_t WatermarkFilter::colourValue(std::uint8_t colour) {
    switch (colour) {
        case 1: return 0xFF0000;
        case 2: return 0xFFFF00;
        case 3: return 0x00FF00;
        case 4: return 0x00FFFF;
        default: return 0xFFFFFF;
    }
}

WatermarkFilter::Options WatermarkFilter::drawtextOptions(std::u16string_view text, std::uint8_t position,
                                                          std::uint8_t colour, std::uint8_t fontSize) {
    const std::string margin = std::to_string(kMargin);
    const bool left = position == 0 || position == 2;
    const bool bottom = position == 2 || position == 3;

    std::string size;
    switch (fontSize) {
        case 0: size = "trunc(h/20)"; break;
        case 1: size = "trunc(h/15)"; break;
        case 2: size = "trunc(h/10)"; break;
        default: size = "40"; break;
    }
    char colourText[16];
    std::snprintf(colourText, sizeof colourText, "0x%06X", unsigned(colourValue(colour)));

    const QString utf16 = QString::fromUtf16(text.data(), qsizetype(text.size()));
    return {
        {"text", utf16.toStdString()},
        // Taken literally: no %{...} expansion of what the person who made the container typed.
        {"expansion", "none"},
        {"font", std::string(kFontFamily)},
        {"fontsize", size},
        {"fontcolor", colourText},
        {"x", left ? margin : "w-tw-" + margin},
        {"y", bottom ? "h-th-" + margin : margin},
    };
}

}  // namespace mirado
