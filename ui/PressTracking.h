#pragma once
// The hover and press states a button-like control keeps in its UISTATE_* flags:
// entering makes it hot and leaving cold, a press pushes it and captures the mouse,
// the release of that press lets both go. The control decides what the steps mean.
#include "TEventUI.h"

class CControlUI;

namespace mirado {

enum class PressStep {
    NotMine, // not a hover or press event, or the control is disabled: left to its base
    Nothing, // a move or release with no press of this control before it
    Hover,   // UISTATE_HOT set or cleared
    Press,   // UISTATE_PUSHED and UISTATE_CAPTURED set
    Drag,    // the pointer moved while captured
    Release, // UISTATE_PUSHED and UISTATE_CAPTURED cleared
};

struct PressTracking {
    PressStep step = PressStep::NotMine;
    bool inside = false; // whether the pointer is over the control
};

// Updates state (the control's own flags) for event and repaints the control when its
// look changed (hover, press, release).
PressTracking trackPress(CControlUI& control, UINT& state, const TEventUI& event);

} // namespace mirado
