#pragma once
#include <string_view>

namespace mirado {

enum class PictureFormat { Unknown, Bmp, Jpeg, Png, Tiff, Gif };

// Picture kind by the text after the last "." of the name (the whole name when it has none),
// ignoring case: "bmp"; "jpg", "jpeg"; "png"; "tif", "tiff"; "gif". Anything else is Unknown.
PictureFormat pictureFormatOf(std::u16string_view name);
PictureFormat pictureFormatOf(std::string_view utf8Name);

}  // namespace mirado
