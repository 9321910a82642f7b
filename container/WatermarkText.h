#pragma once
#include <string>
#include <string_view>

namespace mirado {

// The watermark text as a container stores it. Control characters (C0, DEL, C1) other than line
// breaks become spaces: the video filter that draws the text cannot take them. "\r\n" and a lone "\r"
// become "\n". A lone surrogate becomes U+FFFD, except at the very end, where it is what an earlier
// cut left and is dropped; the text is cut to the record's 63 UTF-16 units without splitting a pair. Every container writer applies it, so the settings window and
// mirado-pack both do; the player applies it again to what a container holds before drawing it on
// video or on a picture, since containers made elsewhere can hold anything.
std::u16string watermarkTextForRecord(std::u16string_view text);

}  // namespace mirado
