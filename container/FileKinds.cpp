#include "FileKinds.h"

#include <array>

namespace mirado {
namespace {

constexpr std::size_t kLongestExtension = 63;

template <typename Char>
std::basic_string_view<Char> extensionIn(std::basic_string_view<Char> path) {
    const auto dot = path.rfind(Char('.'));
    return dot == std::basic_string_view<Char>::npos ? path : path.substr(dot + 1);
}

template <typename Char>
bool equalsIgnoringAsciiCase(std::basic_string_view<Char> text, std::string_view lower) {
    if (text.size() != lower.size()) return false;
    for (std::size_t i = 0; i < text.size(); ++i) {
        Char c = text[i];
        if (c >= Char('A') && c <= Char('Z')) c = Char(c - 'A' + 'a');
        if (c != Char(lower[i])) return false;
    }
    return true;
}

template <typename Char>
bool isImageExtension(std::basic_string_view<Char> path) {
    static constexpr std::array<std::string_view, 7> kImages{"jpg", "jpeg", "bmp", "png", "gif", "tif", "tiff"};
    const auto extension = extensionIn(path);
    if (extension.size() > kLongestExtension) return false;
    for (auto image : kImages) {
        if (equalsIgnoringAsciiCase(extension, image)) return true;
    }
    return false;
}

}  // namespace

std::string_view extensionOf(std::string_view path) { return extensionIn(path); }
std::u16string_view extensionOf(std::u16string_view path) { return extensionIn(path); }

bool IsContainerPath(std::string_view path) { return equalsIgnoringAsciiCase(extensionIn(path), "pmpk"); }
bool IsImagePath(std::string_view path) { return isImageExtension(path); }
bool IsImagePath(std::u16string_view name) { return isImageExtension(name); }

}  // namespace mirado
