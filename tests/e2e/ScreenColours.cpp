#include "ScreenColours.h"

#include <QGuiApplication>
#include <QPixmap>
#include <QScreen>
#include <algorithm>

namespace mirado::testing {

int QuarterCounts::mostOutside(Quarter q) const {
    int most = 0;
    for (int i = 0; i < 4; ++i)
        if (i != int(q)) most = std::max(most, at[i]);
    return most;
}

QImage grabScreen(const QRect& area) {
    QScreen* screen = QGuiApplication::primaryScreen();
    return screen->grabWindow(0, area.x(), area.y(), area.width(), area.height())
        .toImage()
        .convertToFormat(QImage::Format_RGB32);
}

QuarterCounts countByQuarter(const QImage& image, bool (*matches)(QRgb)) {
    QuarterCounts counts;
    const int midX = image.width() / 2, midY = image.height() / 2;
    for (int y = 0; y < image.height(); ++y) {
        const auto* row = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            if (!matches(row[x])) continue;
            const Quarter q = y < midY ? (x < midX ? Quarter::TopLeft : Quarter::TopRight)
                                       : (x < midX ? Quarter::BottomLeft : Quarter::BottomRight);
            ++counts.at[int(q)];
        }
    }
    return counts;
}

bool isRed(QRgb pixel) { return qRed(pixel) > 180 && qGreen(pixel) < 90 && qBlue(pixel) < 90; }

bool isCyan(QRgb pixel) { return qRed(pixel) < 90 && qGreen(pixel) > 180 && qBlue(pixel) > 180; }

}  // namespace mirado::testing
