#include "CaseFold.h"

#include <array>
#include <cstddef>
#include <cstdint>

namespace mirado {
namespace {

// A run of code points folded one way: by a fixed offset, or as upper/lower pairs where the upper
// letter stands at the even (or odd) position and its lower letter right after it.
struct FoldRange {
    char32_t first;
    char32_t last;
    enum Kind : std::uint8_t { Offset, EvenPairs, OddPairs } kind;
    std::int32_t offset;
};

// Ordered by `first`; taken from the simple case folding of the Unicode character database.
constexpr std::array<FoldRange, 40> kRanges{{
    {0x00B5, 0x00B5, FoldRange::Offset, 0x03BC - 0x00B5},
    {0x00C0, 0x00D6, FoldRange::Offset, 32},
    {0x00D8, 0x00DE, FoldRange::Offset, 32},
    {0x0100, 0x012F, FoldRange::EvenPairs, 0},
    {0x0132, 0x0137, FoldRange::EvenPairs, 0},
    {0x0139, 0x0148, FoldRange::OddPairs, 0},
    {0x014A, 0x0177, FoldRange::EvenPairs, 0},
    {0x0178, 0x0178, FoldRange::Offset, 0x00FF - 0x0178},
    {0x0179, 0x017E, FoldRange::OddPairs, 0},
    {0x017F, 0x017F, FoldRange::Offset, 's' - 0x017F},
    {0x01CD, 0x01DC, FoldRange::OddPairs, 0},
    {0x01DE, 0x01EF, FoldRange::EvenPairs, 0},
    {0x01F8, 0x021F, FoldRange::EvenPairs, 0},
    {0x0222, 0x0233, FoldRange::EvenPairs, 0},
    {0x0246, 0x024F, FoldRange::EvenPairs, 0},
    {0x0386, 0x0386, FoldRange::Offset, 0x03AC - 0x0386},
    {0x0388, 0x038A, FoldRange::Offset, 37},
    {0x038C, 0x038C, FoldRange::Offset, 0x03CC - 0x038C},
    {0x038E, 0x038F, FoldRange::Offset, 63},
    {0x0391, 0x03A1, FoldRange::Offset, 32},
    {0x03A3, 0x03AB, FoldRange::Offset, 32},
    {0x03C2, 0x03C2, FoldRange::Offset, 1},
    {0x03D8, 0x03EF, FoldRange::EvenPairs, 0},
    {0x0400, 0x040F, FoldRange::Offset, 80},
    {0x0410, 0x042F, FoldRange::Offset, 32},
    {0x0460, 0x0481, FoldRange::EvenPairs, 0},
    {0x048A, 0x04BF, FoldRange::EvenPairs, 0},
    {0x04C0, 0x04C0, FoldRange::Offset, 15},
    {0x04C1, 0x04CE, FoldRange::OddPairs, 0},
    {0x04D0, 0x052F, FoldRange::EvenPairs, 0},
    {0x0531, 0x0556, FoldRange::Offset, 48},
    {0x1E00, 0x1E95, FoldRange::EvenPairs, 0},
    {0x1E9E, 0x1E9E, FoldRange::Offset, 0x00DF - 0x1E9E},
    {0x1EA0, 0x1EFF, FoldRange::EvenPairs, 0},
    {0x2126, 0x2126, FoldRange::Offset, 0x03C9 - 0x2126},
    {0x212A, 0x212A, FoldRange::Offset, 'k' - 0x212A},
    {0x212B, 0x212B, FoldRange::Offset, 0x00E5 - 0x212B},
    {0x2160, 0x216F, FoldRange::Offset, 16},
    {0x24B6, 0x24CF, FoldRange::Offset, 26},
    {0xFF21, 0xFF3A, FoldRange::Offset, 32},
}};

// Malformed bytes map past the last code point, each to a value of its own.
constexpr char32_t kMalformedBase = 0x110000;

// Decodes the code point at text[i] and moves i past it.
char32_t nextCodePoint(std::string_view text, std::size_t& i) {
    const auto byteAt = [&](std::size_t at) { return static_cast<unsigned char>(text[at]); };
    const unsigned char lead = byteAt(i);
    if (lead < 0x80) {
        ++i;
        return lead;
    }
    std::size_t extra = 0;
    char32_t cp = 0, minimum = 0;
    if ((lead & 0xE0) == 0xC0) { extra = 1; cp = lead & 0x1F; minimum = 0x80; }
    else if ((lead & 0xF0) == 0xE0) { extra = 2; cp = lead & 0x0F; minimum = 0x800; }
    else if ((lead & 0xF8) == 0xF0) { extra = 3; cp = lead & 0x07; minimum = 0x10000; }
    bool wellFormed = extra > 0 && text.size() - i > extra;
    for (std::size_t k = 1; wellFormed && k <= extra; ++k) {
        wellFormed = (byteAt(i + k) & 0xC0) == 0x80;
        cp = (cp << 6) | (byteAt(i + k) & 0x3F);
    }
    if (!wellFormed || cp < minimum || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) {
        ++i;
        return kMalformedBase + lead;
    }
    i += extra + 1;
    return cp;
}

}  // namespace

char32_t foldCase(char32_t c) {
    if (c < 0x80) return c >= 'A' && c <= 'Z' ? c + 32 : c;
    // The table is short; a linear scan that stops at the first range beyond c is plenty.
    for (const FoldRange& range : kRanges) {
        if (c < range.first) break;
        if (c > range.last) continue;
        switch (range.kind) {
            case FoldRange::Offset: return char32_t(std::int32_t(c) + range.offset);
            case FoldRange::EvenPairs: return c % 2 == 0 ? c + 1 : c;
            case FoldRange::OddPairs: return c % 2 == 1 ? c + 1 : c;
        }
    }
    return c;
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
