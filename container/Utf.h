#pragma once
#include <string>
#include <string_view>

namespace mirado {

// UTF-8 <-> UTF-16. Invalid sequences become U+FFFD.
std::u16string toUtf16(std::string_view utf8);
std::string toUtf8(std::u16string_view utf16);

}  // namespace mirado
