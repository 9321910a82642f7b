#include "PasswordRule.h"

namespace mirado {

bool isValidPassword(std::u16string_view text) {
    if (text.size() < std::size_t(kPasswordMinLength)) return false;
    for (char16_t unit : text) {
        const bool digit = unit >= u'0' && unit <= u'9';
        const bool lower = unit >= u'a' && unit <= u'z';
        const bool upper = unit >= u'A' && unit <= u'Z';
        if (!digit && !lower && !upper) return false;
    }
    return true;
}

}  // namespace mirado
