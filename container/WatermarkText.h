#pragma once
#include <string>
#include <string_view>

namespace mirado {

// A container's watermark text as the player draws it, on video and on pictures alike. A container
// made elsewhere can hold anything, and a drawing filter may misbehave on control characters, so:
// the text ends at its first zero; line breaks (CR LF, CR, LF) become LF; every other control
// character (U+0001..U+001F, U+007F..U+009F) becomes a space.
std::u16string watermarkTextAsShown(std::u16string_view text);

}  // namespace mirado
