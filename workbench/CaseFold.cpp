#include "CaseFold.h"

#include <cstddef>
#include <cstdint>

#include <unicode/uchar.h>
#include <unicode/utf8.h>

namespace mirado {
namespace {

// Malformed bytes map past the last code point, each to a value of its own.
constexpr char32_t kMalformedBase = 0x110000;

// Decodes the code point at text[i] and moves i past it. A malformed sequence gives up only its
// first byte, so a cut-short sequence never equals its lead byte alone.
char32_t nextCodePoint(std::string_view text, std::size_t& i) {
    const std::size_t start = i;
    UChar32 cp = 0;
    U8_NEXT(text.data(), i, text.size(), cp);
    if (cp < 0) {
        i = start + 1;
        return kMalformedBase + static_cast<unsigned char>(text[start]);
    }
    return char32_t(cp);
}

}  // namespace

char32_t foldCase(char32_t c) {
    if (c < 0x80) return c >= 'A' && c <= 'Z' ? c + 32 : c;
    if (c > 0x10FFFF) return c;
    return char32_t(u_foldCase(UChar32(c), U_FOLD_CASE_DEFAULT));
}

int compareIgnoringCase(std::string_view a, std::string_view b) {
    std::size_t i = 0, j = 0;
    while (i < a.size() && j < b.size()) {
        const auto ca = static_cast<unsigned char>(a[i]);
        const auto cb = static_cast<unsigned char>(b[j]);
        // ASCII needs no decoding; most names are ASCII throughout.
        const char32_t fa = ca < 0x80 ? foldCase(a[i++]) : foldCase(nextCodePoint(a, i));
        const char32_t fb = cb < 0x80 ? foldCase(b[j++]) : foldCase(nextCodePoint(b, j));
        if (fa != fb) return fa < fb ? -1 : 1;
    }
    if (i < a.size()) return 1;
    if (j < b.size()) return -1;
    return 0;
}

bool equalsIgnoringCase(std::string_view a, std::string_view b) { return compareIgnoringCase(a, b) == 0; }

}  // namespace mirado
