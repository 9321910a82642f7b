#pragma once
// What the X server shows (the engine draws video with OpenGL, so the screen is read, not the widgets),
// and in which quarter of a picture the pixels of a colour lie.
#include <QImage>
#include <QRect>
#include <QRgb>
#include <QString>

namespace mirado::testing {

enum class Quarter { TopLeft, TopRight, BottomLeft, BottomRight };

struct QuarterCounts {
    int at[4] = {0, 0, 0, 0};
    int in(Quarter q) const { return at[int(q)]; }
    // The most found in any quarter but `q`.
    int mostOutside(Quarter q) const;
};

// The screen's pixels in `area` (global coordinates).
QImage grabScreen(const QRect& area);
QuarterCounts countByQuarter(const QImage& image, bool (*matches)(QRgb));

// The watermark colours on a grey picture, with room for the edges the text's smoothing blends.
bool isRed(QRgb pixel);
bool isCyan(QRgb pixel);

}  // namespace mirado::testing
