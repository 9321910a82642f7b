#pragma once
#include "WinTypes.h"

class QKeyEvent;

namespace mirado {
// The virtual-key code for a Qt key, 0 for keys without one.
WPARAM virtualKeyFor(int qtKey);
// Remembers a key release, to recognise the press that may follow it as the keyboard's auto-repeat.
void noteKeyRelease(const QKeyEvent& release);
// Whether a key press comes from the keyboard's auto-repeat; every press and release a window gets
// passes through here or noteKeyRelease, in order.
bool isAutoRepeat(const QKeyEvent& press);
} // namespace mirado
