#include "PictureFit.h"

#include <cmath>

namespace mirado {

std::optional<PictureFitRect> fitPicture(int pictureWidth, int pictureHeight, int clientWidth, int clientHeight)
{
    if (pictureHeight == 0 || clientHeight <= 0)
        return std::nullopt;
    if (pictureHeight <= clientHeight && pictureWidth <= clientWidth)
        return PictureFitRect{(clientWidth - pictureWidth) / 2, (clientHeight - pictureHeight) / 2, pictureWidth, pictureHeight};

    // Single precision, as the drawn sizes have always been computed.
    const float ratio = static_cast<float>(pictureWidth) / static_cast<float>(pictureHeight);
    const float clientRatio = static_cast<float>(clientWidth) / static_cast<float>(clientHeight);
    PictureFitRect fit;
    if (std::fabs(ratio) <= 0.0001f)
        return fit; // a sliver of a picture: nothing sensible to draw
    if (ratio > clientRatio) {
        fit.width = clientWidth;
        fit.height = static_cast<int>(static_cast<float>(clientWidth) / ratio);
        fit.y = (clientHeight - fit.height) / 2;
    } else {
        fit.height = clientHeight;
        fit.width = static_cast<int>(static_cast<float>(clientHeight) * ratio);
        fit.x = (clientWidth - fit.width) / 2;
    }
    return fit;
}

} // namespace mirado
