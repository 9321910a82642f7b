#pragma once
#include <cstdint>

namespace mirado {

// A colour channel with alpha laid over white, in integer arithmetic.
constexpr std::uint8_t overWhite(unsigned channel, unsigned alpha) {
    return static_cast<std::uint8_t>((channel * alpha + 255u * (255u - alpha)) / 255u);
}

// One row of width pixels into a 24-bit blue-green-red row.
void greyToBgr(const std::uint8_t* grey, std::uint8_t* bgr, int width);
void bgraOverWhiteToBgr(const std::uint8_t* bgra, std::uint8_t* bgr, int width);

}  // namespace mirado
