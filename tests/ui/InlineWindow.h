#pragma once
// Windows built from a skin written in the test itself, and reading their pixels.
#include "UiTestHarness.h"

#include <QImage>
#include <memory>

namespace mirado::testing {

// Makes windowXml (a whole <Window> element) and images the current skin, then
// creates and shows a window from it at (x, y) with its layout done. Null on failure.
std::unique_ptr<SkinWindow> showInline(const QString& windowXml, const std::vector<std::pair<QString, QByteArray>>& images = {},
                                       int x = 0, int y = 0);

// The colour (without alpha) at a point given in window coordinates, whatever the
// device pixel ratio.
QRgb rgbAt(const QImage& shot, const CWindowWnd& window, int x, int y);
inline QRgb rgbAt(const QImage& shot, const CWindowWnd& window, QPoint pt) { return rgbAt(shot, window, pt.x(), pt.y()); }

} // namespace mirado::testing
