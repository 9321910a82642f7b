#pragma once
#include <array>
#include <string_view>

namespace mirado {

// What a folder job enciphers: lower case, without the dot. "gif" is deliberately absent.
inline constexpr std::array<std::string_view, 14> MediaExtensions{
    "avi", "rmvb", "rm", "wmv", "mkv", "mp4", "3gp", "ram", "asf", "flv", "bmp", "jpeg", "jpg", "png"};

}  // namespace mirado
