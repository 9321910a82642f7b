#pragma once
#include <cstdint>

// How a container's watermark indices (position, colour, font size) look on a picture.
namespace mirado {

// Strip height L for a picture height: index 0, 1, 2 give a twentieth, a fifteenth, a tenth of
// it (truncated); any other index 40.
int watermarkStripHeight(int pictureHeight, int fontSizeIndex);

// The font's height for a strip: L - 5. Positive, it is the height of a text line (ascent plus
// descent); otherwise its magnitude is the height of the characters themselves.
int watermarkFontHeight(int stripHeight);

// The pixel size (em) of the watermark face for a strip: for a positive font height F, the em whose
// unhinted text line is F high, F * em / (ascent + descent) rounded; otherwise -F; at least 1. The
// video's text is sized by the same formula.
int watermarkFontPixelSize(int stripHeight);

// Colour as 0x00BBGGRR: 0 white, 1 red, 2 yellow, 3 green, 4 cyan; any other index white.
std::uint32_t watermarkColourOf(int colourIndex);

struct WatermarkPlacement {
    bool bottomEdge = false;    // strip along the picture's bottom edge, else its top edge
    bool rightAligned = false;  // text against the strip's right margin, else its left margin
};

// 0 top left, 1 top right, 2 bottom left, 3 bottom right; any other index top right.
WatermarkPlacement watermarkPlacementOf(int positionIndex);

}  // namespace mirado
