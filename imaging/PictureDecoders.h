#pragma once
#include <cstdint>
#include <span>

#include "Rgb24Picture.h"

// One decoder per picture kind, each in its own file. Each fills a fresh picture and returns
// false on any fault of the data; then the picture's contents are meaningless.
namespace mirado {

bool decodeBmp(std::span<const std::uint8_t> data, Rgb24Picture& picture);
bool decodeJpeg(std::span<const std::uint8_t> data, Rgb24Picture& picture);
bool decodePng(std::span<const std::uint8_t> data, Rgb24Picture& picture);
bool decodeTiff(std::span<const std::uint8_t> data, Rgb24Picture& picture);
bool decodeGif(std::span<const std::uint8_t> data, Rgb24Picture& picture);

}  // namespace mirado
