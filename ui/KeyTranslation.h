#pragma once
#include "WinTypes.h"

namespace mirado {
// The virtual-key code for a Qt key, 0 for keys without one.
WPARAM virtualKeyFor(int qtKey);
} // namespace mirado
