#include "WatermarkText.h"

#include "ContainerFormat.h"

namespace mirado {
namespace {

bool isHigh(char16_t unit) { return unit >= 0xD800 && unit <= 0xDBFF; }
bool isLow(char16_t unit) { return unit >= 0xDC00 && unit <= 0xDFFF; }
bool isControl(char16_t unit) { return unit < 0x20 || (unit >= 0x7F && unit <= 0x9F); }

}  // namespace

std::u16string watermarkTextForRecord(std::u16string_view text) {
    constexpr std::size_t kLimit = format::kWatermarkTextUnits - 1;
    std::u16string out;
    for (std::size_t i = 0; i < text.size() && out.size() < kLimit; ++i) {
        const char16_t unit = text[i];
        if (isHigh(unit) && i + 1 < text.size() && isLow(text[i + 1])) {
            if (out.size() + 2 > kLimit) break;  // the pair does not fit whole
            out.push_back(unit);
            out.push_back(text[++i]);
        } else if (isHigh(unit) && i + 1 == text.size()) {
            break;  // the first half of a pair that an earlier cut (an edit's length limit) split
        } else if (isHigh(unit) || isLow(unit)) {
            out.push_back(u'\uFFFD');
        } else if (unit == u'\r') {
            if (i + 1 < text.size() && text[i + 1] == u'\n') ++i;
            out.push_back(u'\n');
        } else if (unit != u'\n' && isControl(unit)) {
            out.push_back(u' ');
        } else {
            out.push_back(unit);
        }
    }
    return out;
}

}  // namespace mirado
