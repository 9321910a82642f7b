#include "PictureFormat.h"

#include <array>

namespace mirado {

namespace {

struct KnownExtension {
    std::string_view text;
    PictureFormat format;
};

constexpr std::array<KnownExtension, 7> knownExtensions{{
    {"bmp", PictureFormat::Bmp},
    {"jpg", PictureFormat::Jpeg},
    {"jpeg", PictureFormat::Jpeg},
    {"png", PictureFormat::Png},
    {"tif", PictureFormat::Tiff},
    {"tiff", PictureFormat::Tiff},
    {"gif", PictureFormat::Gif},
}};

template <typename Char>
PictureFormat formatOfExtension(std::basic_string_view<Char> name) {
    const auto dot = name.rfind(Char('.'));
    const auto extension = dot == std::basic_string_view<Char>::npos ? name : name.substr(dot + 1);
    for (const auto& known : knownExtensions) {
        if (extension.size() != known.text.size()) continue;
        bool same = true;
        for (std::size_t i = 0; i < extension.size() && same; ++i) {
            const char32_t c = static_cast<char32_t>(extension[i]);
            const char32_t lower = c >= U'A' && c <= U'Z' ? c + (U'a' - U'A') : c;
            same = lower == static_cast<char32_t>(known.text[i]);
        }
        if (same) return known.format;
    }
    return PictureFormat::Unknown;
}

}  // namespace

PictureFormat pictureFormatOf(std::u16string_view name) { return formatOfExtension(name); }

PictureFormat pictureFormatOf(std::string_view utf8Name) { return formatOfExtension(utf8Name); }

}  // namespace mirado
