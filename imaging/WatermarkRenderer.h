#pragma once
#include <cstdint>
#include <string_view>

#include <QFont>
#include <QImage>

namespace mirado {

// Draws a container's watermark text into a picture of bottom-up 24-bit rows (blue, green,
// red; rows padded to a multiple of 4 bytes). The text is rendered white on black with an
// anti-aliased font into a strip one text line high and as wide as the picture; each strip
// pixel's brightness becomes its coverage, with which the watermark colour is laid over the
// picture along its top or bottom edge. Needs a QGuiApplication (any platform, offscreen too).
class WatermarkRenderer {
public:
    // Sizes the strip and the font for a picture: strip height from the font size index and
    // the picture height, strip width the picture width.
    void prepare(int pictureWidth, int pictureHeight, int fontSizeIndex);

    // Blends the text into the picture; the result depends only on the arguments and the last
    // preparation, so blending into a fresh copy of the same picture always gives the same
    // pixels. Does nothing while no strip exists (nothing prepared, or a strip height below 1).
    void blendInto(std::u16string_view text, int position, int colour, std::uint8_t* pictureBits, int pictureWidth,
                   int pictureHeight);

    int stripHeight() const { return stripHeight_; }
    int stripWidth() const { return stripWidth_; }
    const QFont& font() const { return font_; }

private:
    void drawText(std::u16string_view text, bool rightAligned);

    int stripHeight_ = 25;
    int stripWidth_ = 0;
    QFont font_;
    QImage strip_;
};

}  // namespace mirado
