#pragma once
// Reading attribute values of skin files: colours, rectangles, sizes, flags.
#include "WinTypes.h"

#include <QString>
#include <optional>

namespace mirado {

// "0xAARRGGBB", "#AARRGGBB" (any letter case); six digits mean opaque.
std::optional<DWORD> parseColor(const QString& text);
// "l,t,r,b"; missing numbers count as 0.
RECT parseRect(const QString& text);
// "w,h"
SIZE parseSize(const QString& text);
// "true" (any case) or "1"
bool parseBool(const QString& text);
int parseInt(const QString& text, int fallback = 0);
// Whether a list of words (an alignment such as "center vcenter"; spaces, commas or '|' between
// them) holds word, ignoring case. "vcenter" holds no "center".
bool hasWord(const QString& text, QStringView word);

} // namespace mirado
