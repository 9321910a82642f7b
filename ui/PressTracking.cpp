#include "PressTracking.h"

#include "CControlUI.h"

namespace mirado {

PressTracking trackPress(CControlUI& control, UINT& state, const TEventUI& event)
{
    const bool inside = control.GetPos().contains(event.ptMouse);
    if (!control.IsEnabled())
        return {PressStep::NotMine, inside};
    PressStep step = PressStep::Nothing;
    switch (event.Type) {
    case UIEVENT_MOUSEENTER:
        state |= UISTATE_HOT;
        step = PressStep::Hover;
        break;
    case UIEVENT_MOUSELEAVE:
        state &= ~UISTATE_HOT;
        step = PressStep::Hover;
        break;
    case UIEVENT_BUTTONDOWN:
    case UIEVENT_DBLCLICK:
        state |= UISTATE_PUSHED | UISTATE_CAPTURED;
        step = PressStep::Press;
        break;
    case UIEVENT_MOUSEMOVE:
        return {state & UISTATE_CAPTURED ? PressStep::Drag : PressStep::Nothing, inside};
    case UIEVENT_BUTTONUP:
        if (!(state & UISTATE_CAPTURED))
            return {PressStep::Nothing, inside};
        state &= ~(UISTATE_PUSHED | UISTATE_CAPTURED);
        step = PressStep::Release;
        break;
    default:
        return {PressStep::NotMine, inside};
    }
    control.Invalidate();
    return {step, inside};
}

} // namespace mirado
