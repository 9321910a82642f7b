#pragma once
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string_view>

#include "Rgb24Picture.h"

namespace mirado {

// Decodes a BMP, JPEG, PNG, TIFF or GIF (its first frame) picture, chosen by the extension of
// the path or of the container's source name, into 24-bit rows. Pictures with transparency
// are laid over white; 8-bit grey pictures keep their grey levels; every other layout shows
// its true colours. On false (unknown extension, missing or unreadable file, damaged or
// truncated data, no memory) the picture is left as it was. Nothing is printed.
bool decodeToRgb24(const std::filesystem::path& file, Rgb24Picture& picture);
bool decodeToRgb24(const std::uint8_t* data, std::size_t size, std::u16string_view sourceName, Rgb24Picture& picture);

}  // namespace mirado
