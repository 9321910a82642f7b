#pragma once
#include "WinTypes.h"

class QKeyEvent;

namespace mirado {
// The virtual-key code for a Qt key, 0 for keys without one.
WPARAM virtualKeyFor(int qtKey);
// Whether a key press or release comes from the keyboard's auto-repeat. Every key event a window
// gets passes here, in order: a release is remembered to recognise the press that follows it.
bool isAutoRepeat(const QKeyEvent& event);
} // namespace mirado
