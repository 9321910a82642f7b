#include "RowConversion.h"

namespace mirado {

void greyToBgr(const std::uint8_t* grey, std::uint8_t* bgr, int width) {
    for (int x = 0; x < width; ++x, bgr += 3) bgr[0] = bgr[1] = bgr[2] = grey[x];
}

void bgraOverWhiteToBgr(const std::uint8_t* bgra, std::uint8_t* bgr, int width) {
    for (int x = 0; x < width; ++x, bgra += 4, bgr += 3) {
        bgr[0] = overWhite(bgra[0], bgra[3]);
        bgr[1] = overWhite(bgra[1], bgra[3]);
        bgr[2] = overWhite(bgra[2], bgra[3]);
    }
}

}  // namespace mirado
