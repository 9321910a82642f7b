#pragma once
#include <string>
#include <string_view>

namespace mirado {

// The text after the last "." of the whole path, or the whole path when it has no ".".
std::string_view extensionOf(std::string_view path);
std::u16string_view extensionOf(std::u16string_view path);

// File kinds by extension, ignoring case. Extensions of 64 characters or more match nothing.
bool IsContainerPath(std::string_view path);               // "pmpk"
bool IsImagePath(std::string_view path);                   // "jpg", "jpeg", "bmp", "png", "gif", "tif", "tiff"
bool IsImagePath(std::u16string_view name);

}  // namespace mirado
