#include "WatermarkFilter.h"

#include <QString>
#include <cstdio>

#include "container/WatermarkText.h"
#include "imaging/WatermarkFace.h"

namespace mirado {

namespace {

std::string number(double value) {
    char text[32];
    std::snprintf(text, sizeof text, "%.0f", value);
    return text;
}

// The strip height L of the watermark on a picture of height h.
std::string stripHeight(std::uint8_t fontSize) {
    switch (fontSize) {
        case 0: return "trunc(h/20)";
        case 1: return "trunc(h/15)";
        case 2: return "trunc(h/10)";
        default: return "40";
    }
}

// The font's pixel size for a strip, by the picture renderer's formula (watermarkFontPixelSize).
std::string fontPixelSize(const std::string& strip) {
    const std::string f = "((" + strip + ")-" + std::to_string(WatermarkFilter::kMargin) + ")";
    return "if(gt(" + f + ",0),max(1,round(" + f + "*" + number(watermarkFaceUnitsPerEm) + "/" +
           number(watermarkFaceAscent + watermarkFaceDescent) + ")),max(1,-" + f + "))";
}

}  // namespace

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

    // Laid out as the picture's renderer lays it out: the first line's baseline one font ascent below
    // the top of a strip L high along the top or bottom edge (drawtext puts the baseline at y plus the
    // text's own ascent), the text 5 pixels from the side.
    const std::string strip = stripHeight(fontSize);
    const std::string size = fontPixelSize(strip);
    const std::string baseline =
        "round(" + size + "*" + number(watermarkFaceAscent) + "/" + number(watermarkFaceUnitsPerEm) + ")-ascent";
    const std::string top = bottom ? "h-(" + strip + ")+" + baseline : baseline;

    char colourText[16];
    std::snprintf(colourText, sizeof colourText, "0x%06X", unsigned(colourValue(colour)));

    // Options reach the filter one by one, never through a filter graph's text, so nothing in the text
    // needs escaping; control characters, which crash the filter, never reach it.
    const std::u16string shown = watermarkTextForRecord(text);
    const QString utf16 = QString::fromUtf16(shown.data(), qsizetype(shown.size()));
    return {
        {"text", utf16.toStdString()},
        // Taken literally: no %{...} expansion of what the person who made the container typed.
        {"expansion", "none"},
        {"font", std::string(kFontFamily)},
        {"fontsize", size},
        {"fontcolor", colourText},
        {"x", left ? margin : "w-tw-" + margin},
        {"y", top},
    };
}

}  // namespace mirado
