#include "WatermarkText.h"

namespace mirado {

std::u16string watermarkTextAsShown(std::u16string_view text) {
    std::u16string shown;
    shown.reserve(text.size());
    for (std::size_t i = 0; i < text.size() && text[i] != u'\0'; ++i) {
        const char16_t c = text[i];
        if (c == u'\r') {
            if (i + 1 < text.size() && text[i + 1] == u'\n') ++i;
            shown.push_back(u'\n');
        } else if (c == u'\n') {
            shown.push_back(u'\n');
        } else if (c < u' ' || (c >= 0x7F && c <= 0x9F)) {
            shown.push_back(u' ');
        } else {
            shown.push_back(c);
        }
    }
    return shown;
}

}  // namespace mirado
