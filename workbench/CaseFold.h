#pragma once
#include <string_view>

namespace mirado {

// Unicode's simple case folding (one code point to one, through ICU), for every script. Independent of
// the process locale, so a walk gives the same result everywhere.
char32_t foldCase(char32_t c);

// Both compare UTF-8 text code point by code point after folding. A malformed byte stands for itself,
// so two different malformed names never compare equal.
bool equalsIgnoringCase(std::string_view a, std::string_view b);
// <0, 0, >0 like strcmp.
int compareIgnoringCase(std::string_view a, std::string_view b);

}  // namespace mirado
