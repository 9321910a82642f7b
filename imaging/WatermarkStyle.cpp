#include "WatermarkStyle.h"

#include <algorithm>
#include <array>
#include <cmath>

#include "WatermarkFace.h"

namespace mirado {

int watermarkStripHeight(int pictureHeight, int fontSizeIndex) {
    constexpr std::array<float, 3> divisors{20.0f, 15.0f, 10.0f};
    if (fontSizeIndex < 0 || fontSizeIndex >= static_cast<int>(divisors.size())) return 40;
    return static_cast<int>(static_cast<float>(pictureHeight) / divisors[static_cast<std::size_t>(fontSizeIndex)]);
}

int watermarkFontHeight(int stripHeight) { return stripHeight - 5; }

int watermarkFontPixelSize(int stripHeight) {
    const int height = watermarkFontHeight(stripHeight);
    if (height <= 0) return std::max(1, -height);
    const double em = std::round(height * watermarkFaceUnitsPerEm / (watermarkFaceAscent + watermarkFaceDescent));
    return std::max(1, static_cast<int>(em));
}

std::uint32_t watermarkColourOf(int colourIndex) {
    constexpr std::array<std::uint32_t, 5> colours{0xFFFFFF, 0x0000FF, 0x00FFFF, 0x00FF00, 0xFFFF00};
    if (colourIndex < 0 || colourIndex >= static_cast<int>(colours.size())) return 0xFFFFFF;
    return colours[static_cast<std::size_t>(colourIndex)];
}

WatermarkPlacement watermarkPlacementOf(int positionIndex) {
    switch (positionIndex) {
        case 0: return {false, false};
        case 2: return {true, false};
        case 3: return {true, true};
        default: return {false, true};
    }
}

}  // namespace mirado
