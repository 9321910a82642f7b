#pragma once
// One image attribute of a skin: "x.png" or "file='x.png' source='l,t,r,b'
// corner='l,t,r,b' dest='l,t,r,b' fade='0..255' hole='true'".
#include "WinTypes.h"

#include <QString>
#include <optional>

namespace mirado {

struct ImageAttribute {
    QString file;
    std::optional<RECT> source; // part of the picture, in its 1x pixels; whole picture when absent
    RECT corner{};              // nine-slice borders kept unstretched
    std::optional<RECT> dest;   // place inside the control, relative to its top-left corner
    int fade = 255;             // opacity
    bool hole = false;          // leave the middle of a nine-slice out

    // Empty file when the text names no image.
    static ImageAttribute parse(const QString& text);
};

} // namespace mirado
