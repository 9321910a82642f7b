#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "DecodeToRgb24.h"

// The first byte picks the decoder, the rest is the picture data.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    constexpr std::array<std::u16string_view, 5> names{u"f.bmp", u"f.jpg", u"f.png", u"f.tif", u"f.gif"};
    if (size == 0) return 0;
    mirado::Rgb24Picture picture;
    mirado::decodeToRgb24(data + 1, size - 1, names[data[0] % names.size()], picture);
    return 0;
}
