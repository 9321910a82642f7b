#pragma once
// The face the watermark is drawn in, on pictures and on video alike: WenQuanYi Micro Hei, installed
// with the program. Only constants, so the media engine, which draws the video's text with its own
// rasteriser, sizes and places it from the same numbers as the picture renderer.
namespace mirado {

inline constexpr double watermarkFaceUnitsPerEm = 2048;
inline constexpr double watermarkFaceAscent = 1918;   // above the baseline, in font units
inline constexpr double watermarkFaceDescent = 483;  // below the baseline, in font units

}  // namespace mirado
