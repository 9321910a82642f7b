#include "WatermarkRenderer.h"

#include <QPainter>
#include <QString>
#include <QStringList>
#include <algorithm>

#include "Rgb24Picture.h"
#include "WatermarkStyle.h"
#include "container/WatermarkText.h"

namespace mirado {

namespace {

// Inner margin between the strip's sides and the text.
constexpr int textMargin = 5;

// The font the watermark was designed with, then a CJK face that is installed with the program
// and close in style, so Chinese text always renders.
QFont makeWatermarkFont(int pixelSize) {
    QFont font;
    font.setFamilies(QStringList{QStringLiteral("微软雅黑"), QStringLiteral("WenQuanYi Micro Hei")});
    font.setWeight(QFont::Normal);
    font.setStyleStrategy(QFont::StyleStrategy(QFont::PreferAntialias | QFont::NoSubpixelAntialias));
    font.setPixelSize(pixelSize);
    return font;
}

// Line breaks as the user may have typed them (CR LF, CR, LF) all start a new line; other control
// characters show as spaces, as on video.
QString watermarkLines(std::u16string_view text) {
    const std::u16string shown = watermarkTextForRecord(text);
    return QString::fromUtf16(shown.data(), static_cast<qsizetype>(shown.size()));
}

}  // namespace

void WatermarkRenderer::prepare(int pictureWidth, int pictureHeight, int fontSizeIndex) {
    stripHeight_ = watermarkStripHeight(pictureHeight, fontSizeIndex);
    stripWidth_ = pictureWidth;
    font_ = makeWatermarkFont(watermarkFontPixelSize(stripHeight_));
    strip_ = stripHeight_ > 0 && stripWidth_ > 0 ? QImage(stripWidth_, stripHeight_, QImage::Format_RGB32) : QImage();
}

void WatermarkRenderer::drawText(std::u16string_view text, bool rightAligned) {
    strip_.fill(Qt::black);
    QPainter painter(&strip_);
    painter.setFont(font_);
    painter.setPen(Qt::white);
    // The text starts at the strip's top; what does not fit between the margins is cut off.
    // It is drawn as typed: an "&" is a character, not a mnemonic marker.
    const QRect inside(textMargin, 0, stripWidth_ - 2 * textMargin, stripHeight_);
    painter.setClipRect(inside);
    painter.drawText(inside, Qt::AlignTop | (rightAligned ? Qt::AlignRight : Qt::AlignLeft), watermarkLines(text));
}

void WatermarkRenderer::blendInto(std::u16string_view text, int position, int colour, std::uint8_t* pictureBits,
                                  int pictureWidth, int pictureHeight) {
    if (strip_.isNull() || pictureBits == nullptr || pictureWidth <= 0 || pictureHeight <= 0) return;
    const WatermarkPlacement placement = watermarkPlacementOf(position);
    drawText(text, placement.rightAligned);
    const std::uint32_t value = watermarkColourOf(colour);
    const unsigned tint[3] = {value >> 16 & 0xFF, value >> 8 & 0xFF, value & 0xFF};
    const auto pictureStride = static_cast<std::size_t>(rgb24Stride(pictureWidth));
    const int firstRow = placement.bottomEdge ? pictureHeight - stripHeight_ : 0;
    const int columns = std::min(pictureWidth, stripWidth_);
    for (int i = 0; i < stripHeight_ && firstRow + i < pictureHeight; ++i) {
        const int y = firstRow + i;
        if (y < 0) continue;
        const auto* strip = reinterpret_cast<const QRgb*>(strip_.constScanLine(i));
        std::uint8_t* pixel = pictureBits + static_cast<std::size_t>(pictureHeight - 1 - y) * pictureStride;
        for (int x = 0; x < columns; ++x, pixel += 3) {
            const unsigned b = qBlue(strip[x]);
            const unsigned g = qGreen(strip[x]);
            const unsigned r = qRed(strip[x]);
            // The text is white on black, so brightness is the rasteriser's coverage.
            const unsigned alpha = (11 * b + 59 * g + 30 * r + 50) / 100;
            if (alpha == 0) continue;
            for (int c = 0; c < 3; ++c) pixel[c] = static_cast<std::uint8_t>((tint[c] * alpha + pixel[c] * (255 - alpha)) / 255);
        }
    }
}

}  // namespace mirado
