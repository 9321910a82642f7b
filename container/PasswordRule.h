#pragma once
#include <string_view>

namespace mirado {

inline constexpr int kPasswordMinLength = 6;
inline constexpr int kPasswordMaxLength = 16;  // what every password field accepts

// At least 6 units, each an ASCII letter or digit. The fields cap the length at 16.
bool isValidPassword(std::u16string_view text);

// The message a user sees when a password breaks the rule.
inline constexpr std::u16string_view kPasswordRuleMessage = u"密码只能由数字和字母组成,长度6至16位";
inline constexpr std::u16string_view kPasswordEmptyMessage = u"请输入密码";

}  // namespace mirado
