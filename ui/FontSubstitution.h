#pragma once

namespace mirado {
// Maps the skins' Windows font names to fonts this system has (once per program).
void installFontSubstitutions();
} // namespace mirado
