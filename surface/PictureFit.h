#pragma once
// Where a picture goes in the surface: at its own size and centred when it fits, otherwise
// scaled down to the client's width or height keeping its proportions. Never enlarged.
#include <optional>

namespace mirado {

struct PictureFitRect {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
    friend bool operator==(const PictureFitRect&, const PictureFitRect&) = default;
};

// Nothing while the picture or the client area has no height (nothing can be drawn yet).
std::optional<PictureFitRect> fitPicture(int pictureWidth, int pictureHeight, int clientWidth, int clientHeight);

} // namespace mirado
