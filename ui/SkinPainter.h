#pragma once
// Drawing primitives the controls share: colour fills, borders, skin images with
// nine-slice corners, and text with alignment and ellipsis.
#include "WinTypes.h"

#include <QString>

class QPainter;
class QFont;

namespace mirado {

class ImageCache;

// Text layout flags, combined with |.
inline constexpr UINT DT_LEFT = 0x0000;
inline constexpr UINT DT_CENTER = 0x0001;
inline constexpr UINT DT_RIGHT = 0x0002;
inline constexpr UINT DT_VCENTER = 0x0004;
inline constexpr UINT DT_BOTTOM = 0x0008;
inline constexpr UINT DT_WORDBREAK = 0x0010;
inline constexpr UINT DT_SINGLELINE = 0x0020;
inline constexpr UINT DT_END_ELLIPSIS = 0x8000;

class SkinPainter {
public:
    static void fill(QPainter& p, const RECT& rc, DWORD argb);
    static void border(QPainter& p, const RECT& rc, int width, DWORD argb, SIZE round = {});
    // Draws the image attribute text into rc. False when the text names an image that
    // cannot be loaded (nothing is drawn then); true for an empty text.
    static bool image(QPainter& p, ImageCache& images, const RECT& rc, const QString& attribute);
    static void text(QPainter& p, const RECT& rc, const QString& text, DWORD argb, const QFont& font, UINT style);
};

} // namespace mirado
